// The export's cell escaping and table framing. Cell texts come from the
// meter (any byte) and from number formatting; whatever they hold, they must
// not change the table's structure.
// Input: one byte of options (bit 0: read the text as raw UTF-16, which also
// gives lone surrogates; else as UTF-8), then cells separated by 0x1F and rows
// by 0x1E; a row whose first cell starts with "!" is not ticked.
#include "FuzzSupport.h"
#include "export/HtmlTable.h"

namespace {

QString unescaped(QString text)
{
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    text.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    return text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
}

void checkEscaped(const QString &cell)
{
    const QString escaped = escapeCellText(cell);
    FUZZ_CHECK(!escaped.contains(QLatin1Char('<')) && !escaped.contains(QLatin1Char('>')));
    for (qsizetype at = escaped.indexOf(QLatin1Char('&')); at >= 0; at = escaped.indexOf(QLatin1Char('&'), at + 1)) {
        const QStringView rest = QStringView(escaped).mid(at);
        FUZZ_CHECK(rest.startsWith(u"&amp;") || rest.startsWith(u"&lt;") || rest.startsWith(u"&gt;"));
    }
    FUZZ_CHECK(unescaped(escaped) == cell);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    // A deep copy: its buffer is aligned for reading as UTF-16.
    const QByteArray raw(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const QString text = (data[0] & 1)
        ? QString(reinterpret_cast<const QChar *>(raw.constData()), raw.size() / 2)
        : QString::fromUtf8(raw);

    QList<ExportRow> rows;
    int ticked = 0;
    int tickedCells = 0;
    qsizetype cellLineEnds = 0;
    for (const QString &line : text.split(QChar(0x1E))) {
        ExportRow row;
        row.cells = line.split(QChar(0x1F));
        row.ticked = !line.startsWith(QLatin1Char('!'));
        for (const QString &cell : row.cells)
            checkEscaped(cell);
        if (row.ticked) {
            ++ticked;
            tickedCells += int(row.cells.size());
            for (const QString &cell : row.cells)
                cellLineEnds += cell.count(QStringLiteral("\r\n"));
        }
        rows << row;
    }

    const QStringList headings{QStringLiteral(" File No. "), QStringLiteral(" Filename ")};
    const QString html = htmlTable(headings, rows);
    const QString head = QStringLiteral("<html><table border=\"1\"  cellpadding=\"5\">\r\n"
                                        "<tr><th> File No. </th><th> Filename </th></tr>\r\n");
    FUZZ_CHECK(html.startsWith(head));
    FUZZ_CHECK(html.endsWith(QStringLiteral("</table></html>\r\n")));
    // Cells cannot open or close tags, so the tags are exactly the table's own.
    FUZZ_CHECK(html.count(QStringLiteral("<tr>")) == 1 + ticked);
    FUZZ_CHECK(html.count(QStringLiteral("<td>")) == tickedCells);
    // Opening line 2, heading row 6, closing line 2; a row 2 and a cell 2.
    FUZZ_CHECK(html.count(QLatin1Char('<')) == 10 + 2 * ticked + 2 * tickedCells);
    // Every slot ends with one empty line; a ticked one has its row before it.
    const qsizetype lineEnds = html.count(QStringLiteral("\r\n"));
    FUZZ_CHECK(lineEnds == 3 + rows.size() + ticked + cellLineEnds);
    return 0;
}
