// SPDX-License-Identifier: MIT
#include "protocol/ExportColumns.h"
#include "protocol/HtmlTable.h"

#include <QTest>

namespace {

const QString tableStart = QStringLiteral("<html><table border=\"1\"  cellpadding=\"5\">\r\n");
const QString tableEnd = QStringLiteral("</table></html>\r\n");
const QString emptyLine = QStringLiteral("\r\n");

ExportRow ticked(const QStringList &cells)
{
    return {true, cells};
}

ExportRow unticked(const QStringList &cells = {})
{
    return {false, cells};
}

} // namespace

class TestHtmlTable : public QObject
{
    Q_OBJECT

private slots:
    void windingRowsTwoAndFourOfFour();
    void contactRowsOneAndThreeOfThree();
    void cableRowsOneAndThreeOfThree();
    void nothingTicked();
    void noSlots();
    void untickedCellsAreNotWritten();
    void escapeCellText_data();
    void escapeCellText();
    void escapedCellInTable();
    void controlCharactersStayOnTheRowsLine_data();
    void controlCharactersStayOnTheRowsLine();
};

void TestHtmlTable::windingRowsTwoAndFourOfFour()
{
    const QList<ExportRow> rows = {
        unticked({"1", "FILE01", "    1.234", "    12.50", "25.3", "1.208297", "12.23964", "Copper"}),
        ticked(windingExportCells({"2", "FILE02", "    1.234", "    12.50", "25.3", "1.208297", "12.23964", "Copper"},
                                  true)),
        unticked(),
        // Temperature out of range: the row keeps "  ---" and is written short.
        ticked(windingExportCells({"4", "FILE04", "    2.000", "  -----  ", "  ---", "  ---", "  ---", "  ---"},
                                  false)),
    };
    const QString expected = tableStart
        + "<tr><th> File No. </th><th> Filename </th><th> Ch1 (Ohm) </th><th> Ch2 (Ohm) </th>"
          "<th> Temperature (Deg) </th><th> Ch1 (Ohm) at 20Deg </th><th> Ch2 (Ohm) at 20Deg </th>"
          "<th> Conductor </th></tr>\r\n"
        + emptyLine
        + "<tr><td>2</td><td>FILE02</td><td>    1.234</td><td>    12.50</td><td>25.3</td><td>1.208297</td>"
          "<td>12.23964</td><td>Copper</td></tr>\r\n"
        + emptyLine + emptyLine
        + "<tr><td>4</td><td>FILE04</td><td>    2.000</td><td>  -----  </td></tr>\r\n" + emptyLine + tableEnd;
    QCOMPARE(htmlTable(windingHeadings(), rows), expected);
}

void TestHtmlTable::contactRowsOneAndThreeOfThree()
{
    const QList<ExportRow> rows = {
        ticked({"1", "07/03/21 - 14:05:09", "-Over-", ""}),
        unticked({"2", "  ---", "  ---", "  ---"}),
        ticked({"3", "08/03/21 - 09:00:00", "123E-3", "10.00"}),
    };
    const QString expected = tableStart
        + "<tr><th> File No. </th><th> File Date & Time </th><th> Resistance (Ohm) </th><th> Current (A) </th>"
          "</tr>\r\n"
        + "<tr><td>1</td><td>07/03/21 - 14:05:09</td><td>-Over-</td><td></td></tr>\r\n" + emptyLine + emptyLine
        + "<tr><td>3</td><td>08/03/21 - 09:00:00</td><td>123E-3</td><td>10.00</td></tr>\r\n" + emptyLine
        + tableEnd;
    QCOMPARE(htmlTable(contactHeadings(), rows), expected);
}

void TestHtmlTable::cableRowsOneAndThreeOfThree()
{
    const QList<ExportRow> rows = {
        // A failed fetch keeps "  ---" in every value column.
        ticked(cableExportCells({"1", "  ---", "  ---", "  ---", "  ---", "  ---", "  ---"})),
        unticked(cableExportCells({"2", "CAB0002", "07/03/21 - 14:05:09", "1.2345", "95", "12.5", "Copper"})),
        // No cable size; a micro resistance.
        ticked(cableExportCells({"3", "CAB0003", "07/03/21 - 14:05:09", QStringLiteral("0.5678 \u00B5"), "  ---",
                                 "12.5", "Aluminium"})),
    };
    const QString expected = tableStart
        + "<tr><th> File No. </th><th> File Name </th><th> Date & Time </th><th> Resistance (Ohm) </th>"
          "<th> Cable Size (sq. mm) </th><th> Conductor </th><th> Current (A) </th></tr>\r\n"
        + "<tr><td>1</td><td>  ---</td><td>  ---</td><td>  ---</td><td>  ---</td><td>  ---</td><td>  ---</td>"
          "</tr>\r\n"
        + emptyLine + emptyLine
        + QStringLiteral("<tr><td>3</td><td>CAB0003</td><td>07/03/21 - 14:05:09</td><td>0.5678 \u00B5</td>"
                         "<td>  ---</td><td>Aluminium</td><td>12.5</td></tr>\r\n")
        + emptyLine + tableEnd;
    QCOMPARE(htmlTable(cableHeadings(), rows), expected);
}

