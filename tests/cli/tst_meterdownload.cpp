// SPDX-License-Identifier: MIT
// The command line's download against the simulator's meter in this process,
// with the waits shortened; the window it is held to runs the same way.
#include "cli/MeterDownload.h"

#include "FastTiming.h"
#include "MemoryMeter.h"
#include "MeterHarness.h"
#include "ReadFile.h"
#include "TemporaryConfigHome.h"
#include "WorkbookCells.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

namespace {

// One command-line run on an in-memory meter.
struct CommandLineRun
{
    explicit CommandLineRun(const QStringList &simArguments)
        : meter(simArguments)
    {
        options.port = 1;
        options.quiet = true;
        options.output = folder.filePath(QStringLiteral("out"));
    }

    int run()
    {
        const std::unique_ptr<SerialLink> port = meter.makePort();
        DownloadConsole console;
        console.error = [this](const QString &line) { errors << line; };
        console.standardOutput = [this](const QByteArray &bytes) {
            standardOutput += bytes;
            return true;
        };
        int status = -1;
        {
            MeterDownload download(options, *port, stop, console, fastTiming(), QLocale::c(), systemPorts);
            status = download.run();
        }
        portsLeftOpen = meter.openPorts;
        return status;
    }

    QByteArray output() const { return readFile(options.output); }

    MemoryMeter meter;
    DownloadOptions options;
    PortSource systemPorts = [] { return QList<PortInfo>{}; };
    StopRequest stop;
    QTemporaryDir folder;
    QStringList errors;
    QByteArray standardOutput;
    int portsLeftOpen = -1;
};

struct Family
{
    const char *name;
    const char *model;
    MeterFamily kind;
    QStringList simArguments;
};

QList<Family> families()
{
    return {
        {"winding", "[KX-W2]", MeterFamily::Winding, {"--family", "winding", "--files", "9", "--empty", "1,4"}},
        {"winding, short records", "[KX-W1]", MeterFamily::Winding, {"--family", "winding", "--short", "--empty", "0"}},
        {"contact", "[KX-C1]", MeterFamily::Contact, {"--family", "contact", "--files", "11", "--empty", "2,10"}},
        {"ratio", "KXT1", MeterFamily::Ratio, {"--family", "ratio", "--files", "3"}},
        {"cable", "[KX-R1]", MeterFamily::Cable, {"--family", "cable", "--files", "12", "--empty", "5"}},
    };
}

} // namespace

class TestMeterDownload : public QObject
{
    Q_OBJECT

private:
    TemporaryConfigHome m_config; // no COMn links of the user's

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void htmlIsTheWindowsExportOfEveryFile_data()
    {
        QTest::addColumn<QStringList>("simArguments");
        QTest::addColumn<QString>("model");
        QTest::addColumn<MeterFamily>("kind");
        QTest::addColumn<QStringList>("faults");
        for (const Family &family : families())
            QTest::newRow(family.name) << family.simArguments << family.model << family.kind << QStringList{};
        // The second record fails: the window's row keeps its "  ---" (and a
        // winding meter's blank name), and so does the command line's.
        for (const Family &family : families())
            QTest::addRow("%s, second record fails", family.name)
                << family.simArguments << family.model << family.kind
                << QStringList{"--bad-end", "--fault-only",
                               family.kind == MeterFamily::Winding && family.simArguments.contains("--short")
                                   ? "{1101}"
                                   : (family.kind == MeterFamily::Cable ? "{100001}" : "{110001}")};
    }
    void htmlIsTheWindowsExportOfEveryFile()
    {
        QFETCH(QStringList, simArguments);
        QFETCH(QString, model);
        QFETCH(MeterFamily, kind);
        QFETCH(QStringList, faults);
        const QStringList arguments = QStringList{"--model", model} + simArguments + faults;

        MeterHarness window(model, kind, arguments);
        QVERIFY(window.load());
        window.click(QStringLiteral("cmdRM")); // the winding window's list; no such button elsewhere
        QVERIFY(window.click(QStringLiteral("lblSelectAll")));
        const QString exported = window.files.filePath(QStringLiteral("window.html"));
        QVERIFY(window.download(exported));

        CommandLineRun commandLine(arguments);
        commandLine.options.format = DownloadOptions::Format::Html;
        const int status = commandLine.run();
        QCOMPARE(status, faults.isEmpty() ? ExitStatus::allRead : ExitStatus::someFailed);
        QCOMPARE(commandLine.output(), readFile(exported));
        // The same conversation, after the identification the detection window has.
        QCOMPARE(commandLine.meter.requests, QStringList{"{00}"} + window.requests());
        QCOMPARE(commandLine.portsLeftOpen, 0);
        if (!faults.isEmpty())
            QCOMPARE(commandLine.errors, QStringList{"File 2: Error downloading the file"});
    }

