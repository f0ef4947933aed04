// SPDX-License-Identifier: MIT
#pragma once

#include "protocol/DataColumns.h"

#include <QStringList>

// The column sets of the three measurement exports. Headings carry the blank
// on either side that the table cells show.

// " File No. ", " Filename ", " Ch1 (Ohm) ", ... " Conductor " (eight).
QStringList windingHeadings();
// " File No. ", " File Date & Time ", " Resistance (Ohm) ", " Current (A) ".
QStringList contactHeadings();
// " File No. ", " File Name ", " Date & Time ", " Resistance (Ohm) ",
// " Cable Size (sq. mm) ", " Conductor ", " Current (A) ".
QStringList cableHeadings();

// A winding row from its file number and its seven labels in screen order
// (name, Ch1, Ch2, temperature, Ch1 at 20, Ch2 at 20, conductor): all eight
// cells when the record gave a temperature, else the first four.
QStringList windingExportCells(const QStringList &fileNoAndSevenLabels, bool temperatureRead);

// A cable row from its file number and six labels in screen order (name, date
// and time, resistance, size, current, conductor), reordered to the file's
// columns, where the conductor stands before the current. A missing label
// gives an empty cell.
QStringList cableExportCells(const QStringList &fileNoAndSixScreenLabels);

// One family's measurement list as its exports see it.
struct FamilyColumns
{
    QStringList headings; // the export's headings
    int labelColumns = 0; // cells a slot shows besides its file number
    // A label column that the list's second slot shows blank, not as "  ---",
    // until a record fills it (the winding meter's file name); -1 for none.
    int blankSecondSlotColumn = -1;
    // The export cells of a slot from its file number and labels in screen
    // order; `filled` tells which label columns a record wrote.
    QStringList (*exportCells)(const QStringList &fileNoAndLabels, const QList<bool> &filled) = nullptr;
    // The columns for spreadsheets and scripts, after "File No.".
    QList<DataColumn> dataColumns;
};
FamilyColumns windingColumns();
FamilyColumns contactColumns(); // contact and ratio meters
FamilyColumns cableColumns();
