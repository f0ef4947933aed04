// SPDX-License-Identifier: MIT
#pragma once

#include "protocol/ExportColumns.h"
#include "protocol/HtmlTable.h"
#include "protocol/RecordCells.h"
#include "protocol/RecordFormat.h"

#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

// A meter's measurement files as the program holds them while and after they
// are read: each slot keeps the texts its row of the list shows, starting from
// "  ---", and knows whether it was read, is empty, failed or was not asked
// for. The window's list and export and the command line's tables are all
// made from it.
class MeterFiles
{
public:
    enum class State { NotAsked, Read, Empty, Failed };

    MeterFiles(const FamilyColumns &columns, int fileCount, const QLocale &locale);

    // Every slot back to "not asked", for a meter that has `fileCount` files.
    void reset(int fileCount);

    int fileCount() const { return int(m_slots.size()); }
    const FamilyColumns &columns() const { return m_columns; }
    const QLocale &locale() const { return m_locale; }

    // A record reply, decoded in the user's locale for the list and the
    // table exports and in the C locale for the data columns.
    void setReply(int slot, const QByteArray &reply, const RecordFormat &format);
    // A decoded record: its cells fill the slot; an empty slot is marked so;
    // a record without its end mark fails with "Error downloading the file".
    // `dataRecord` is the same record decoded in the C locale.
    void setRecord(int slot, const RecordCells &record, const RecordCells &dataRecord);
    void setRecord(int slot, const RecordCells &record) { setRecord(slot, record, record); }
    void setFailed(int slot, const QString &reason);

    // When the last record was stored: the time of the download. Invalid
    // until one was.
    QDateTime readAt() const { return m_readAt; }

    State state(int slot) const;
    QString failure(int slot) const; // empty unless Failed
    // The texts the slot's row shows, in screen order (its number not included).
    QStringList labels(int slot) const;
    // The export cells of the slot, as the window's export writes them.
    QStringList exportCells(int slot) const;
    // A read slot's cells in the data columns, "File No." first; a slot not
    // read has its number only.
    QList<DataCell> dataCells(int slot) const;

    // The window's HTML export with every slot ticked that the window would
    // let the user tick: every slot asked for that is not empty.
    QList<ExportRow> exportRows() const;

private:
    struct Slot
    {
        State state = State::NotAsked;
        QString failure;
        QStringList labels;
        QStringList dataLabels; // the labels in the C locale
        QList<bool> filled;     // the label columns a record wrote
    };
    bool holds(int slot) const { return slot >= 0 && slot < m_slots.size(); }

    FamilyColumns m_columns;
    QLocale m_locale;
    QList<Slot> m_slots;
    QDateTime m_readAt;
};