    void exitStatusTellsWhatHappened_data()
    {
        QTest::addColumn<QStringList>("simArguments");
        QTest::addColumn<bool>("unplugged");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("firstError");
        QTest::addColumn<bool>("outputWritten");

        QTest::newRow("every file read") << QStringList{"--family", "cable", "--files", "4", "--empty", "1"} << false
                                         << ExitStatus::allRead << "" << true;
        QTest::newRow("records fail") << QStringList{"--family",   "cable", "--files",      "4",
                                                     "--truncate", "3",     "--fault-only", "{1000"}
                                      << false << ExitStatus::someFailed << "File 1: Communication Error" << true;
        QTest::newRow("silent meter") << QStringList{"--silent"} << false << ExitStatus::noMeter
                                      << "kestrix-download: no meter answered on COM 1. Check that it is connected "
                                         "and that \"Send Files to PC\" mode is selected."
                                      << false;
        QTest::newRow("port cannot be opened") << QStringList{"--family", "cable"} << true << ExitStatus::noMeter
                                               << "kestrix-download: COM 1 cannot be opened: " << false;
        QTest::newRow("count not answered")
            << QStringList{"--family", "cable", "--silent-after", "1"} << false << ExitStatus::noMeter
            << "kestrix-download: Error Communication with Cable Resistance Meter" << false;
        QTest::newRow("a meter that falls silent ends the load after five time-outs")
            << QStringList{"--family", "contact", "--files", "40", "--silent-after", "4"} << false
            << ExitStatus::someFailed << "kestrix-download: 5 files in a row got no answer; the load ends here"
            << true;
        QTest::newRow("files beyond the meter's last") << QStringList{"--family", "cable", "--files", "4"} << false
                                                       << ExitStatus::badArguments
                                                       << "kestrix-download: --files names no file of this meter"
                                                       << false;
        QTest::newRow("winding start-up not answered")
            << QStringList{"--family", "winding", "--silent-after", "2"} << false << ExitStatus::noMeter
            << "kestrix-download: Error Communication with Winding Resistance Meter" << false;
    }
    void exitStatusTellsWhatHappened()
    {
        QFETCH(QStringList, simArguments);
        QFETCH(bool, unplugged);
        QFETCH(QString, firstError);
        QFETCH(bool, outputWritten);
        CommandLineRun run(simArguments);
        if (unplugged)
            run.meter.unplug();
        if (QTest::currentDataTag() == QByteArrayLiteral("files beyond the meter's last"))
            run.options.files = {{12, 0}};
        QTEST(run.run(), "status");
        QCOMPARE(run.errors.isEmpty(), firstError.isEmpty());
        if (!firstError.isEmpty())
            QVERIFY2(run.errors.first().startsWith(firstError), qPrintable(run.errors.join(u'\n')));
        QCOMPARE(QFile::exists(run.options.output), outputWritten);
        QCOMPARE(run.portsLeftOpen, 0);
    }

    void stoppedLoadWritesNothing()
    {
        CommandLineRun run({"--family", "contact", "--files", "20"});
        QFile::remove(run.options.output);
        QVERIFY(QFile(run.options.output + QStringLiteral(".keep")).open(QIODevice::WriteOnly));
        run.meter.onRequest = [&run](const QByteArray &request) {
            if (request == "{110007}")
                run.stop.request(); // Ctrl-C during the eighth record
        };
        QCOMPARE(run.run(), ExitStatus::interrupted);
        QVERIFY(!QFile::exists(run.options.output));
        QVERIFY(!run.meter.requests.contains("{110008}"));
        QCOMPARE(run.portsLeftOpen, 0);
    }

