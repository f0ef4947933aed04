// SPDX-License-Identifier: MIT
#include "protocol/HtmlTable.h"

namespace {

const QString lineEnd = QStringLiteral("\r\n");

} // namespace

QString escapeCellText(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (c == QLatin1Char('&'))
            escaped += QStringLiteral("&amp;");
        else if (c == QLatin1Char('<'))
            escaped += QStringLiteral("&lt;");
        else if (c == QLatin1Char('>'))
            escaped += QStringLiteral("&gt;");
        else if (code == 0)
            escaped += QStringLiteral("&#9216;"); // "&#0;" is no character in HTML; the NUL symbol is
        else if (code < 0x20 || code == 0x7F)
            escaped += QStringLiteral("&#%1;").arg(int(code));
        else
            escaped += c;
    }
    return escaped;
}

QString htmlTable(const QStringList &headings, const QList<ExportRow> &rowsByIndex)
{
    QString html = QStringLiteral("<html><table border=\"1\"  cellpadding=\"5\">") + lineEnd;

    html += QStringLiteral("<tr>");
    for (const QString &heading : headings)
        html += QStringLiteral("<th>") + heading + QStringLiteral("</th>");
    html += QStringLiteral("</tr>") + lineEnd;

    for (const ExportRow &row : rowsByIndex) {
        if (row.ticked) {
            html += QStringLiteral("<tr>");
            for (const QString &cell : row.cells)
                html += QStringLiteral("<td>") + escapeCellText(cell) + QStringLiteral("</td>");
            html += QStringLiteral("</tr>") + lineEnd;
        }
        html += lineEnd;
    }

    html += QStringLiteral("</table></html>") + lineEnd;
    return html;
}
