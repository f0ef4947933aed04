// SPDX-License-Identifier: MIT
// Winding meter record replies, long and short, under several locales.
// Input: one byte of options (bit 0 short format, the rest picks the locale),
// then the reply as it came off the line.
#include "FuzzSupport.h"
#include "protocol/NumberText.h"
#include "protocol/RecordFormat.h"
#include "protocol/WindingRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const bool shortRecords = data[0] & 1;
    const QLocale &locale = fuzz::locale(uint8_t(data[0] >> 1));
    const QByteArray reply = fuzz::bytes(data + 1, size - 1);

    const RecordFormat format = windingRecordFormat(shortRecords);
    const RecordCells record = format.decode(reply, locale);

    const bool framed = reply.size() >= format.rule.awaited && reply.endsWith(']');
    if (!framed) {
        FUZZ_CHECK(record.status == RecordCells::Status::BadEndMark && record.cells.isEmpty());
        return 0;
    }
    if (fuzz::chars(reply, 1, 6) == " - - -") {
        FUZZ_CHECK(record.status == RecordCells::Status::EmptySlot && record.cells.isEmpty());
        return 0;
    }
    FUZZ_CHECK(record.status == RecordCells::Status::Filled);

    // Name and both resistances exactly as received, always first.
    FUZZ_CHECK(record.cells.size() >= 3);
    FUZZ_CHECK(record.cells[0] == qMakePair(int(WindingColumn::FileName), QString::fromLatin1(fuzz::chars(reply, 1, 6))));
    FUZZ_CHECK(record.cells[1] == qMakePair(int(WindingColumn::Res1T), QString::fromLatin1(fuzz::chars(reply, 8, 16))));
    FUZZ_CHECK(record.cells[2] == qMakePair(int(WindingColumn::Res2T), QString::fromLatin1(fuzz::chars(reply, 18, 26))));
    if (shortRecords) {
        FUZZ_CHECK(record.cells.size() == 3);
        return 0;
    }

    // The rest in column order, each column once; the conductor closes a
    // complete row, and a temperature is only shown within 0.1 to 99.9.
    for (qsizetype i = 1; i < record.cells.size(); ++i)
        FUZZ_CHECK(record.cells[i - 1].first < record.cells[i].first);
    for (const auto &[column, text] : record.cells) {
        FUZZ_CHECK(column >= 0 && column < WindingColumn::Count);
        FUZZ_CHECK(!text.isNull());
        if (column == WindingColumn::Conductor)
            FUZZ_CHECK(text == "Copper" || text == "Aluminium");
        if (column == WindingColumn::Temp) {
            bool ok = false;
            const double degrees = locale.toDouble(text, &ok);
            FUZZ_CHECK(ok && degrees >= 0.1 && degrees <= 99.9);
        }
    }
    const bool hasTemp = record.cells.size() > 3 && record.cells[3].first == WindingColumn::Temp;
    if (!hasTemp) {
        FUZZ_CHECK(record.cells.size() == 3);
        return 0;
    }

    // A corrected value reads back as R x (1 + (200 - t) x k), t in tenths,
    // to the seven digits shown.
    const int tenths = fuzz::chars(reply, 30, 33).trimmed().toInt();
    const double k = reply.at(27) == '0' ? 0.000393 : 0.00041;
    for (const auto &[column, text] : record.cells) {
        if (column != WindingColumn::Res1At20 && column != WindingColumn::Res2At20)
            continue;
        const std::optional<float> r = meterNumber(record.cells[column == WindingColumn::Res1At20 ? 1 : 2].second);
        FUZZ_CHECK(r.has_value());
        const double expected = double(*r) + double(*r) * (200 - tenths) * k;
        bool ok = false;
        const double shown = locale.toDouble(text, &ok);
        FUZZ_CHECK(ok && qAbs(shown - expected) <= qMax(1e-6 * qAbs(expected), 1e-37));
    }
    return 0;
}