    void aLostMeterKeepsWhatWasRead()
    {
        CommandLineRun run({"--family", "contact", "--files", "5"});
        run.meter.onRequest = [&run](const QByteArray &request) {
            if (request == "{110002}")
                run.meter.unplug();
        };
        QCOMPARE(run.run(), ExitStatus::someFailed);
        const QByteArray csv = run.output();
        QVERIFY2(csv.contains("\r\n2,") && !csv.contains("\r\n4,"), csv.constData());
        QVERIFY2(csv.contains("\r\n3,,,,,,The meter is no longer connected. The files read so far are listed.\r\n"),
                 csv.constData());
        QCOMPARE(run.errors.mid(1), (QStringList{"File 4: not read", "File 5: not read"}));
    }

    void anOutputThatCannotBeWrittenIsFoundBeforeTheMeterIsAsked_data()
    {
        QTest::addColumn<QString>("output");
        QTest::newRow("missing folder") << "missing/out.csv";
        QTest::newRow("a folder") << ".";
    }
    void anOutputThatCannotBeWrittenIsFoundBeforeTheMeterIsAsked()
    {
        QFETCH(QString, output);
        CommandLineRun run({"--family", "cable", "--files", "4"});
        run.options.output = run.folder.filePath(output);
        QCOMPARE(run.run(), ExitStatus::outputNotWritten);
        QVERIFY(run.meter.requests.isEmpty());
        QCOMPARE(run.errors.size(), 1);
    }

    void onlyTheListedFilesAreAskedFor()
    {
        CommandLineRun run({"--family", "cable", "--files", "6"});
        run.options.files = {{2, 3}, {6, 0}, {9, 9}};
        run.options.output = QStringLiteral("-");
        run.options.format = DownloadOptions::Format::Json;
        QCOMPARE(run.run(), ExitStatus::someFailed); // file 9 is not on the meter
        QCOMPARE(run.meter.requests, (QStringList{"{00}", "{01}", "{100001}", "{100002}", "{100005}"}));
        QCOMPARE(run.errors, QStringList{"File 9: the meter has 6 files"});
        QVERIFY(run.standardOutput.startsWith("{\n  \"model\": \"[KX-R1]\",\n"));
        QCOMPARE(run.standardOutput.count("\"File No.\""), 3);
    }

    // --port auto asks the USB adapters in turn (COM 1 has nothing behind
    // it here), never the built-in port.
    void portAutoAsksTheAdaptersOnly_data()
    {
        QTest::addColumn<QString>("meterOn");
        QTest::addColumn<QString>("model");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("errors");
        const QStringList noMeter{"kestrix-download: no meter answered on COM 1, COM 2. Check that it is connected "
                                  "and that \"Send Files to PC\" mode is selected."};
        QTest::newRow("the second adapter") << "2" << "[KX-R1]" << int(ExitStatus::allRead) << QStringList{};
        QTest::newRow("the built-in port") << "3" << "[KX-R1]" << int(ExitStatus::noMeter) << noMeter;
        // Some other device that answers with 4 bytes is no meter to a search.
        QTest::newRow("not a model") << "2" << "$GPS" << int(ExitStatus::noMeter) << noMeter;
    }
    void portAutoAsksTheAdaptersOnly()
    {
        QFETCH(QString, meterOn);
        QFETCH(QString, model);
        CommandLineRun run({"--family", "cable", "--model", model, "--files", "2", "--com", meterOn});
        run.options.searchPorts = true;
        run.systemPorts = [] {
            return QList<PortInfo>{{"/dev/ttyS0", "", "", "", false},
                                   {"/dev/ttyUSB1", "USB Serial", "", "", true},
                                   {"/dev/ttyUSB0", "FT232R USB UART", "FTDI", "A10K", true}};
        };
        QTEST(run.run(), "status");
        QTEST(run.errors, "errors");
        QCOMPARE(run.meter.requests.isEmpty(), meterOn == "3");
        if (model != "[KX-R1]")
            QCOMPARE(run.meter.requests, QStringList{"{00}"}); // asked once, never taken for a meter
    }

    void portAutoWithoutAnAdapterAsksNothing()
    {
        CommandLineRun run({"--family", "cable", "--files", "2"});
        run.options.searchPorts = true;
        QCOMPARE(run.run(), ExitStatus::noMeter);
        QVERIFY(run.meter.requests.isEmpty());
        QCOMPARE(run.errors.size(), 1);
    }

