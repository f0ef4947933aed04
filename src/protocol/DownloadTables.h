// SPDX-License-Identifier: MIT
#pragma once

#include "protocol/MeterFiles.h"

#include <QByteArray>
#include <QString>

// The three forms the command line writes its files in. Each holds the slots
// that were asked for; an empty slot appears only in the HTML table, as the
// blank line the window's export has for it.

// Byte for byte the window's export with every file ticked that can be.
QByteArray htmlDownload(const MeterFiles &files);

// RFC 4180 with the export's headings (without their blanks) and a last
// "Status" column: "OK", or why the file could not be read; a failed file
// has only its number and its status. Empty slots are left out.
QByteArray csvDownload(const MeterFiles &files);

// {"model": ..., "files": [{"File No.": 1, "Status": "OK", heading: value, ...}]}
// with the export's headings as keys: a cell that is a number (with the
// locale's decimal separator or a point, never with group separators) is a
// JSON number, an empty one null, every other cell a string.
// Empty slots are left out.
QByteArray jsonDownload(const QString &model, const MeterFiles &files);

// "OK" or the failure of a slot that was read or failed.
QString statusOf(const MeterFiles &files, int slot);
