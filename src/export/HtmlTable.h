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
// " File No. "). Cell texts keep their blanks; "&", "<" and ">" in them are
// escaped, so a name sent by the meter cannot break the table.
QString htmlTable(const QStringList &headings, const QList<ExportRow> &rowsByIndex);

// "&", "<" and ">" as HTML entities; nothing else changes.
QString escapeCellText(const QString &text);
