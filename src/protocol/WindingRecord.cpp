// SPDX-License-Identifier: MIT
#include "protocol/WindingRecord.h"

#include "protocol/Request.h"
#include "protocol/NumberText.h"
#include "protocol/ReplyFields.h"

#include <cmath>
#include <limits>

namespace {

constexpr int longAwaited = 33;
constexpr int shortAwaited = 18;

// The meter accepts 0.1 to 99.9 degrees; anything else is not corrected.
constexpr int lowestTenths = 1;
constexpr int tenthsLimit = 1000;

const QByteArray emptySlotName = " - - -";

QString text(const QByteArray &field)
{
    return QString::fromLatin1(field);
}

} // namespace

QByteArray windingRecordRequest(int index, bool shortRecords)
{
    return Request::withArgument("11", index, shortRecords ? 2 : 4);
}

int windingRecordAwaited(bool shortRecords)
{
    return shortRecords ? shortAwaited : longAwaited;
}

std::optional<float> correctedValue(float r, int tenths, int conductorCode)
{
    const double k = conductorCode == 0 ? 0.000393 : 0.00041;
    const double term = double(r) * double(200 - tenths) * k;
    const double sum = double(r) + term;
    if (!std::isfinite(sum) || std::fabs(sum) > double(std::numeric_limits<float>::max()))
        return std::nullopt;
    return float(sum);
}

QString correctedTo20(float r, int tenths, int conductorCode, const QLocale &locale)
{
    const std::optional<float> value = correctedValue(r, tenths, conductorCode);
    return value ? singleText(*value, locale) : QString();
}

QString conductorName(int conductorCode)
{
    return conductorCode == 0 ? QStringLiteral("Copper") : QStringLiteral("Aluminium");
}

RecordCells decodeWindingRecord(const QByteArray &reply, bool shortRecords, const QLocale &locale)
{
    using ReplyFields::slice;
    RecordCells record;
    if (reply.size() < windingRecordAwaited(shortRecords) || !ReplyFields::endsWithCloseBracket(reply)) {
        record.status = RecordCells::Status::BadEndMark;
        return record;
    }

    const QByteArray name = slice(reply, 1, 6);
    if (name == emptySlotName) {
        record.status = RecordCells::Status::EmptySlot;
        return record;
    }
    const QString res1 = text(slice(reply, 8, 16));
    const QString res2 = text(slice(reply, 18, 26));
    record.cells = {{WindingColumn::FileName, text(name)}, {WindingColumn::Res1T, res1}, {WindingColumn::Res2T, res2}};
    if (shortRecords)
        return record;

    const std::optional<int> conductor = ReplyFields::decimal(reply, 28, 28);
    const std::optional<int> tenths = ReplyFields::decimal(reply, 30, 33);
    if (!conductor || !tenths || *tenths < lowestTenths || *tenths >= tenthsLimit)
        return record;
    record.cells.append({WindingColumn::Temp, doubleText(*tenths / 10.0, locale)});

    const QPair<int, QString> channels[] = {{WindingColumn::Res1At20, res1}, {WindingColumn::Res2At20, res2}};
    for (const auto &[column, measured] : channels) {
        const MeterReading r = readMeterNumber(measured);
        if (r.kind == MeterReading::Kind::NotANumber)
            continue;
        // A resistance too large for single precision fails its conversion,
        // as a corrected value beyond it fails the sum: either ends the fetch.
        if (r.kind == MeterReading::Kind::BeyondSingle)
            return record;
        const std::optional<float> corrected = correctedValue(r.value, *tenths, *conductor);
        if (!corrected)
            return record;
        record.cells.append({column, singleText(*corrected, locale)});
    }
    record.cells.append({WindingColumn::Conductor, conductorName(*conductor)});
    return record;
}

QList<QStringList> windingLongestTexts(const QLocale &locale)
{
    // The measured resistances are the meter's nine characters.
    const QStringList measured{QStringLiteral("  100.000"), QStringLiteral("99999.999"), QStringLiteral("     OL  ")};
    const QStringList corrected{singleText(9.999999e9f, locale), singleText(-9.999999e9f, locale),
                                singleText(-1.234568e-5f, locale)};
    return {{QStringLiteral("TX-001"), QStringLiteral("000000")},
            measured,
            measured,
            {doubleText(99.9, locale)},
            corrected,
            corrected,
            {QStringLiteral("Aluminium"), QStringLiteral("Copper")}};
}
