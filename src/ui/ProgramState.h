// SPDX-License-Identifier: MIT
#pragma once

#include "protocol/MeterFamily.h"

#include <QString>
#include <QtGlobal>

// Program-wide state: written once by the detection window when a meter has
// answered, before any meter window loads; only read afterwards.
struct ProgramState
{
    QString model; // the whole identification reply
    MeterFamily family = MeterFamily::Winding;
    qint16 port = 0; // COM number, 1 to 32

    // Every meter window's title.
    QString windowTitle() const { return model + QStringLiteral(" Meter Communication Software"); }
};
