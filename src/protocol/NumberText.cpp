// SPDX-License-Identifier: MIT
#include "protocol/NumberText.h"

#include <QByteArray>
#include <QRegularExpression>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

// `value` rounded to `digits` significant digits and written in the general
// format described in the header.
QString generalText(double value, int digits, const QLocale &locale)
{
    if (!std::isfinite(value))
        return {};
    if (value == 0.0)
        return QStringLiteral("0");

    const std::string scientific = scientificText(value, digits - 1);

    const bool negative = scientific.front() == '-';
    const std::size_t ePos = scientific.find('e');
    std::string mantissa;
    for (std::size_t i = negative ? 1 : 0; i < ePos; ++i) {
        if (scientific[i] != '.')
            mantissa.push_back(scientific[i]);
    }
    while (mantissa.size() > 1 && mantissa.back() == '0')
        mantissa.pop_back();
    const int exponent = std::stoi(scientific.substr(ePos + 1));

    const QString separator = locale.decimalPoint();
    const QString significant = QString::fromStdString(mantissa);
    QString text;
    if (exponent >= -4 && exponent < digits) {
        if (exponent >= 0) {
            const int integerDigits = exponent + 1;
            text = significant.left(integerDigits);
            text += QString(qMax(0, integerDigits - int(significant.size())), QLatin1Char('0'));
            if (significant.size() > integerDigits)
                text += separator + significant.mid(integerDigits);
        } else {
            text = QLatin1Char('0') + separator + QString(-exponent - 1, QLatin1Char('0')) + significant;
        }
    } else {
        text = significant.left(1);
        if (significant.size() > 1)
            text += separator + significant.mid(1);
        text += exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+");
        text += QStringLiteral("%1").arg(std::abs(exponent), 2, 10, QLatin1Char('0'));
    }
    return negative ? QLatin1Char('-') + text : text;
}

} // namespace

std::string scientificTextPortable(double value, int precision)
{
    // Qt's conversion ignores the C library's locale but rounds exact ties
    // away from zero, where std::to_chars rounds them to even. So take far
    // more digits than a double holds and round here: a double that is not
    // exactly a tie lies further from one than 60 digits can hide.
    const std::string wide = QByteArray::number(value, 'e', 60).toStdString();
    const bool negative = wide.front() == '-';
    const std::size_t ePos = wide.find('e');
    std::string digits;
    for (std::size_t i = negative ? 1 : 0; i < ePos; ++i) {
        if (wide[i] != '.')
            digits.push_back(wide[i]);
    }
    int exponent = std::stoi(wide.substr(ePos + 1));

    const std::size_t kept = std::size_t(precision) + 1;
    const std::string rest = digits.substr(kept);
    digits.resize(kept);
    const bool beyondHalf = rest.find_first_not_of('0', 1) != std::string::npos;
    const bool roundUp = rest[0] > '5' || (rest[0] == '5' && (beyondHalf || (digits.back() - '0') % 2 == 1));
    if (roundUp) {
        std::size_t i = kept;
        while (i > 0 && digits[i - 1] == '9')
            digits[--i] = '0';
        if (i > 0) {
            ++digits[i - 1];
        } else { // 9.99… became 10.0…
            digits.insert(digits.begin(), '1');
            digits.pop_back();
            ++exponent;
        }
    }

    std::string text = negative ? "-" : "";
    text += digits.substr(0, 1);
    if (kept > 1)
        text += '.' + digits.substr(1);
    const int magnitude = std::abs(exponent);
    text += exponent < 0 ? "e-" : "e+";
    if (magnitude < 10)
        text += '0';
    text += std::to_string(magnitude);
    return text;
}

std::string scientificText(double value, int precision)
{
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific,
                                      precision);
    return std::string(buffer, result.ptr);
#else
    return scientificTextPortable(value, precision);
#endif
}

QString singleText(float value, const QLocale &locale)
{
    return generalText(double(value), 7, locale);
}

QString doubleText(double value, const QLocale &locale)
{
    return generalText(value, 15, locale);
}

MeterReading readMeterNumber(const QString &text)
{
    static const QRegularExpression number(
        QStringLiteral(R"(^[+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)?$)"));
    const QString trimmed = text.trimmed();
    if (!number.match(trimmed).hasMatch())
        return {MeterReading::Kind::NotANumber};
    bool ok = false;
    const double value = QLocale::c().toDouble(trimmed, &ok);
    // Beyond double precision the conversion gives an infinity.
    if (std::isinf(value) || std::fabs(value) > double(std::numeric_limits<float>::max()))
        return {MeterReading::Kind::BeyondSingle};
    if (!ok)
        return {MeterReading::Kind::NotANumber};
    return {MeterReading::Kind::Value, float(value)};
}

std::optional<float> meterNumber(const QString &text)
{
    const MeterReading reading = readMeterNumber(text);
    if (reading.kind != MeterReading::Kind::Value)
        return std::nullopt;
    return reading.value;
}