void TestHtmlTable::nothingTicked()
{
    const QString expected = tableStart + "<tr><th> A </th><th> B </th></tr>\r\n" + emptyLine + emptyLine + tableEnd;
    QCOMPARE(htmlTable({" A ", " B "}, {unticked(), unticked()}), expected);
}

void TestHtmlTable::noSlots()
{
    QCOMPARE(htmlTable({" A "}, {}), tableStart + "<tr><th> A </th></tr>\r\n" + tableEnd);
}

void TestHtmlTable::untickedCellsAreNotWritten()
{
    const QString html = htmlTable({" A "}, {unticked({"secret"}), ticked({"shown"})});
    QVERIFY(!html.contains(QStringLiteral("secret")));
    QVERIFY(html.contains(QStringLiteral("<tr><td>shown</td></tr>\r\n\r\n")));
}

void TestHtmlTable::escapeCellText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << "  ---" << "  ---";
    QTest::newRow("markup") << "<b>&" << "&lt;b&gt;&amp;";
    QTest::newRow("entity is escaped again") << "&amp;" << "&amp;amp;";
    QTest::newRow("quotes stay") << "\"x\" 'y'" << "\"x\" 'y'";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("micro sign stays") << QStringLiteral("0.5678 \u00B5") << QStringLiteral("0.5678 \u00B5");
    QTest::newRow("Latin-1 letters stay") << QStringLiteral("\u00C5l\u00E9") << QStringLiteral("\u00C5l\u00E9");
    QTest::newRow("CR LF") << "A\r\nB" << "A&#13;&#10;B";
    QTest::newRow("lone LF") << "\n" << "&#10;";
    QTest::newRow("NUL") << QString(QChar(0)) + "B" << "&#9216;B";
    QTest::newRow("NUL symbol typed as such stays") << QStringLiteral("\u2400") << QStringLiteral("\u2400");
    QTest::newRow("ESC sequence") << "\x1b[1m" << "&#27;[1m";
    QTest::newRow("tab") << "a\tb" << "a&#9;b";
    QTest::newRow("SOH and unit separator") << "\x01\x1f" << "&#1;&#31;";
    QTest::newRow("DEL") << "x\x7f" << "x&#127;";
    QTest::newRow("control next to markup") << "<\r&" << "&lt;&#13;&amp;";
    // References 128 to 159 mean other characters in HTML; a C1 control
    // splits no line in the file, so it is left as it is.
    QTest::newRow("C1 control stays") << QStringLiteral("\u0085") << QStringLiteral("\u0085");
}

void TestHtmlTable::escapeCellText()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(::escapeCellText(text), expected);
}

void TestHtmlTable::escapedCellInTable()
{
    const QString expected = tableStart + "<tr><th> Date & Time </th></tr>\r\n"
        + "<tr><td> &lt;b&gt;&amp; </td></tr>\r\n" + emptyLine + tableEnd;
    QCOMPARE(htmlTable({" Date & Time "}, {ticked({" <b>& "})}), expected);
}

void TestHtmlTable::controlCharactersStayOnTheRowsLine_data()
{
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QString>("rowLine");
    QTest::newRow("file name with CR LF") << QStringList{"3", "AB\r\nCD"}
                                          << "<tr><td>3</td><td>AB&#13;&#10;CD</td></tr>\r\n";
    QTest::newRow("NUL inside a name") << QStringList{"3", QString("AB") + QChar(0) + "CD"}
                                       << "<tr><td>3</td><td>AB&#9216;CD</td></tr>\r\n";
    QTest::newRow("bare CR and LF") << QStringList{"\r", "\n"} << "<tr><td>&#13;</td><td>&#10;</td></tr>\r\n";
    QTest::newRow("ESC and DEL") << QStringList{"3", "\x1b[2J\x7f"} << "<tr><td>3</td><td>&#27;[2J&#127;</td></tr>\r\n";
    QTest::newRow("normal row unchanged") << QStringList{"3", "  FILE03  "}
                                          << "<tr><td>3</td><td>  FILE03  </td></tr>\r\n";
}

void TestHtmlTable::controlCharactersStayOnTheRowsLine()
{
    QFETCH(QStringList, cells);
    QFETCH(QString, rowLine);
    const QString html = htmlTable({" File No. ", " Filename "}, {unticked({"1", "x\r\ny"}), ticked(cells)});
    const QString expected = tableStart + "<tr><th> File No. </th><th> Filename </th></tr>\r\n" + emptyLine + rowLine
        + emptyLine + tableEnd;
    QCOMPARE(html, expected);
    // Six lines, each ended by the table's own CR LF, and no NUL anywhere.
    QCOMPARE(html.count(QLatin1Char('\r')), 6);
    QCOMPARE(html.count(QLatin1Char('\n')), 6);
    QVERIFY(!html.contains(QChar(0)));
}

QTEST_GUILESS_MAIN(TestHtmlTable)
#include "tst_HtmlTable.moc"
