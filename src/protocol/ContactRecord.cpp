// SPDX-License-Identifier: MIT
#include "protocol/ContactRecord.h"

#include "protocol/Request.h"
#include "protocol/ReplyFields.h"

namespace {

const QByteArray emptySlotMarker = "32/45/32 - 45:32:45";

} // namespace

QByteArray contactRecordRequest(int index)
{
    return Request::withArgument("11", index, 4);
}

QString contactResistanceText(const QByteArray &field)
{
    const QString digits = QString::fromLatin1(field.left(3));
    // Exact, case-sensitive byte comparisons: the code is a single character.
    switch (field.size() >= 4 ? field.at(3) : '\0') {
    case ':':
        return digits + QStringLiteral("E-3");
    case '<':
        return digits + QStringLiteral("E-6");
    case ';':
        return digits;
    default:
        return QString::fromLatin1(field);
    }
}

RecordCells decodeContactRecord(const QByteArray &reply)
{
    using ReplyFields::slice;
    RecordCells record;
    if (reply.size() < contactRecordAwaited || !ReplyFields::endsWithCloseBracket(reply)) {
        record.status = RecordCells::Status::BadEndMark;
        return record;
    }

    const QByteArray dateTime = slice(reply, 2, 20);
    if (dateTime == emptySlotMarker) {
        record.status = RecordCells::Status::EmptySlot;
        return record;
    }
    record.cells.append({ContactColumn::DateTime, QString::fromLatin1(dateTime)});

    const char status = reply.at(22 - 1);
    if (status == '1' || status == '2') {
        record.cells.append({ContactColumn::Resistance, status == '1' ? QStringLiteral("-Over-") : QStringLiteral("-Under-")});
        record.cells.append({ContactColumn::Current, QString()});
        return record;
    }
    record.cells.append({ContactColumn::Resistance, contactResistanceText(slice(reply, 24, 31))});
    record.cells.append({ContactColumn::Current, QString::fromLatin1(slice(reply, 33, 37))});
    return record;
}

QList<QStringList> contactLongestTexts()
{
    return {{QStringLiteral("00/00/00 - 00:00:00")},
            {QStringLiteral("-Under-"), QStringLiteral("-Over-"), QStringLiteral("999E-6"), QStringLiteral("00000000")},
            {QStringLiteral("000.0"), QStringLiteral("00000")}};
}
