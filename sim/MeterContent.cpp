// SPDX-License-Identifier: MIT
#include "MeterContent.h"

#include "RecordLayout.h"

namespace sim {

namespace {

QByteArray emptyRecord(Family family)
{
    switch (family) {
    case Family::Winding: return layout::windingEmptyLong();
    case Family::Contact:
    case Family::Ratio: return layout::contactEmpty();
    case Family::Cable: return layout::cableEmpty();
    }
    return QByteArray();
}

} // namespace

QByteArray MeterContent::recordFor(int slot) const
{
    if (slot < 0 || slot >= fileCount || !records.contains(slot))
        return emptyRecord(family);
    return records.value(slot);
}

QByteArray MeterContent::shortRecordFor(int slot) const
{
    if (slot < 0 || slot >= fileCount)
        return layout::windingEmptyShort();
    if (shortRecords.contains(slot))
        return shortRecords.value(slot);
    if (records.contains(slot))
        return layout::windingShortFromLong(records.value(slot));
    return layout::windingEmptyShort();
}

QByteArray MeterContent::heatRunNameFor(int slot) const
{
    const QByteArray name = heatRunFiles.value(slot).name;
    return name.isEmpty() ? QByteArray(layout::heatRunEmptyName) : layout::fitted(name, 12);
}

QByteArray MeterContent::heatRunReplyFor(int slot) const
{
    const HeatRunFile file = heatRunFiles.value(slot);
    if (file.name.isEmpty())
        return "[]";
    return "[" + file.content + "]";
}

QByteArray MeterContent::heatRunNamesReply() const
{
    QList<QByteArray> blocks;
    for (int slot = 0; slot < heatRunCount; ++slot) {
        const HeatRunFile file = heatRunFiles.value(slot);
        const int lines = file.name.isEmpty() ? 0 : heatRunLineCount(file.content);
        blocks << layout::heatRunBlock(heatRunNameFor(slot), lines);
    }
    return layout::heatRunNamesReply(blocks);
}

int MeterContent::heatRunLineCount(const QByteArray &content)
{
    return content.isEmpty() ? 0 : int(content.count("\r\n")) + 1;
}

} // namespace sim
