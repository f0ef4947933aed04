// SPDX-License-Identifier: MIT
#include "ui/ContactMeterWindow.h"
#include "protocol/MessageTexts.h"

#include "protocol/ExportColumns.h"

FileListWindowDesign contactWindowDesign(MeterFamily kind)
{
    const bool ratio = kind == MeterFamily::Ratio;
    FileListWindowDesign design;
    design.windowName = ratio ? "frmTRM" : "frmCRM";
    design.family = ratio ? MeterFamily::Ratio : MeterFamily::Contact;
    design.view.caption = ratio ? QStringLiteral("Ratio Meter Files") : QStringLiteral("Resistance Measurement Files");
    design.view.width = 8625;
    design.view.viewport = QRect(120, 900, 8175, 6300);
    design.view.checkColumn = {QStringLiteral("checkFileNo"), {0, 4200}, 735};
    design.view.labelColumns = {
        {QStringLiteral("lblFileName"), {720, 4920}, 1455},
        {QStringLiteral("lblResistance"), {2400, 6600}, 855},
        {QStringLiteral("lblCurrent"), {3360, 7440}, 495},
    };
    setListHeadings(design.view, {
                                     {QStringLiteral("File No."), {120, 4320}, 675},
                                     {QStringLiteral("File Date & Time"), {840, 5040}, 1515},
                                     {QStringLiteral("Resistance (Ohm)"), {2400, 6600}, 960},
                                     {QStringLiteral("Current (A)"), {3405, 7605}, 645},
                                 });
    setExportColumns(design.view, contactColumns());
    return design;
}
