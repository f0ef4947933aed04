// SPDX-License-Identifier: MIT
#include "RecordLayout.h"

namespace sim::layout {

namespace {

constexpr char separator = ',';

void appendLittleEndian(QByteArray &bytes, quint16 value)
{
    bytes.append(char(value & 0xFF));
    bytes.append(char(value >> 8));
}

} // namespace

QByteArray fitted(const QByteArray &text, int width)
{
    return text.leftJustified(width, ' ', true);
}

QByteArray countReply(int value, int digits)
{
    return "[" + QByteArray::number(value).rightJustified(digits, '0') + "]";
}

QByteArray windingLong(const WindingRecord &record)
{
    QByteArray bytes = fitted(record.name, 6);
    bytes += separator + fitted(record.channel1, 9);
    bytes += separator + fitted(record.channel2, 9);
    bytes += separator;
    bytes += record.conductor;
    bytes += separator;
    bytes += QByteArray::number(qBound(0, record.temperatureTenths, 9999)).rightJustified(4, '0');
    bytes += ']';
    return bytes;
}

QByteArray windingEmptyLong()
{
    return windingLong({windingEmptyName, "   0.0000", "   0.0000", '0', 0});
}

QByteArray windingShortFromLong(const QByteArray &longRecord)
{
    return longRecord.left(windingShortSize - 1) + "]";
}

QByteArray windingEmptyShort()
{
    return windingShortFromLong(windingEmptyLong());
}

QByteArray heatRunBlock(const QByteArray &name, int number)
{
    return separator + fitted(name, 12) + separator
        + QByteArray::number(qBound(0, number, 9999)).rightJustified(4, '0');
}

QByteArray heatRunNamesReply(const QList<QByteArray> &blocks)
{
    return "[" + blocks.join() + "]";
}

QByteArray contactRecord(const ContactRecord &record)
{
    QByteArray bytes = "[" + fitted(record.dateTime, 19);
    bytes += separator;
    bytes += record.status;
    bytes += separator + fitted(record.resistance, 8);
    bytes += separator + fitted(record.current, 5);
    bytes += ']';
    return bytes;
}

QByteArray contactEmpty()
{
    return contactRecord({contactEmptyDate, '0', "000;0000", "000.0"});
}

QByteArray cableRecord(const CableRecord &record)
{
    QByteArray bytes = "[" + fitted(record.name, 7);
    for (quint8 field : record.dateTime)
        bytes.append(char(field));
    bytes.append(char(record.conductor));
    appendLittleEndian(bytes, record.currentTenths);
    appendLittleEndian(bytes, record.size);
    bytes += QByteArray(2, cableFiller);
    bytes += fitted(record.resistance, 8);
    bytes += QByteArray(4, cableFiller);
    bytes += ']';
    return bytes;
}

QByteArray cableEmpty()
{
    return cableRecord({cableEmptyName, {}, 0, 0, 0xFFFF, "--------"});
}

} // namespace sim::layout
