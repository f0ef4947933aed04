// SPDX-License-Identifier: MIT
#pragma once

#include <QDate>
#include <QString>

// What a save dialog writes. Each kind keeps its own last folder between runs.
enum class SaveKind {
    MeasurementTable, // the HTML export of ticked files
    HeatRunFile,      // a heat-run-test file, as CSV
};

struct SaveFileType
{
    SaveKind kind;
    QString filter; // the dialog's one file-type entry
    QString suffix; // added to a name typed without one

    static SaveFileType htmlTable();
    static SaveFileType csvFile();
    // The measurement export for spreadsheets; opens where the HTML export does.
    static SaveFileType csvTable();
    // The same as an Excel workbook.
    static SaveFileType workbook();
};

// Where the save dialogs open and what name they propose.
namespace SaveLocation {

// The last folder a file of this kind was written to, while it is still a
// folder; else the user's Documents folder; else the home folder. Never the
// program's own folder, where a user cannot write.
QString startFolder(SaveKind kind);

// Remembers, in the user's settings, the folder of a file just written.
void remember(SaveKind kind, const QString &writtenPath);

// The settings key of a kind's last folder.
QString settingsKey(SaveKind kind);

// `text` as part of a file name that every desktop system accepts: no
// brackets, none of < > : " / \ | ? *, no control characters, blanks
// collapsed, no leading or trailing dot, at most 64 characters.
QString fileNamePart(const QString &text);

// "KX-C1 2026-12-09.html": the meter model and the day, ISO-dated so that
// names sort by day whatever the locale.
QString proposedFileName(const QString &meterModel, const QDate &day, const QString &suffix);

} // namespace SaveLocation
