// SPDX-License-Identifier: MIT
// The export's cell escaping and table framing, as HTML and as CSV. Cell texts come from the
// meter (any byte) and from number formatting; whatever they hold, they must
// not change the table's structure.
// Input: one byte of options (bit 0: read the text as raw UTF-16, which also
// gives lone surrogates; else as UTF-8), then cells separated by 0x1F and rows
// by 0x1E; a row whose first cell starts with "!" is not ticked.
#include "FuzzSupport.h"
#include "protocol/CsvTable.h"
#include "protocol/HtmlTable.h"

#include <optional>

namespace {

bool isEscapedControl(int code)
{
    return code < 0x20 || code == 0x7F;
}

// Reads an escaped cell back; nullopt when it holds an "&" that is not one of
// the escapes the export writes.
std::optional<QString> unescaped(const QString &escaped)
{
    QString text;
    for (qsizetype at = 0; at < escaped.size();) {
        if (escaped.at(at) != QLatin1Char('&')) {
            text += escaped.at(at++);
            continue;
        }
        const qsizetype end = escaped.indexOf(QLatin1Char(';'), at);
        if (end < 0)
            return std::nullopt;
        const QString name = escaped.mid(at + 1, end - at - 1);
        at = end + 1;
        if (name == u"amp")
            text += QLatin1Char('&');
        else if (name == u"lt")
            text += QLatin1Char('<');
        else if (name == u"gt")
            text += QLatin1Char('>');
        else if (name == u"#9216")
            text += QChar(0);
        else if (name.startsWith(QLatin1Char('#'))) {
            bool ok = false;
            const int code = name.mid(1).toInt(&ok);
            // Only the plain decimal form, and only for the controls other than NUL.
            if (!ok || code == 0 || !isEscapedControl(code) || QString::number(code) != name.mid(1))
                return std::nullopt;
            text += QChar(code);
        } else {
            return std::nullopt;
        }
    }
    return text;
}

void checkEscaped(const QString &cell)
{
    const QString escaped = escapeCellText(cell);
    FUZZ_CHECK(!escaped.contains(QLatin1Char('<')) && !escaped.contains(QLatin1Char('>')));
    for (const QChar c : escaped)
        FUZZ_CHECK(!isEscapedControl(c.unicode()));
    FUZZ_CHECK(unescaped(escaped) == cell);
}

// Reads CSV back as RFC 4180 has it: records end in CR LF outside quotes,
// fields are split by commas outside quotes, a doubled quote inside quotes is
// one quote. nullopt for text that is not such CSV.
std::optional<QList<QStringList>> parsedCsv(const QString &text)
{
    QList<QStringList> records;
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype at = 0; at < text.size(); ++at) {
        const QChar c = text.at(at);
        if (quoted) {
            if (c != u'"')
                field += c;
            else if (at + 1 < text.size() && text.at(at + 1) == u'"')
                field += text.at(++at);
            else
                quoted = false;
        } else if (c == u'"' && field.isEmpty()) {
            quoted = true;
        } else if (c == u',') {
            fields << field;
            field.clear();
        } else if (c == u'\r' && at + 1 < text.size() && text.at(at + 1) == u'\n') {
            fields << field;
            field.clear();
            records << fields;
            fields.clear();
            ++at;
        } else if (c == u'"' || c == u'\r' || c == u'\n') {
            return std::nullopt;
        } else {
            field += c;
        }
    }
    if (quoted || !field.isEmpty() || !fields.isEmpty())
        return std::nullopt;
    return records;
}

// Every ticked row comes back from the CSV as its own record with its cells,
// whatever the cells hold.
void checkCsv(const QStringList &headings, const QList<ExportRow> &rows)
{
    QList<QStringList> ticked{headings};
    QList<QStringList> tickedCells;
    for (const ExportRow &row : rows) {
        if (row.ticked) {
            // A row shorter than the headings comes back filled up with empty fields.
            QStringList padded = row.cells;
            while (padded.size() < headings.size())
                padded << QString();
            ticked << padded;
            tickedCells << row.cells;
        }
    }
    const QByteArray csv = csvTable(headings, tickedCells);
    FUZZ_CHECK(csv.startsWith("\xEF\xBB\xBF"));
    const std::optional<QList<QStringList>> records = parsedCsv(QString::fromUtf8(csv.mid(3)));
    FUZZ_CHECK(records.has_value());
    FUZZ_CHECK(records->size() == ticked.size());
    for (qsizetype record = 0; record < ticked.size(); ++record) {
        FUZZ_CHECK(records->at(record).size() == ticked.at(record).size());
        for (qsizetype cell = 0; cell < ticked.at(record).size(); ++cell) {
            // A lone surrogate cannot be written as UTF-8: it comes back as U+FFFD.
            // Read back behind a letter, as a U+FEFF at a field's start is not the file's byte-order mark.
            QString expected = QString::fromUtf8(("x" + csvField(ticked.at(record).at(cell))).toUtf8()).mid(1);
            if (expected.startsWith(u'"'))
                expected = expected.mid(1, expected.size() - 2).replace(QStringLiteral("\"\""), QStringLiteral("\""));
            FUZZ_CHECK(records->at(record).at(cell) == expected);
        }
    }
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
    for (const QString &line : text.split(QChar(0x1E))) {
        ExportRow row;
        row.cells = line.split(QChar(0x1F));
        row.ticked = !line.startsWith(QLatin1Char('!'));
        for (const QString &cell : row.cells)
            checkEscaped(cell);
        if (row.ticked) {
            ++ticked;
            tickedCells += int(row.cells.size());
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
    // Cells add no line end of their own, not even a lone CR or LF.
    const qsizetype lineEnds = 3 + rows.size() + ticked;
    FUZZ_CHECK(html.count(QStringLiteral("\r\n")) == lineEnds);
    FUZZ_CHECK(html.count(QLatin1Char('\r')) == lineEnds && html.count(QLatin1Char('\n')) == lineEnds);
    FUZZ_CHECK(!html.contains(QChar(0)));

    checkCsv(headings, rows);
    return 0;
}
