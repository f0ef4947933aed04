// SPDX-License-Identifier: MIT
#include "protocol/DownloadedFiles.h"

#include "protocol/FamilyProtocol.h"
#include "protocol/MessageTexts.h"

DownloadedFiles::DownloadedFiles(MeterFamily family, int fileCount, const QLocale &locale)
    : m_columns(familyProtocol(family).columns())
    , m_locale(locale)
{
    m_slots.resize(qMax(fileCount, 0));
    for (int slot = 0; slot < m_slots.size(); ++slot) {
        m_slots[slot].labels = QStringList(m_columns.labelColumns, RecordCells::unfilledText());
        if (slot == 1 && m_columns.blankSecondSlotColumn >= 0)
            m_slots[slot].labels[m_columns.blankSecondSlotColumn].clear();
    }
}

void DownloadedFiles::setRecord(int slot, const RecordCells &record)
{
    if (slot < 0 || slot >= m_slots.size())
        return;
    if (record.status == RecordCells::Status::BadEndMark) {
        setFailed(slot, MessageTexts::downloadFailed());
        return;
    }
    Slot &target = m_slots[slot];
    for (const auto &[column, text] : record.cells) {
        if (column >= 0 && column < target.labels.size())
            target.labels[column] = text;
    }
    target.state = record.status == RecordCells::Status::EmptySlot ? State::Empty : State::Read;
    target.failure.clear();
}

void DownloadedFiles::setFailed(int slot, const QString &reason)
{
    if (slot < 0 || slot >= m_slots.size())
        return;
    m_slots[slot].state = State::Failed;
    m_slots[slot].failure = reason;
}

DownloadedFiles::State DownloadedFiles::state(int slot) const
{
    return slot >= 0 && slot < m_slots.size() ? m_slots[slot].state : State::NotAsked;
}

QString DownloadedFiles::failure(int slot) const
{
    return slot >= 0 && slot < m_slots.size() ? m_slots[slot].failure : QString();
}

QStringList DownloadedFiles::exportCells(int slot) const
{
    if (slot < 0 || slot >= m_slots.size())
        return {};
    return m_columns.exportCells(QStringList{QString::number(slot + 1)} + m_slots[slot].labels, m_locale);
}

QList<ExportRow> DownloadedFiles::exportRows() const
{
    QList<ExportRow> rows;
    rows.reserve(m_slots.size());
    for (int slot = 0; slot < m_slots.size(); ++slot) {
        ExportRow row;
        const State state = m_slots[slot].state;
        row.ticked = state == State::Read || state == State::Failed;
        if (row.ticked)
            row.cells = exportCells(slot);
        rows << row;
    }
    return rows;
}
