// SPDX-License-Identifier: MIT
#include "protocol/CsvTable.h"

#include <QTest>

class TestCsvTable : public QObject
{
    Q_OBJECT
private slots:
    void fieldIsSpreadsheetSafe_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("field");
        QTest::newRow("number") << "2.345678" << "2.345678";
        QTest::newRow("screen padding dropped") << "  100.0 " << "100.0";
        QTest::newRow("empty cell marker") << "  ---" << "---";
        QTest::newRow("negative number") << "-12.5" << "-12.5";
        QTest::newRow("decimal comma") << "2,5" << "\"2,5\"";
        QTest::newRow("quote doubled") << "say \"hi\"" << "\"say \"\"hi\"\"\"";
        QTest::newRow("line break kept inside quotes") << "a\r\nb" << "\"a\r\nb\"";
        QTest::newRow("formula") << "=1+1" << "'=1+1";
        QTest::newRow("plus") << "+A1" << "'+A1";
        QTest::newRow("at") << "@SUM(A1)" << "'@SUM(A1)";
        QTest::newRow("out of range") << "-Under-" << "'-Under-";
        QTest::newRow("minus and a sum") << "-1+1+A1" << "'-1+1+A1";
        QTest::newRow("minus and a number sum") << "-2+3" << "'-2+3";
        QTest::newRow("minus and a bracket") << "-(A1)" << "'-(A1)";
        QTest::newRow("negative with an exponent") << "-1.5E-3" << "-1.5E-3";
        QTest::newRow("negative with a decimal comma") << "-0,5" << "\"-0,5\"";
        QTest::newRow("formula with comma") << "=A1,B1" << "\"'=A1,B1\"";
        QTest::newRow("micro sign") << QString::fromUtf8("0.5678 \xC2\xB5") << QString::fromUtf8("0.5678 \xC2\xB5");
        QTest::newRow("empty") << "" << "";
    }
    void fieldIsSpreadsheetSafe()
    {
        QFETCH(QString, cell);
        QFETCH(QString, field);
        QCOMPARE(csvField(cell), field);
    }

    void tableIsUtf8WithMarkAndCrLf()
    {
        const QByteArray table = csvTable({" File No. ", " Resistance (Ohm) "},
                                          {{"1", QString::fromUtf8("0.5 \xC2\xB5")}, {"3", "  ---"}});
        QCOMPARE(table, QByteArray("\xEF\xBB\xBF"
                                   "File No.,Resistance (Ohm)\r\n"
                                   "1,0.5 \xC2\xB5\r\n"
                                   "3,---\r\n"));
    }

    void noRowsGiveTheHeadingsOnly()
    {
        QCOMPARE(csvTable({"A", "B"}, {}), QByteArray("\xEF\xBB\xBF" "A,B\r\n"));
    }

    void shortRowsAreFilledUp()
    {
        // A winding file without its temperature has four cells of eight.
        QCOMPARE(csvTable({"A", "B", "C"}, {{"1", "x"}}), QByteArray("\xEF\xBB\xBF" "A,B,C\r\n1,x,\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestCsvTable)
#include "tst_CsvTable.moc"
