// SPDX-License-Identifier: MIT
#include "cli/ConsoleText.h"

#include <QTest>

class TestConsoleText : public QObject
{
    Q_OBJECT

private slots:
    void aTableOnATerminalShowsControlCharacters()
    {
        QCOMPARE(terminalTable(QByteArrayLiteral("a,\x1b]0;x\x07\r\nb,\x00"
                                                 "c\r\n")),
                 QByteArray("a,\\x1b]0;x\\x07\nb,\\x00c\n"));
    }

    void heatRunNamesBecomeSafeFileNames_data()
    {
        QTest::addColumn<QString>("meterName");
        QTest::addColumn<int>("slot");
        QTest::addColumn<QStringList>("taken");
        QTest::addColumn<QString>("fileName");

        QTest::newRow("kept as it is") << "HRT-TRAFO_2" << 0 << QStringList{} << "HRT-TRAFO_2.csv";
        QTest::newRow("blanks inside stay") << "T1 PHASE A" << 0 << QStringList{} << "T1 PHASE A.csv";
        QTest::newRow("path parts") << "../../etc/x" << 0 << QStringList{} << "_.._etc_x.csv";
        QTest::newRow("only a parent folder") << ".." << 2 << QStringList{} << "heat-run-3.csv";
        QTest::newRow("backslash and colon") << "C:\\T1" << 0 << QStringList{} << "C__T1.csv";
        QTest::newRow("control characters")
            << QString::fromLatin1("A\x1B[2J\x7F") << 0 << QStringList{} << "A__2J_.csv";
        QTest::newRow("non-ASCII") << QString::fromUtf8("M\xC3\xBCller") << 0 << QStringList{} << "M_ller.csv";
        QTest::newRow("blank name") << "            " << 0 << QStringList{} << "heat-run-1.csv";
        QTest::newRow("trailing dots and blanks") << " T1. " << 0 << QStringList{} << "T1.csv";
        QTest::newRow("reserved on Windows") << "con" << 0 << QStringList{} << "_con.csv";
        QTest::newRow("reserved with suffix") << "COM1.x" << 0 << QStringList{} << "_COM1.x.csv";
        QTest::newRow("not reserved") << "CONTACT" << 0 << QStringList{} << "CONTACT.csv";
        QTest::newRow("same name twice") << "T1" << 1 << QStringList{"t1.csv"} << "T1 (2).csv";
        QTest::newRow("three times") << "T1" << 2 << QStringList{"T1.csv", "T1 (2).csv"} << "T1 (3).csv";
    }
    void heatRunNamesBecomeSafeFileNames()
    {
        QFETCH(QString, meterName);
        QFETCH(int, slot);
        QFETCH(QStringList, taken);
        QTEST(heatRunFileName(meterName, slot, taken), "fileName");
    }

    void terminalTextShowsControlsAsEscapes()
    {
        QCOMPARE(terminalText(QString::fromLatin1("[KX\x1B]2;x\x07\x9B]")), QStringLiteral("[KX\\x1b]2;x\\x07\\x9b]"));
        QCOMPARE(terminalText(QString::fromUtf8("12.5 \xC2\xB5")), QString::fromUtf8("12.5 \xC2\xB5"));
    }

    void progressLineTellsRateAndTimeLeft_data()
    {
        QTest::addColumn<int>("done");
        QTest::addColumn<int>("total");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("line");

        QTest::newRow("start") << 0 << 100 << 0.0 << "[--------------------]   0/100 files";
        QTest::newRow("quarter") << 25 << 100 << 2.5 << "[#####---------------]  25/100 files  10.0 files/s  0:08 left";
        QTest::newRow("minutes left") << 1 << 1000 << 0.5
                                      << "[--------------------]    1/1000 files  2.0 files/s  8:20 left";
        QTest::newRow("done") << 7 << 7 << 1.0 << "[####################] 7/7 files  7.0 files/s  0:00 left";
        QTest::newRow("nothing to read") << 0 << 0 << 0.0 << "[####################] 0/0 files";
    }
    void progressLineTellsRateAndTimeLeft()
    {
        QFETCH(int, done);
        QFETCH(int, total);
        QFETCH(double, seconds);
        QTEST(progressLine(done, total, seconds), "line");
    }
};

QTEST_GUILESS_MAIN(TestConsoleText)
#include "tst_consoletext.moc"
