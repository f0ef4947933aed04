// SPDX-License-Identifier: MIT
#pragma once

#include "protocol/DataWorkbook.h"
#include "protocol/MeterFiles.h"

#include <QByteArray>
#include <QString>

// The three forms the command line writes its files in. Each holds the slots
// that were asked for; an empty slot appears only in the HTML table, as the
// blank line the window's export has for it.

// Byte for byte the window's export with every file ticked that can be.
QByteArray htmlDownload(const MeterFiles &files);

// The data columns of the slots `slotIndexes` (see DataColumns): "File No.",
// the family's data columns and "Status": "OK", or why the file could not be
// read (a failed file has only its number and its status).
DataTable dataTable(const MeterFiles &files, const QList<int> &slotIndexes);
// "File No." and the family's data columns, without "Status".
QStringList dataHeadings(const MeterFiles &files);
// The slots read or failed, in order; empty slots and those not asked for are left out.
QList<int> listedSlots(const MeterFiles &files);

// The workbook's title and time: the model, and when the files were read
// (now, where none was).
WorkbookProperties workbookProperties(const QString &model, const MeterFiles &files);

// A data table as RFC 4180. Numbers with a point and the digits the meter
// wrote, dates in ISO 8601: the same bytes in every locale.
QByteArray dataCsv(const DataTable &table);
// The data table of every slot read or failed; empty slots are left out.
QByteArray csvDownload(const MeterFiles &files);

// {"model": ..., "files": [{"File No.": 1, "Status": "OK", heading: value, ...}]}
// with the data columns' headings as keys: a number is a JSON number, a date
// an ISO 8601 string, a text a string, an empty cell null.
// Empty slots are left out.
QByteArray jsonDownload(const QString &model, const MeterFiles &files);

// A data cell as the CSV writes it: "0.848", "2023-05-01T10:02:00", the text, or nothing.
QString dataCellText(const DataCell &cell);

// "OK" or the failure of a slot that was read or failed.
QString statusOf(const MeterFiles &files, int slot);
