// SPDX-License-Identifier: MIT
#include "ui/CableMeterWindow.h"
#include "protocol/MessageTexts.h"

#include "protocol/ExportColumns.h"

FileListWindowDesign cableWindowDesign()
{
    FileListWindowDesign design;
    design.windowName = "frmCABLE_RM";
    design.family = MeterFamily::Cable;
    design.view.caption = QStringLiteral("Resistance Measurement Files");
    design.view.width = 13785;
    design.view.viewport = QRect(120, 1020, 13335, 6300);
    design.view.checkColumn = {QStringLiteral("checkFileNo"), {0, 6720}, 735};
    design.view.labelColumns = {
        {QStringLiteral("lblFileName"), {720, 7440}, 735},    {QStringLiteral("lblDateTime"), {1560, 8280}, 1455},
        {QStringLiteral("lblResistance"), {3240, 9960}, 855}, {QStringLiteral("lblSize"), {4200, 10920}, 495},
        {QStringLiteral("lblCurrent"), {4920, 11640}, 495},   {QStringLiteral("lblConductor"), {5640, 12360}, 735},
    };
    setListHeadings(design.view, {
                                     {QStringLiteral("File No."), {120, 6840}, 675},
                                     {QStringLiteral("File Name"), {840, 7560}, 795},
                                     {QStringLiteral("File Date & Time"), {1680, 8400}, 1515},
                                     {QStringLiteral("Resistance (Ohm)"), {3240, 9960}, 960},
                                     {QStringLiteral("Size (sq.mm)"), {4245, 10965}, 645},
                                     {QStringLiteral("Current (A)"), {4935, 11655}, 645},
                                     {QStringLiteral("Conductor"), {5625, 12345}, 885},
                                 });
    setExportColumns(design.view, cableColumns());
    return design;
}
