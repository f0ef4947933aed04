// SPDX-License-Identifier: MIT
#pragma once

#include <QLocale>
#include <QString>
#include <optional>
#include <string>

// Numbers shown in the file lists, written the way a general number format
// writes them: the shortest text for the precision, no trailing zeros, no
// decimal point for whole values, the locale's decimal separator.
//
// Fixed notation is used while the rounded value lies in 1E-04 <= |v| < 10^p
// (p = 7 for single, 15 for double precision); outside that range the text is
// a mantissa with the locale's decimal separator, "E", a sign and at least two
// exponent digits: 12345678 -> "1.234568E+07", 0.00001 -> "1E-05". The minus
// sign is always "-". Zero is "0"; infinities and NaN give an empty text.

// At most 7 significant digits (single precision).
QString singleText(float value, const QLocale &locale);

// At most 15 significant digits (double precision), e.g. the temperature.
QString doubleText(double value, const QLocale &locale);

// The correctly rounded scientific form "-d.ddde+XX" with `precision` digits
// after the point, whatever the C library's locale: std::to_chars where the
// standard library has it for floating point (older macOS targets do not),
// Qt's conversion otherwise.
std::string scientificText(double value, int precision);
// Qt's conversion alone: the fallback above, callable everywhere so that it
// can be held to std::to_chars where both exist.
std::string scientificTextPortable(double value, int precision);

// A number as a meter writes it: always a point for decimals, blanks around
// it allowed, an optional sign and exponent ("1.5E-3"). The user's locale
// plays no part, so "1.234" never becomes 1234 under a comma locale.
struct MeterReading
{
    enum class Kind {
        Value,        // `value` holds it
        NotANumber,   // not written as a number at all ("  ---", "1,234")
        BeyondSingle, // written as a number, but too large for single precision ("1.0E+39")
    };
    Kind kind = Kind::NotANumber;
    float value = 0.0f;
};
MeterReading readMeterNumber(const QString &text);

// The value of readMeterNumber(); nullopt for anything else, and for values
// beyond single precision.
std::optional<float> meterNumber(const QString &text);
