// SPDX-License-Identifier: MIT
// The workbook from whatever cells the meters' texts make: every table must
// give a workbook (a zip file) and never an error or a crash in the writer.
// Input: rows separated by 0x1E, cells by 0x1F; a cell starting with 'n' is
// the number its rest reads as, with 'd' the date, anything else a text.
#include "FuzzSupport.h"
#include "protocol/DataWorkbook.h"

namespace {

constexpr int mostRows = 32;
constexpr int mostColumns = 16;

DataCell cellOf(const QByteArray &bytes)
{
    const QString rest = QString::fromUtf8(bytes.mid(1));
    if (bytes.startsWith('n')) {
        if (const std::optional<MeterNumber> number = prefixedNumber(rest))
            return DataCell::ofNumber(*number);
    } else if (bytes.startsWith('d')) {
        if (const std::optional<QDateTime> dateTime = meterDateTime(rest))
            return DataCell::ofDateTime(*dateTime);
    } else if (!bytes.isEmpty()) {
        return DataCell::ofText(QString::fromUtf8(bytes));
    }
    return {};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QList<QByteArray> lines = fuzz::bytes(data, size).split('\x1E').mid(0, mostRows + 1);
    DataTable table;
    for (const QByteArray &heading : lines.first().split('\x1F').mid(0, mostColumns))
        table.headings << QString::fromUtf8(heading);
    for (const QByteArray &line : lines.mid(1)) {
        QList<DataCell> row;
        for (const QByteArray &cell : line.split('\x1F').mid(0, mostColumns))
            row << cellOf(cell);
        table.rows << row;
    }
    const WorkbookBytes workbook = dataWorkbook(table, {QString::fromUtf8(lines.first()), QDateTime()});
    FUZZ_CHECK(workbook.error.isEmpty());
    FUZZ_CHECK(workbook.bytes.startsWith("PK\x03\x04"));
    return 0;
}
