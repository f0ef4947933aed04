// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One file slot of a measurement list as the export sees it.
struct ExportRow
{
    bool ticked = false;
    QStringList cells;
};

// The measurement export's HTML table, every line ended by CR LF:
//   <html><table border="1"  cellpadding="5">
//   <tr><th>heading</th>...</tr>
//   then per slot: the row "<tr><td>cell</td>...</tr>" when ticked, and always
//   one empty line
//   </table></html>
// Headings are written exactly as given (they carry their own blanks, as
// " File No. "). Cell texts keep their blanks; markup characters and control
// characters in them are escaped (escapeCellText), so a name sent by the meter
// can neither break the table nor split a row over several lines.
QString htmlTable(const QStringList &headings, const QList<ExportRow> &rowsByIndex);

// "&", "<" and ">" as the entities "&amp;", "&lt;", "&gt;"; the control
// characters U+0001 to U+001F (CR, LF, tab, ESC, ...) and DEL as decimal
// character references ("&#13;", "&#10;", "&#127;"); NUL, which HTML has no
// reference for, as the NUL symbol U+2400 ("&#9216;"). Everything else,
// blanks and non-ASCII letters included, stays as it is.
QString escapeCellText(const QString &text);
