// SPDX-License-Identifier: MIT
#include "protocol/CableRecord.h"

#include "protocol/Request.h"
#include "protocol/NumberText.h"
#include "protocol/ReplyFields.h"

namespace {

const QByteArray emptySlotName = " - - - ";
constexpr int noSize = 65535;

// Unit bytes of the resistance field, code page 437.
constexpr unsigned char milliByte = 109; // "m"
constexpr unsigned char microByte = 230; // micro sign
constexpr unsigned char ohmByte = 234;   // ohm sign

// The text between the first two fields of a QLocale date or time format, or
// `fallback` when there is no plain separator there.
QString separatorIn(const QString &format, const QString &fieldLetters, const QString &fallback)
{
    qsizetype i = 0;
    while (i < format.size() && !fieldLetters.contains(format.at(i)))
        ++i;
    if (i == format.size())
        return fallback;
    const QChar field = format.at(i);
    while (i < format.size() && format.at(i) == field)
        ++i;
    QString separator;
    for (; i < format.size() && !fieldLetters.contains(format.at(i)); ++i) {
        const QChar c = format.at(i);
        if (c.isLetter() || c == QLatin1Char('\''))
            return fallback;
        separator += c;
    }
    separator = separator.trimmed();
    return separator.isEmpty() || i == format.size() ? fallback : separator;
}

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

// A 16-bit value sent low byte first at 1-based `position`.
int littleEndianWord(const QByteArray &reply, int position)
{
    return *ReplyFields::byteAt(reply, position + 1) * 256 + *ReplyFields::byteAt(reply, position);
}

QString dateTimeText(const QByteArray &reply, const DateTimeSeparators &seps)
{
    auto field = [&reply](int position) { return twoDigits(*ReplyFields::byteAt(reply, position)); };
    return field(9) + seps.date + field(10) + seps.date + field(11) + QStringLiteral(" - ") + field(12)
        + seps.time + field(13) + seps.time + field(14);
}

QString conductorText(int code)
{
    switch (code) {
    case 1:
        return QStringLiteral("Copper");
    case 2:
        return QStringLiteral("Aluminium");
    default:
        return QStringLiteral("Other");
    }
}

} // namespace

DateTimeSeparators separatorsOf(const QLocale &locale)
{
    return {separatorIn(locale.dateFormat(QLocale::ShortFormat), QStringLiteral("dMy"), QStringLiteral("/")),
            separatorIn(locale.timeFormat(QLocale::ShortFormat), QStringLiteral("hHms"), QStringLiteral(":"))};
}

QByteArray cableRecordRequest(int index)
{
    return Request::withArgument("10", index, 4);
}

QString cableResistanceText(const QByteArray &field8)
{
    for (qsizetype i = 0; i < field8.size(); ++i) {
        const QString before = QString::fromLatin1(field8.left(i));
        switch (static_cast<unsigned char>(field8.at(i))) {
        case milliByte:
            return before + QStringLiteral(" m");
        case microByte:
            return before + QStringLiteral(" \u00B5");
        case ohmByte:
            return before;
        default:
            break;
        }
    }
    return QString::fromLatin1(field8);
}

RecordCells decodeCableRecord(const QByteArray &reply, const DateTimeSeparators &seps, const QLocale &locale)
{
    RecordCells record;
    // The wait count covers every field, so the byte fields below are present.
    if (reply.size() < cableRecordAwaited || !ReplyFields::endsWithCloseBracket(reply)) {
        record.status = RecordCells::Status::BadEndMark;
        return record;
    }

    const QByteArray name = ReplyFields::slice(reply, 2, 8);
    record.cells.append({CableColumn::FileName, QString::fromLatin1(name)});
    if (name == emptySlotName) {
        record.status = RecordCells::Status::EmptySlot;
        return record;
    }

    record.cells.append({CableColumn::DateTime, dateTimeText(reply, seps)});
    record.cells.append({CableColumn::Conductor, conductorText(*ReplyFields::byteAt(reply, 15))});
    record.cells.append({CableColumn::Current, singleText(float(littleEndianWord(reply, 16)) / 10.0f, locale)});
    const int size = littleEndianWord(reply, 18);
    if (size < noSize)
        record.cells.append({CableColumn::Size, singleText(float(size), locale)});
    record.cells.append({CableColumn::Resistance, cableResistanceText(ReplyFields::slice(reply, 22, 29))});
    return record;
}

QList<QStringList> cableLongestTexts(const QLocale &locale)
{
    // Date and time fields are two digits in a real date; a byte out of that
    // range (three digits) is drawn narrower by the list rather than widening
    // every window for it.
    const DateTimeSeparators separators = separatorsOf(locale);
    const auto dateTime = [&separators](const QString &field) {
        return field + separators.date + field + separators.date + field + QStringLiteral(" - ") + field
            + separators.time + field + separators.time + field;
    };
    // Size and current are 16-bit values, the current in tenths.
    return {{QStringLiteral("TX-0001"), QStringLiteral("0000000")},
            {dateTime(QStringLiteral("00"))},
            {QStringLiteral("123.456 m"), QStringLiteral("0.5678 \u00B5"), QStringLiteral("--------")},
            {singleText(65534.0f, locale)},
            {singleText(6553.5f, locale)},
            {QStringLiteral("Aluminium"), QStringLiteral("Copper"), QStringLiteral("Other")}};
}
