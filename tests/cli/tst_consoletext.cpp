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
