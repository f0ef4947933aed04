// SPDX-License-Identifier: MIT
// kestrix-download as its own process against the simulator on a
// pseudo-terminal, in real time.
#include "TemporaryConfigHome.h"
#include "cli/MeterDownload.h"

#include "FastTiming.h"
#include "MemoryMeter.h"
#include "MeterHarness.h"
#include "ReadFile.h"
#include "SimProcess.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

// Longer than any run here takes: a 5-second heat-run wait and a few files.
constexpr int processLimitMs = 60000;

} // namespace

class TestDownloadProcess : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_output.reset(new QTemporaryDir);
        m_process.reset(new QProcess);
        m_process->setProgram(QStringLiteral(KESTRIX_DOWNLOAD_PATH));
        // Progress and remarks go to standard error; a pipe is no terminal.
        m_process->setProcessChannelMode(QProcess::SeparateChannels);
    }

    void cleanup()
    {
        if (m_process->state() != QProcess::NotRunning) {
            m_process->kill();
            m_process->waitForFinished();
        }
    }

    void htmlIsTheWindowsExportOfEveryFile_data()
    {
        QTest::addColumn<QStringList>("simArguments");
        QTest::addColumn<MeterFamily>("kind");
        QTest::newRow("winding") << QStringList{"--model", "[KX-W3]", "--files", "6", "--empty", "2"}
                                 << MeterFamily::Winding;
        QTest::newRow("contact") << QStringList{"--model", "[KX-C1]", "--files", "7", "--empty", "0"}
                                 << MeterFamily::Contact;
        QTest::newRow("ratio") << QStringList{"--model", "KXT1", "--files", "4"} << MeterFamily::Ratio;
        QTest::newRow("cable") << QStringList{"--model", "[KX-R1]", "--files", "9", "--empty", "3,8"}
                               << MeterFamily::Cable;
    }
    void htmlIsTheWindowsExportOfEveryFile()
    {
        QFETCH(QStringList, simArguments);
        QFETCH(MeterFamily, kind);
        SimProcess sim(simArguments);
        QVERIFY(sim.start());
        const QString html = m_output->filePath(QStringLiteral("files.html"));
        QCOMPARE(runDownload({"--port", "1", "--output", html}), ExitStatus::allRead);
        QCOMPARE(m_process->readAllStandardOutput(), QByteArray());
        const QString remarks = QString::fromLocal8Bit(m_process->readAllStandardError());
        QVERIFY2(remarks.startsWith(QStringLiteral("Connected to %1 on COM 1\n").arg(simArguments[1])),
                 qPrintable(remarks));

        // The window, on the same meter's content, with every file ticked.
        MeterHarness window(simArguments[1], kind, simArguments);
        QVERIFY(window.load());
        window.click(QStringLiteral("cmdRM"));
        QVERIFY(window.click(QStringLiteral("lblSelectAll")));
        const QString exported = window.files.filePath(QStringLiteral("window.html"));
        QVERIFY(window.download(exported));
        QCOMPARE(readFile(html), readFile(exported));
        QCOMPARE(sim.requests(), QStringList{"{00}"} + window.requests());
    }

    void csvAndJsonCarryWhatTheMeterHolds()
    {
        // Seeded content with over-range readings; an empty slot; the fourth
        // record cut short.
        SimProcess contact({"--family", "contact", "--files", "12", "--empty", "2", "--bad-end", "--fault-only",
                            "{110003}", "--unpaced"});
        QVERIFY(contact.start());
        QCOMPARE(runDownload({"--port", "1", "--format", "csv"}), ExitStatus::someFailed);
        const QByteArray csv = m_process->readAllStandardOutput();
        QVERIFY2(csv.startsWith("\xEF\xBB\xBF"
                                "File No.,Date & Time,Date & Time as sent,Resistance (Ohm),Resistance as sent,"
                                "Current (A),Status\r\n"),
                 csv.constData());
        QVERIFY2(csv.contains("\r\n4,,,,,,Error downloading the file\r\n"), csv.constData());
        QVERIFY2(csv.contains(",,'-Over-,,OK\r\n"), csv.constData());
        QVERIFY2(!csv.contains("\r\n3,"), csv.constData());
        QCOMPARE(csv.count("\r\n"), 1 + 11);
        QCOMPARE(m_process->readAllStandardError(), QByteArray("Connected to [KX-C1] on COM 1\n"
                                                               "File 4: Error downloading the file\n"));

        QCOMPARE(runDownload({"--port", "1", "--format", "json", "--quiet"}), ExitStatus::someFailed);
        const QByteArray json = m_process->readAllStandardOutput();
        QVERIFY2(json.contains("{\"File No.\": 4, \"Status\": \"Error downloading the file\"}"), json.constData());
        QVERIFY2(json.contains("\"Resistance (Ohm)\": null, \"Resistance as sent\": \"-Over-\", \"Current (A)\": null}"),
                 json.constData());
        QVERIFY2(!json.contains("\"File No.\": 3,"), json.constData());
        contact.stop();

        // Cable resistances in micro-ohms carry the micro sign, in UTF-8.
        SimProcess cable({"--family", "cable", "--files", "6", "--unpaced"});
        QVERIFY(cable.start());
        QCOMPARE(runDownload({"--port", "1", "--quiet"}), ExitStatus::allRead);
        const QByteArray cableCsv = m_process->readAllStandardOutput();
        QVERIFY2(cableCsv.contains(" \xC2\xB5,"), cableCsv.constData());
        QCOMPARE(runDownload({"--port", "1", "--quiet", "--format", "json"}), ExitStatus::allRead);
        QVERIFY(m_process->readAllStandardOutput().contains(" \xC2\xB5\", \"Cable Size (sq. mm)\""));
        // ... beside the resistance in ohms, a number in the fifth column.
        const QByteArray firstFile = cableCsv.split('\n').value(1);
        bool ohms = false;
        firstFile.split(',').value(4).toDouble(&ohms);
        QVERIFY2(ohms, firstFile.constData());
    }

    // A meter that sends each record twice, the copy 15 ms behind, and
    // answers every third one late; or one whose copies come later than the
    // quiet check behind a reply, into the next request's wait. Each row is
    // the clean meter's row, or failed; never another file's.
    void lateAndRepeatedRepliesNeverBecomeAnotherFile_data()
    {
        QTest::addColumn<QStringList>("meter");
        QTest::addColumn<QStringList>("faults");
        const QStringList lateAndTwice{"--repeat", "2", "--repeat-gap-ms", "15", "--late-ms", "1100", "--late-every", "3"};
        QTest::newRow("winding") << QStringList{"--family", "winding", "--files", "6"}
                                 << lateAndTwice + QStringList{"--fault-only", "{11"};
        QTest::newRow("contact") << QStringList{"--family", "contact", "--files", "6"}
                                 << lateAndTwice + QStringList{"--fault-only", "{11"};
        QTest::newRow("ratio") << QStringList{"--family", "ratio", "--files", "6"}
                               << lateAndTwice + QStringList{"--fault-only", "{11"};
        QTest::newRow("cable") << QStringList{"--family", "cable", "--files", "6"}
                               << lateAndTwice + QStringList{"--fault-only", "{10"};
        QTest::newRow("ratio, copies 40 ms behind")
            << QStringList{"--family", "ratio", "--files", "6"}
            << QStringList{"--repeat", "2", "--repeat-gap-ms", "40", "--fault-only", "{11"};
    }
    void lateAndRepeatedRepliesNeverBecomeAnotherFile()
    {
        QFETCH(QStringList, meter);
        QFETCH(QStringList, faults);
        // The clean meter's rows, from the same content in this process.
        QList<QByteArray> clean;
        {
            MemoryMeter memory(meter);
            const std::unique_ptr<SerialLink> port = memory.makePort();
            DownloadOptions options;
            options.port = 1;
            options.quiet = true;
            options.output = QStringLiteral("-");
            QByteArray csv;
            DownloadConsole console;
            console.error = [](const QString &) { };
            console.standardOutput = [&csv](const QByteArray &bytes) {
                csv += bytes;
                return true;
            };
            StopRequest stop;
            QCOMPARE(MeterDownload(options, *port, stop, console, fastTiming()).run(), ExitStatus::allRead);
            clean = csv.split('\n');
        }
        SimProcess sim(meter + faults);
        QVERIFY(sim.start());
        const int status = runDownload({"--port", "1", "--format", "csv", "--quiet"});
        QVERIFY(status == ExitStatus::allRead || status == ExitStatus::someFailed);
        const QList<QByteArray> rows = m_process->readAllStandardOutput().split('\n');
        QCOMPARE(rows.size(), clean.size());
        int failed = 0;
        for (qsizetype row = 0; row < rows.size(); ++row) {
            if (rows[row] == clean[row])
                continue;
            ++failed;
            QVERIFY2(rows[row].endsWith(",Communication Error\r") || rows[row].endsWith(",Error downloading the file\r"),
                     rows[row].constData());
        }
        // The meter answers two of three requests on time.
        QVERIFY2(failed <= rows.size() / 2, qPrintable(QString::number(failed)));
    }

    void aClosedPipeIsAnOutputNotWritten()
    {
        SimProcess sim({"--family", "contact", "--files", "3", "--unpaced"});
        QVERIFY(sim.start());
        // The reader is gone long before the table is written, as "| head" can be.
        QProcess shell;
        shell.start(QStringLiteral("bash"),
                    {QStringLiteral("-c"), QStringLiteral("\"$0\" --port 1 --quiet | true; echo \"${PIPESTATUS[0]}\""),
                     QStringLiteral(KESTRIX_DOWNLOAD_PATH)});
        QVERIFY(shell.waitForFinished(processLimitMs));
        QCOMPARE(shell.readAllStandardOutput(), QByteArray("4\n"));
        QVERIFY(shell.readAllStandardError().contains("standard output could not be written"));
    }

    void exitStatusWithoutAMeter_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("error");
        QTest::newRow("nothing behind the port")
            << QStringList{"--port", "31"} << ExitStatus::noMeter << "kestrix-download: COM 31 cannot be opened: ";
        QTest::newRow("bad arguments") << QStringList{"--port", "1", "--format", "xls"} << ExitStatus::badArguments
                                       << "kestrix-download: --format is csv, html, json or xlsx, not \"xls\"\n";
    }
    void exitStatusWithoutAMeter()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, error);
        QTEST(runDownload(arguments), "status");
        const QString said = QString::fromLocal8Bit(m_process->readAllStandardError());
        QVERIFY2(said.startsWith(error), qPrintable(said));
        QVERIFY(m_output->isValid() && QDir(m_output->path()).isEmpty());
    }

    void ctrlCLeavesNoFileAndFreesThePort()
    {
        SimProcess sim({"--family", "contact", "--files", "100"});
        QVERIFY(sim.start());
        const QString csv = m_output->filePath(QStringLiteral("files.csv"));
        m_process->setArguments({"--port", "1", "--output", csv});
        m_process->start();
        QVERIFY(m_process->waitForStarted());
        // Once the records are being read, the user presses Ctrl-C.
        QVERIFY(QTest::qWaitFor([&sim] { return sim.requests().contains("{110005}"); }, processLimitMs));
        ::kill(pid_t(m_process->processId()), SIGINT);
        QVERIFY(m_process->waitForFinished(processLimitMs));
        QCOMPARE(m_process->exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_process->exitCode(), ExitStatus::interrupted);
        QVERIFY(QDir(m_output->path()).isEmpty()); // no table, no temporary file
        QVERIFY(m_process->readAllStandardError().endsWith("kestrix-download: interrupted; nothing was written\n"));
        QVERIFY(!sim.requests().contains("{110099}"));

        // The port was closed: the next run opens it.
        QCOMPARE(runDownload({"--port", "1", "--files", "1", "--output", csv}), ExitStatus::allRead);
        QVERIFY(QFile::exists(csv));
    }

    void waitsForAMeterThatComesLater()
    {
        m_process->setArguments({"--port", "2", "--wait", "60", "--files", "1-2"});
        m_process->start();
        QVERIFY(m_process->waitForStarted());
        // The first probe finds nothing behind COM 2, and the download says it waits.
        QByteArray said;
        QVERIFY(QTest::qWaitFor(
            [&] {
                said += m_process->readAllStandardError();
                return said.contains("Waiting for a meter on COM 2 ...\n")
                       || m_process->state() == QProcess::NotRunning;
            },
            processLimitMs));
        QCOMPARE(m_process->state(), QProcess::Running);
        SimProcess sim({"--family", "cable", "--files", "2", "--com", "2"});
        QVERIFY(sim.start());
        QVERIFY(m_process->waitForFinished(processLimitMs));
        QCOMPARE(m_process->exitCode(), ExitStatus::allRead);
        QCOMPARE(m_process->readAllStandardOutput().count("\r\n"), 3);
        said += m_process->readAllStandardError();
        QVERIFY2(said.endsWith("Connected to [KX-R1] on COM 2\n"), said.constData());
    }

private:
    int runDownload(const QStringList &arguments)
    {
        m_process->setArguments(arguments);
        m_process->start();
        if (!m_process->waitForFinished(processLimitMs))
            return -1;
        return m_process->exitStatus() == QProcess::NormalExit ? m_process->exitCode() : -2;
    }

    TemporaryConfigHome m_config;
    std::unique_ptr<QTemporaryDir> m_output;
    std::unique_ptr<QProcess> m_process;
};

QTEST_MAIN(TestDownloadProcess)
#include "tst_downloadprocess.moc"
