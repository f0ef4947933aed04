// SPDX-License-Identifier: MIT
#include "ui/MessageTexts.h"

namespace MessageTexts {

QString meterNotCommunicating()
{
    return QStringLiteral("    Warning: Meter is not Communicating.    Please verify that it is connected to the PC "
                          "and \"Send Files to PC\" mode is selected");
}

QString supportAddress()
{
    return QStringLiteral("help@kestrix.invalid");
}

} // namespace MessageTexts
