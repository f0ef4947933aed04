// SPDX-License-Identifier: MIT
#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// The meters' texts as values a spreadsheet or a script can compute with:
// numbers in their base unit (ohms, amperes, degrees Celsius) and dates, the
// same whatever the user's locale. The texts themselves stay as they are.

// A number and the digits after the point it is written with, in its base
// unit: "848E-3" is 0.848 with 3, "0.1489 µ" is 0.0000001489 with 10.
struct MeterNumber
{
    double value = 0;
    int decimals = 0;
    bool operator==(const MeterNumber &) const = default;
};

// A plain decimal number as the meters and the program write it: blanks
// around it, an optional sign, digits with at most one point, an optional
// exponent ("E-3"). A comma, a group separator, a unit or a word ("OL",
// "-Over-", "---") makes it no number.
std::optional<MeterNumber> plainNumber(const QString &text);

// A plain number followed by a blank and a unit prefix, as the cable list
// shows its resistance ("33.54 m", "0.1489 µ"), or without one ("3.7202").
std::optional<MeterNumber> prefixedNumber(const QString &text);

// A date and time from its six two-digit fields, the year in this century, as
// the meter's clock shows it (held as UTC, so that no clock change of the
// user's zone makes it invalid); nullopt where the fields make no date (a
// month 13, a 31st of April, an hour 24).
std::optional<QDateTime> meterDateTime(int day, int month, int year, int hour, int minute, int second);

// "01/05/23 - 10:02:00", day first, with one separator character between
// the date's and the time's fields, as the contact meter sends it and the
// cable list shows it.
std::optional<QDateTime> meterDateTime(const QString &text);

// ISO 8601 without a zone: "2023-05-01T10:02:00".
QString isoDateTime(const QDateTime &dateTime);
