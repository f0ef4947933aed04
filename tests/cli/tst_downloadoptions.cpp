// SPDX-License-Identifier: MIT
#include "cli/DownloadOptions.h"

#include <QTest>

Q_DECLARE_METATYPE(DownloadOptions::Format)

class TestDownloadOptions : public QObject
{
    Q_OBJECT

private slots:
    void readsAGoodCommandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("port");
        QTest::addColumn<DownloadOptions::Format>("format");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("heatRuns");
        QTest::addColumn<bool>("quiet");
        QTest::addColumn<double>("wait");

        using F = DownloadOptions::Format;
        QTest::newRow("port alone: CSV to standard output") << QStringList{"--port", "3"} << 3 << F::Csv << "-"
                                                            << "" << false << 0.0;
        QTest::newRow("the port's usual name") << QStringList{"--port=COM12"} << 12 << F::Csv << "-"
                                               << "" << false << 0.0;
        QTest::newRow("format from the output's suffix")
            << QStringList{"-p", "1", "-o", "files.JSON"} << 1 << F::Json << "files.JSON"
            << "" << false << 0.0;
        QTest::newRow(".htm is HTML") << QStringList{"--port", "1", "--output", "a.htm"} << 1 << F::Html << "a.htm"
                                      << "" << false << 0.0;
        QTest::newRow("a given format wins over the suffix")
            << QStringList{"--port", "1", "--format", "html", "--output", "a.csv"} << 1 << F::Html << "a.csv"
            << "" << false << 0.0;
        QTest::newRow(".xlsx is a workbook") << QStringList{"--port", "1", "--output", "a.xlsx"} << 1 << F::Xlsx
                                             << "a.xlsx" << "" << false << 0.0;
        QTest::newRow("unknown suffix: CSV")
            << QStringList{"--port", "1", "--output", "a.txt"} << 1 << F::Csv << "a.txt"
            << "" << false << 0.0;
        QTest::newRow("everything") << QStringList{"--quiet",     "--port", "32",     "--format=json",
                                                   "--heat-runs", "hr",     "--wait", "2.5"}
                                    << 32 << F::Json << "-"
                                    << "hr" << true << 2.5;
    }
    void readsAGoodCommandLine()
    {
        QFETCH(QStringList, arguments);
        const DownloadCommand command = readDownloadCommand(arguments);
        QCOMPARE(command.action, DownloadCommand::Action::Run);
        QTEST(command.options.port, "port");
        QTEST(command.options.format, "format");
        QTEST(command.options.output, "output");
        QTEST(command.options.heatRunFolder, "heatRuns");
        QTEST(command.options.quiet, "quiet");
        QTEST(command.options.waitSeconds, "wait");
    }

    void portAutoSearches()
    {
        const DownloadCommand command = readDownloadCommand({"--port", "AUTO", "-o", "a.xlsx"});
        QCOMPARE(command.action, DownloadCommand::Action::Run);
        QVERIFY(command.options.searchPorts);
        QVERIFY(!readDownloadCommand({"--port", "auto", "--port", "3"}).options.searchPorts);
    }

    void refusesABadCommandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("named"); // what the message must name

        QTest::newRow("no port") << QStringList{"--format", "csv"} << "--port is needed";
        QTest::newRow("port out of range") << QStringList{"--port", "33"} << "\"33\"";
        QTest::newRow("port zero") << QStringList{"--port", "0"} << "\"0\"";
        QTest::newRow("port not a number") << QStringList{"--port", "ttyUSB0"} << "\"ttyUSB0\"";
        QTest::newRow("port without value") << QStringList{"--port"} << "--port needs a value";
        QTest::newRow("unknown format") << QStringList{"--port", "1", "--format", "xls"} << "csv, html, json or xlsx, not \"xls\"";
        QTest::newRow("unknown argument") << QStringList{"--port", "1", "--verbose"} << "\"--verbose\"";
        QTest::newRow("stray word") << QStringList{"--port", "1", "files.csv"} << "\"files.csv\"";
        QTest::newRow("bad file list") << QStringList{"--port", "1", "--files", "3-1"} << "\"3-1\"";
        QTest::newRow("negative wait") << QStringList{"--port", "1", "--wait", "-1"} << "\"-1\"";
        QTest::newRow("wait not a number") << QStringList{"--port", "1", "--wait", "soon"} << "\"soon\"";
        QTest::newRow("empty output") << QStringList{"--port", "1", "--output="} << "--output needs a file name";
        QTest::newRow("flag with a value") << QStringList{"--port", "1", "--quiet=yes"} << "\"--quiet=yes\"";
    }
    void refusesABadCommandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, named);
        const DownloadCommand command = readDownloadCommand(arguments);
        QCOMPARE(command.action, DownloadCommand::Action::UsageError);
        QVERIFY2(command.text.contains(named), qPrintable(command.text));
        QVERIFY(command.text.endsWith(QLatin1String("--help\" for more.\n")));
    }

    void helpAndVersionPrint()
    {
        const DownloadCommand help = readDownloadCommand({"--port", "99", "--help"});
        QCOMPARE(help.action, DownloadCommand::Action::UsageError); // the bad port comes first
        const DownloadCommand onlyHelp = readDownloadCommand({"-h"});
        QCOMPARE(onlyHelp.action, DownloadCommand::Action::Print);
        QVERIFY(onlyHelp.text.startsWith(QLatin1String("Usage: kestrix-download --port N")));
        const DownloadCommand version = readDownloadCommand({"--version"});
        QCOMPARE(version.action, DownloadCommand::Action::Print);
        QVERIFY(version.text.startsWith(QLatin1String("kestrix-download ")));
    }

    void fileListsSelectFiles_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QList<int>>("wanted");
        QTest::addColumn<QList<int>>("notWanted");

        QTest::newRow("one") << "7" << QList<int>{7} << QList<int>{6, 8};
        QTest::newRow("range") << "2-4" << QList<int>{2, 3, 4} << QList<int>{1, 5};
        QTest::newRow("open end") << "98-" << QList<int>{98, 99, 5000} << QList<int>{97};
        QTest::newRow("mixed, blanks") << " 1 , 5-6,10 " << QList<int>{1, 5, 6, 10} << QList<int>{2, 7, 9, 11};
    }
    void fileListsSelectFiles()
    {
        QFETCH(QString, list);
        QFETCH(QList<int>, wanted);
        QFETCH(QList<int>, notWanted);
        const DownloadCommand command = readDownloadCommand({"--port", "1", "--files", list});
        QCOMPARE(command.action, DownloadCommand::Action::Run);
        for (const int number : wanted)
            QVERIFY2(command.options.wantsFile(number), qPrintable(QString::number(number)));
        for (const int number : notWanted)
            QVERIFY2(!command.options.wantsFile(number), qPrintable(QString::number(number)));
    }

    void refusesFileListsThatAreNot_data()
    {
        QTest::addColumn<QString>("list");
        for (const char *bad : {"", "0", "1,,2", "a", "-5", "5-3", "1-2-3", "100000", "1.5"})
            QTest::newRow(bad) << QString::fromLatin1(bad);
    }
    void refusesFileListsThatAreNot()
    {
        QFETCH(QString, list);
        QVERIFY(!readFileList(list));
    }

    void noListWantsEveryFile()
    {
        const DownloadOptions options;
        QVERIFY(options.wantsFile(1));
        QVERIFY(options.wantsFile(9999));
    }
};

QTEST_GUILESS_MAIN(TestDownloadOptions)
#include "tst_downloadoptions.moc"
