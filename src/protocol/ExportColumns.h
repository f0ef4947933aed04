// SPDX-License-Identifier: MIT
#pragma once

#include <QLocale>
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
// (name, Ch1, Ch2, temperature, Ch1 at 20, Ch2 at 20, conductor). All eight
// cells when the temperature label reads as a number, else the first four.
// The temperature label was written by this program in the user's locale, so
// it is read with that same locale (pass the locale the record was decoded
// with): "25,3" is a number under a comma locale, "  ---" never is.
QStringList windingExportCells(const QStringList &fileNoAndSevenLabels, const QLocale &locale);

// A cable row from its file number and six labels in screen order (name, date
// and time, resistance, size, current, conductor), reordered to the file's
// columns, where the conductor stands before the current. A missing label
// gives an empty cell.
QStringList cableExportCells(const QStringList &fileNoAndSixScreenLabels);
