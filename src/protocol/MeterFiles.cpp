// SPDX-License-Identifier: MIT
#include "protocol/MeterFiles.h"

#include "protocol/MessageTexts.h"

MeterFiles::MeterFiles(const FamilyColumns &columns, int fileCount, const QLocale &locale)
    : m_columns(columns)
    , m_locale(locale)
{
    reset(fileCount);
}

void MeterFiles::reset(int fileCount)
{
    m_slots = QList<Slot>(qMax(fileCount, 0));
    for (int slot = 0; slot < m_slots.size(); ++slot) {
        m_slots[slot].labels = QStringList(m_columns.labelColumns, RecordCells::unfilledText());
        m_slots[slot].filled = QList<bool>(m_columns.labelColumns, false);
        if (slot == 1 && m_columns.blankSecondSlotColumn >= 0)
            m_slots[slot].labels[m_columns.blankSecondSlotColumn].clear();
    }
}

void MeterFiles::setReply(int slot, const QByteArray &reply, const RecordFormat &format)
{
    setRecord(slot, format.decode(reply, m_locale), format.decode(reply, QLocale::c()));
}

void MeterFiles::setRecord(int slot, const RecordCells &record, const RecordCells &dataRecord)
{
    if (!holds(slot))
        return;
    if (record.status == RecordCells::Status::BadEndMark) {
        setFailed(slot, MessageTexts::downloadFailed());
        return;
    }
    Slot &target = m_slots[slot];
    for (const auto &[column, text] : record.cells) {
        if (column >= 0 && column < target.labels.size()) {
            target.labels[column] = text;
            target.filled[column] = true;
        }
    }
    target.dataLabels = target.labels;
    for (const auto &[column, text] : dataRecord.cells) {
        if (column >= 0 && column < target.dataLabels.size())
            target.dataLabels[column] = text;
    }
    target.state = record.status == RecordCells::Status::EmptySlot ? State::Empty : State::Read;
    target.failure.clear();
    m_readAt = QDateTime::currentDateTime();
}

void MeterFiles::setFailed(int slot, const QString &reason)
{
    if (!holds(slot))
        return;
    m_slots[slot].state = State::Failed;
    m_slots[slot].failure = reason;
    m_readAt = QDateTime::currentDateTime();
}

MeterFiles::State MeterFiles::state(int slot) const
{
    return holds(slot) ? m_slots[slot].state : State::NotAsked;
}

QString MeterFiles::failure(int slot) const
{
    return holds(slot) ? m_slots[slot].failure : QString();
}

QStringList MeterFiles::labels(int slot) const
{
    return holds(slot) ? m_slots[slot].labels : QStringList();
}

QStringList MeterFiles::exportCells(int slot) const
{
    if (!holds(slot))
        return {};
    return m_columns.exportCells(QStringList{QString::number(slot + 1)} + m_slots[slot].labels, m_slots[slot].filled);
}

QList<DataCell> MeterFiles::dataCells(int slot) const
{
    if (!holds(slot))
        return {};
    if (m_slots[slot].state != State::Read)
        return {DataCell::ofNumber({double(slot + 1), 0})};
    return ::dataCells(m_columns.dataColumns, slot + 1, m_slots[slot].dataLabels, m_slots[slot].filled);
}

QList<ExportRow> MeterFiles::exportRows() const
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
