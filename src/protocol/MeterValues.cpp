// SPDX-License-Identifier: MIT
#include "protocol/MeterValues.h"

#include <QRegularExpression>

#include <cmath>

std::optional<MeterNumber> plainNumber(const QString &text)
{
    static const QRegularExpression number(
        QStringLiteral("^\\s*([+-]?)(\\d*)(?:\\.(\\d*))?(?:[eE]([+-]?\\d{1,3}))?\\s*$"));
    const QRegularExpressionMatch match = number.match(text);
    if (!match.hasMatch() || (match.capturedLength(2) == 0 && match.capturedLength(3) == 0))
        return std::nullopt;
    bool ok = false;
    const double value = match.captured(0).trimmed().toDouble(&ok); // the C locale's digits and point
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    const int exponent = match.captured(4).isEmpty() ? 0 : match.captured(4).toInt();
    return MeterNumber{value, std::max(0, int(match.capturedLength(3)) - exponent)};
}

std::optional<MeterNumber> prefixedNumber(const QString &text)
{
    const QString trimmed = text.trimmed();
    struct Prefix
    {
        QString suffix;
        int exponent;
    };
    static const Prefix prefixes[] = {{QStringLiteral(" m"), 3}, {QStringLiteral(" \u00B5"), 6}};
    for (const Prefix &prefix : prefixes) {
        if (!trimmed.endsWith(prefix.suffix))
            continue;
        std::optional<MeterNumber> number = plainNumber(trimmed.chopped(prefix.suffix.size()));
        if (number) {
            number->value /= std::pow(10.0, prefix.exponent);
            number->decimals += prefix.exponent;
        }
        return number;
    }
    return plainNumber(trimmed);
}

std::optional<QDateTime> meterDateTime(int day, int month, int year, int hour, int minute, int second)
{
    if (year < 0 || year > 99)
        return std::nullopt;
    const QDate date(2000 + year, month, day);
    const QTime time(hour, minute, second);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    // The meter's clock has no zone: read in the local zone, a time in the
    // hour a clock change skips would be no time at all.
    return QDateTime(date, time, Qt::UTC);
}

std::optional<QDateTime> meterDateTime(const QString &text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*(\\d\\d)\\D(\\d\\d)\\D(\\d\\d) - (\\d\\d)\\D(\\d\\d)\\D(\\d\\d)\\s*$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const auto field = [&match](int n) { return match.captured(n).toInt(); };
    return meterDateTime(field(1), field(2), field(3), field(4), field(5), field(6));
}

QString isoDateTime(const QDateTime &dateTime)
{
    return dateTime.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}
