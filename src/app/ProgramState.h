// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QtGlobal>

// The meter family, as the identification reply tells it.
enum class MeterKind : qint16 {
    Winding = 0, // frmWRM_Temperature
    Contact = 1, // frmCRM
    Ratio = 2,   // frmTRM
    Cable = 3,   // frmCABLE_RM
};

// Program-wide state: written once by the detection window when a meter has
// answered, before any meter window loads; only read afterwards.
struct ProgramState
{
    QString MeterModel;                     // the whole identification reply
    MeterKind MeterFamily = MeterKind::Winding;
    qint16 MeterPort = 0;                   // COM number, 1 to 32

    // Every meter window's title.
    QString windowTitle() const { return MeterModel + QStringLiteral(" Meter Communication Software"); }
};
