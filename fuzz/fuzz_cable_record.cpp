// SPDX-License-Identifier: MIT
// Cable meter record replies: text fields, raw byte fields and the code page
// 437 unit bytes. Input: one byte choosing the locale, then the reply.
#include "FuzzSupport.h"
#include "protocol/CableRecord.h"
#include "protocol/RecordFormat.h"

#include <QHash>
#include <QRegularExpression>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const QLocale &locale = fuzz::locale(data[0]);
    const QByteArray reply = fuzz::bytes(data + 1, size - 1);
    const DateTimeSeparators separators = separatorsOf(locale);
    const RecordFormat format = cableRecordFormat();
    const RecordCells record = format.decode(reply, locale);

    // The resistance field alone, of any length: cut at the first unit byte
    // ("m" 109, micro 230, ohm 234), which becomes " m", " µ" or nothing.
    const QByteArray field = reply.left(8);
    qsizetype unitAt = 0;
    while (unitAt < field.size() && !QByteArray("m\xE6\xEA").contains(field.at(unitAt)))
        ++unitAt;
    const QString before = QString::fromLatin1(field.left(unitAt));
    const char unit = unitAt < field.size() ? field.at(unitAt) : '\0';
    FUZZ_CHECK(cableResistanceText(field) == (unit == 'm'      ? before + " m"
                                              : unit == '\xE6' ? before + QStringLiteral(" \u00B5")
                                                               : before));

    if (reply.size() < format.rule.awaited || !reply.endsWith(']')) {
        FUZZ_CHECK(record.status == RecordCells::Status::BadEndMark && record.cells.isEmpty());
        return 0;
    }
    const QString name = QString::fromLatin1(fuzz::chars(reply, 2, 8));
    FUZZ_CHECK(!record.cells.isEmpty() && record.cells[0] == qMakePair(int(CableColumn::FileName), name));
    if (name == " - - - ") {
        FUZZ_CHECK(record.status == RecordCells::Status::EmptySlot && record.cells.size() == 1);
        return 0;
    }
    FUZZ_CHECK(record.status == RecordCells::Status::Filled);

    const auto byteAt = [&reply](int position) { return int(static_cast<unsigned char>(reply.at(position - 1))); };
    const bool hasSize = byteAt(19) * 256 + byteAt(18) != 65535;
    QList<int> columns;
    for (const auto &cell : record.cells)
        columns << cell.first;
    const QList<int> expected = hasSize
        ? QList<int>{CableColumn::FileName, CableColumn::DateTime, CableColumn::Conductor, CableColumn::Current, CableColumn::Size, CableColumn::Resistance}
        : QList<int>{CableColumn::FileName, CableColumn::DateTime, CableColumn::Conductor, CableColumn::Current, CableColumn::Resistance};
    FUZZ_CHECK(columns == expected);

    // Six byte values of two or three digits, separated as the locale says.
    const QString dateTime = record.cells[1].second;
    static QHash<QString, QRegularExpression> patterns; // one per separator pair
    const QString key = separators.date + QLatin1Char('\n') + separators.time;
    if (!patterns.contains(key)) {
        patterns.insert(key, QRegularExpression(
                                 QStringLiteral("^\\d{2,3}%1\\d{2,3}%1\\d{2,3} - \\d{2,3}%2\\d{2,3}%2\\d{2,3}$")
                                     .arg(QRegularExpression::escape(separators.date),
                                          QRegularExpression::escape(separators.time))));
    }
    FUZZ_CHECK(patterns.value(key).match(dateTime).hasMatch());

    const QString conductor = record.cells[2].second;
    FUZZ_CHECK(conductor == (byteAt(15) == 1 ? "Copper" : byteAt(15) == 2 ? "Aluminium" : "Other"));

    // Tenths of an ampere from 0 to 6553.5 read back as the same number.
    bool ok = false;
    const double amperes = locale.toDouble(record.cells[3].second, &ok);
    FUZZ_CHECK(ok && qAbs(amperes * 10 - (byteAt(17) * 256 + byteAt(16))) < 0.01);

    FUZZ_CHECK(record.cells.last().second == cableResistanceText(fuzz::chars(reply, 22, 29)));
    return 0;
}
