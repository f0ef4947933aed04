// SPDX-License-Identifier: MIT
#pragma once

#include "protocol/MeterValues.h"

#include <QList>
#include <QString>
#include <QStringList>

// The columns of the exports for spreadsheets and scripts (CSV, JSON, the
// workbook): each measured quantity as a number in its base unit with the
// unit in its heading, the meter's own text beside it where that text can
// say more (a prefix, "OL", "-Over-", a missing value), dates in ISO 8601.
// Every cell is read from a slot's labels as decoded in the C locale, so the
// columns are the same whatever the user's locale.

// One cell: nothing, a number, a date and time, or a text.
struct DataCell
{
    enum class Kind { Empty, Number, DateTime, Text };
    Kind kind = Kind::Empty;
    MeterNumber number;
    QDateTime dateTime;
    QString text;

    static DataCell ofNumber(const MeterNumber &number) { return {Kind::Number, number, {}, {}}; }
    static DataCell ofDateTime(const QDateTime &dateTime) { return {Kind::DateTime, {}, dateTime, {}}; }
    static DataCell ofText(const QString &text) { return {Kind::Text, {}, {}, text}; }
};

// A table of data cells under its headings, every row as long as the headings.
struct DataTable
{
    QStringList headings;
    QList<QList<DataCell>> rows;
};

struct DataColumn
{
    enum class Reading {
        MeterText,    // the label as shown, without its padding
        Number,       // a plain number, else empty
        PrefixedOhms, // a number with a unit prefix ("33.54 m"), in ohms
        DateTime,     // a day-first meter date, else empty
    };
    QString heading;
    int labelColumn;
    Reading reading;
};

// After "File No.", in order.
QList<DataColumn> windingDataColumns();
QList<DataColumn> contactDataColumns(); // contact and ratio meters
QList<DataColumn> cableDataColumns();

// A read slot's cells, "File No." first: `labels` as decoded in the C
// locale, `filled` the label columns its record wrote (the others are empty).
QList<DataCell> dataCells(const QList<DataColumn> &columns, int fileNumber, const QStringList &labels,
                          const QList<bool> &filled);
