// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The measurement export as a spreadsheet reads it: RFC 4180, fields
// separated by commas, every record ended by CR LF, a heading record first.
// UTF-8 with a byte-order mark, so that spreadsheet programs read the micro
// sign and other non-ASCII units right. A row with fewer cells than headings
// gets empty fields, so every record has the same number of fields.
QByteArray csvTable(const QStringList &headings, const QList<QStringList> &rows);

// One field: without the blanks the screen pads it with; in double quotes,
// with its quotes doubled, when it holds a comma, a quote, CR or LF. A text
// that a spreadsheet would run as a formula (it starts with "=", "+", "@",
// or "-" and a letter, as "-Under-") gets a leading apostrophe, so that a
// name typed on the meter stays text.
QString csvField(const QString &text);