    // The workbook holds the CSV's columns, numbers as numbers, texts as texts.
    void workbookCellsAreTheCsvsValues()
    {
        if (!canReadWorkbooks())
            QSKIP("unzip is needed to read a workbook back");
        CommandLineRun run({"--family", "cable", "--files", "4", "--empty", "1"});
        run.options.format = DownloadOptions::Format::Xlsx;
        QCOMPARE(run.run(), ExitStatus::allRead);
        const Workbook workbook = readWorkbook(run.options.output);
        QVERIFY2(workbook.error.isEmpty(), qPrintable(workbook.error));
        QCOMPARE(workbook.sheetName, QString("KX-R1"));

        run.options.format = DownloadOptions::Format::Csv;
        QCOMPARE(run.run(), ExitStatus::allRead);
        const QList<QByteArray> lines = run.output().mid(3).split('\n'); // after the byte-order mark
        QCOMPARE(lines.size(), 1 + 3 + 1);
        int numbers = 0;
        for (int line = 0; line < 4; ++line) {
            const QStringList fields = QString::fromUtf8(lines[line].trimmed()).split(u',');
            QCOMPARE(fields.size(), 10);
            for (int column = 0; column < fields.size(); ++column) {
                const QString reference = QChar(u'A' + column) + QString::number(line + 1);
                const WorkbookCell cell = workbook.cells.value(reference);
                if (cell.type == QLatin1String("s")) {
                    QCOMPARE(cell.value, fields[column]);
                } else if (cell.format.startsWith(QLatin1String("yyyy"))) {
                    const QDateTime serialDate = QDateTime(QDate(1899, 12, 30), QTime(0, 0)).addMSecs(
                        qint64(std::llround(cell.value.toDouble() * 86400) * 1000));
                    QCOMPARE(serialDate.toString(Qt::ISODate), fields[column]);
                } else {
                    QVERIFY2(cell.type == QLatin1String("n") && !fields[column].isEmpty(), qPrintable(reference));
                    QCOMPARE(cell.value.toDouble(), fields[column].toDouble());
                    QCOMPARE(cell.format.section(u'.', 1).size(), fields[column].section(u'.', 1).size());
                    ++numbers;
                }
            }
        }
        QCOMPARE(numbers, 3 * 4); // file number, ohms, size and current of three files
    }

    void heatRunFilesAreTheWindowsDownloads()
    {
        const QStringList arguments{"--family", "winding", "--files", "2", "--heat-run", "3", "--empty-heat-run", "1"};
        MeterHarness window(QStringLiteral("[KX-W1]"), MeterFamily::Winding, arguments);
        QVERIFY(window.load());
        QVERIFY(window.click(QStringLiteral("cmdHRT")));
        const QString first = window.files.filePath(QStringLiteral("first.csv"));
        const QString third = window.files.filePath(QStringLiteral("third.csv"));
        window.dialogs.saveAnswers << first << third;
        QVERIFY(window.click(QStringLiteral("cmdDownload_0")));
        QVERIFY(window.click(QStringLiteral("cmdDownload_2")));

        CommandLineRun run(arguments);
        run.options.heatRunFolder = run.folder.filePath(QStringLiteral("heat runs"));
        QCOMPARE(run.run(), ExitStatus::allRead);
        QCOMPARE(run.meter.requests.mid(run.meter.requests.size() - 2), (QStringList{"{1001}", "{1003}"}));
        const QStringList saved = QDir(run.options.heatRunFolder).entryList(QDir::Files, QDir::Name);
        QList<QByteArray> savedBytes;
        for (const QString &name : saved)
            savedBytes << readFile(run.options.heatRunFolder + u'/' + name);
        QList<QByteArray> windowBytes{readFile(first), readFile(third)};
        std::sort(savedBytes.begin(), savedBytes.end());
        std::sort(windowBytes.begin(), windowBytes.end());
        QCOMPARE(savedBytes, windowBytes);
        const auto *firstName = window.window->findChild<QLabel *>(QStringLiteral("lblFile_0"));
        QVERIFY(firstName);
        QVERIFY2(saved.contains(firstName->text().trimmed() + QStringLiteral(".csv")), qPrintable(saved.join(u',')));
    }
};

QTEST_MAIN(TestMeterDownload)
#include "tst_meterdownload.moc"
