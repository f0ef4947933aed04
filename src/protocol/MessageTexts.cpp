// SPDX-License-Identifier: MIT
#include "protocol/MessageTexts.h"

namespace MessageTexts {

QString meterNotCommunicating()
{
    return QStringLiteral("    Warning: Meter is not Communicating.    Please verify that it is connected to the PC "
                          "and \"Send Files to PC\" mode is selected");
}

QString connectedTo()
{
    return QStringLiteral("PC successfully connected to ");
}

QString supportAddress()
{
    return QStringLiteral("help@kestrix.invalid");
}

QString fatalErrorTitle()
{
    return QStringLiteral("Fatal Error");
}

QString errorTitle()
{
    return QStringLiteral("Error");
}

QString windingMeterNotAnswering()
{
    return QStringLiteral("Error Communication with Winding Resistance Meter");
}

QString cableMeterNotAnswering()
{
    return QStringLiteral("Error Communication with Cable Resistance Meter");
}

QString downloadFailed()
{
    return QStringLiteral("Error downloading the file");
}

QString communicationError()
{
    return QStringLiteral("Communication Error");
}

QString meterLost()
{
    return QStringLiteral("The meter is no longer connected. The files read so far are listed.");
}

QString filesDownloaded()
{
    return QStringLiteral("File(s) downloaded successfully");
}

} // namespace MessageTexts
