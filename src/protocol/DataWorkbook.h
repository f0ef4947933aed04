// SPDX-License-Identifier: MIT
#pragma once

#include "protocol/DataColumns.h"
#include "protocol/TextFile.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

// The data columns as an Excel workbook (.xlsx) of one sheet: numbers as
// numeric cells in a format that shows the meter's digits, dates as date
// cells, texts as string cells (never a formula), bold headings in a frozen
// first row, columns as wide as their longest text.

struct WorkbookProperties
{
    QString model;        // the title, and the sheet's name where Excel allows it
    QDateTime downloaded; // the document's creation time
};

struct WorkbookBytes
{
    QByteArray bytes;
    QString error; // why the workbook could not be made; empty when it was
};

// The workbook's bytes, for writeBytesFile(): libxlsxwriter writes to a file
// of its own, so it is made in a temporary folder and read back.
WorkbookBytes dataWorkbook(const DataTable &table, const WorkbookProperties &properties);

// dataWorkbook() written with writeBytesFile(): whole or not at all.
WriteResult writeDataWorkbook(const QString &path, const DataTable &table, const WorkbookProperties &properties);

// The model as a sheet name Excel accepts (at most 31 characters, none of
// []:*?/\ and no apostrophe at either end), or "Files".
QString workbookSheetName(const QString &model);

// "0" or "0.000": the number format that shows `decimals` digits after the point.
QString workbookNumberFormat(int decimals);
