// SPDX-License-Identifier: MIT
#include "protocol/DataColumns.h"

#include "protocol/CableRecord.h"
#include "protocol/ContactRecord.h"
#include "protocol/WindingRecord.h"

namespace {

using Reading = DataColumn::Reading;

DataCell read(const QString &label, Reading reading)
{
    const QString shown = label.trimmed();
    if (shown.isEmpty())
        return {};
    switch (reading) {
    case Reading::MeterText:
        return DataCell::ofText(shown);
    case Reading::Number:
        if (const std::optional<MeterNumber> number = plainNumber(shown))
            return DataCell::ofNumber(*number);
        return {};
    case Reading::PrefixedOhms:
        if (const std::optional<MeterNumber> number = prefixedNumber(shown))
            return DataCell::ofNumber(*number);
        return {};
    case Reading::DateTime:
        if (const std::optional<QDateTime> dateTime = meterDateTime(shown))
            return DataCell::ofDateTime(*dateTime);
        return {};
    }
    return {};
}

} // namespace

QList<DataColumn> windingDataColumns()
{
    using namespace WindingColumn;
    return {
        {QStringLiteral("Filename"), FileName, Reading::MeterText},
        {QStringLiteral("Ch1 (Ohm)"), Res1T, Reading::Number},
        {QStringLiteral("Ch1 as sent"), Res1T, Reading::MeterText},
        {QStringLiteral("Ch2 (Ohm)"), Res2T, Reading::Number},
        {QStringLiteral("Ch2 as sent"), Res2T, Reading::MeterText},
        {QStringLiteral("Temperature (\u00B0C)"), Temp, Reading::Number},
        {QStringLiteral("Ch1 at 20 \u00B0C (Ohm)"), Res1At20, Reading::Number},
        {QStringLiteral("Ch2 at 20 \u00B0C (Ohm)"), Res2At20, Reading::Number},
        {QStringLiteral("Conductor"), Conductor, Reading::MeterText},
    };
}

QList<DataColumn> contactDataColumns()
{
    using namespace ContactColumn;
    return {
        {QStringLiteral("Date & Time"), DateTime, Reading::DateTime},
        {QStringLiteral("Date & Time as sent"), DateTime, Reading::MeterText},
        {QStringLiteral("Resistance (Ohm)"), Resistance, Reading::Number},
        {QStringLiteral("Resistance as sent"), Resistance, Reading::MeterText},
        {QStringLiteral("Current (A)"), Current, Reading::Number},
    };
}

QList<DataColumn> cableDataColumns()
{
    using namespace CableColumn;
    return {
        {QStringLiteral("File Name"), FileName, Reading::MeterText},
        {QStringLiteral("Date & Time"), DateTime, Reading::DateTime},
        {QStringLiteral("Date & Time as sent"), DateTime, Reading::MeterText},
        {QStringLiteral("Resistance (Ohm)"), Resistance, Reading::PrefixedOhms},
        {QStringLiteral("Resistance as sent"), Resistance, Reading::MeterText},
        {QStringLiteral("Cable Size (sq. mm)"), Size, Reading::Number},
        {QStringLiteral("Conductor"), Conductor, Reading::MeterText},
        {QStringLiteral("Current (A)"), Current, Reading::Number},
    };
}

QList<DataCell> dataCells(const QList<DataColumn> &columns, int fileNumber, const QStringList &labels,
                          const QList<bool> &filled)
{
    QList<DataCell> cells{DataCell::ofNumber({double(fileNumber), 0})};
    for (const DataColumn &column : columns) {
        const bool written = filled.value(column.labelColumn, false);
        cells << (written ? read(labels.value(column.labelColumn), column.reading) : DataCell());
    }
    return cells;
}
