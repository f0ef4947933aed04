// SPDX-License-Identifier: MIT
#pragma once

#include "protocol/ExportColumns.h"
#include "protocol/HtmlTable.h"
#include "protocol/MeterFamily.h"
#include "protocol/RecordCells.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

// A meter's measurement files as a download without a window holds them:
// each slot shows the texts the window's list would show for it, starting
// from the same "  ---", and knows whether it was read, is empty, failed or
// was not asked for.
class DownloadedFiles
{
public:
    enum class State { NotAsked, Read, Empty, Failed };

    DownloadedFiles(MeterFamily family, int fileCount, const QLocale &locale);

    int fileCount() const { return int(m_slots.size()); }
    const FamilyColumns &columns() const { return m_columns; }
    const QLocale &locale() const { return m_locale; }

    // A decoded record: its cells fill the slot; an empty slot is marked so;
    // a record without its end mark fails with "Error downloading the file".
    void setRecord(int slot, const RecordCells &record);
    void setFailed(int slot, const QString &reason);

    State state(int slot) const;
    QString failure(int slot) const; // empty unless Failed
    // The export cells of the slot, as the window's export writes them.
    QStringList exportCells(int slot) const;

    // The window's HTML export with every slot ticked that the window would
    // let the user tick: every slot asked for that is not empty.
    QList<ExportRow> exportRows() const;

private:
    struct Slot
    {
        State state = State::NotAsked;
        QString failure;
        QStringList labels;
    };

    FamilyColumns m_columns;
    QLocale m_locale;
    QList<Slot> m_slots;
};
