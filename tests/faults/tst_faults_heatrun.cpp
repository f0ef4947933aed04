// SPDX-License-Identifier: MIT
// The winding meter's heat-run-test download against a misbehaving meter:
// the device disappears in the middle of the file, the meter stays silent,
// the file comes with a wrong end mark, with bytes after it, or in pieces.
// The download waits its five seconds, then either writes the file exactly
// or says "Error downloading the file" and writes nothing; the window is
// usable again either way and the port closes with it. The simulator's meter
// answers in memory; the lost device and a download in pieces also run in
// real time against the simulator on a pseudo-terminal.
#include "FaultFamilies.h"
#include "TemporaryConfigHome.h"

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using faults::MeterRun;

namespace {

// Counts the wake-ups of the program's socket notifiers: a port that keeps
// reporting a dead line would wake the event loop thousands of times a second.
class NotifierWakeUps : public QObject
{
public:
    NotifierWakeUps() { QCoreApplication::instance()->installEventFilter(this); }
    ~NotifierWakeUps() override { QCoreApplication::instance()->removeEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::SockAct)
            ++count;
        return QObject::eventFilter(watched, event);
    }
};

// The first heat-run slot of the meter below.
const QByteArray heatRunFile = "Time,R1,R2\r\n0,1.234,1.240\r\n1,1.236,1.241\r\n2,1.238,1.242";

QByteArray meterData()
{
    return "family winding\n"
           "model [KX-W1]\n"
           "files 1\n"
           "heat-run 1\n"
           "record 0 TX-001     1.234    12.500 0 0253]\n"
           "heat-run-name 0 HRT-JOB-0001\n"
           "heat-run-file 0 Time,R1,R2\\r\\n0,1.234,1.240\\r\\n1,1.236,1.241\\r\\n2,1.238,1.242\n";
}

QString writeMeterData(const QTemporaryDir &folder)
{
    const QString path = folder.filePath(QStringLiteral("meter.data"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(meterData()) != meterData().size())
        return {};
    return path;
}

} // namespace

class TestHeatRunFaults : public QObject
{
    Q_OBJECT
private:
    TemporaryConfigHome m_config;

private slots:
    void downloadEndsCleanly_data()
    {
        QTest::addColumn<QStringList>("simArguments");
        QTest::addColumn<bool>("unplugDuringTheWait");
        QTest::addColumn<bool>("written");
        QTest::addColumn<Line>("line");

        const QStringList download{"--fault-only", "{10"};
        const QStringList piecesApart{"--pieces", "4", "--gap-ms", "1500"};
        const QStringList pieces{"--pieces", "4", "--gap-ms", "300"};
        // A real port whose device goes during the wait must let the event
        // loop sleep.
        QTest::newRow("device gone in the middle of the file (real time)")
            << (piecesApart + download) << true << false << Line::Pty;
        QTest::newRow("device gone in the middle of the file")
            << (piecesApart + download) << true << false << Line::InMemory;
        QTest::newRow("file in pieces") << (pieces + download) << false << true << Line::InMemory;
        QTest::newRow("file in pieces (real time)") << (pieces + download) << false << true << Line::Pty;
        QTest::newRow("meter silent") << (QStringList{"--silent"} << download) << false << false << Line::InMemory;
        QTest::newRow("wrong end mark") << (QStringList{"--bad-end"} << download) << false << false << Line::InMemory;
        QTest::newRow("bytes after the file")
            << (QStringList{"--extra", "\\r\\n"} << download) << false << false << Line::InMemory;
    }
    void downloadEndsCleanly()
    {
        QFETCH(QStringList, simArguments);
        QFETCH(bool, unplugDuringTheWait);
        QFETCH(bool, written);
        QFETCH(Line, line);

        MeterRun run(faults::families().first(), {}, line);
        run.simArguments << "--data" << writeMeterData(run.files) << "--unpaced" << simArguments;
        QVERIFY(run.load());
        auto *download = run.window->findChild<QPushButton *>("cmdDownload_0");
        auto *heatRunFrame = run.window->findChild<QGroupBox *>("Frame1");
        auto *fileName = run.window->findChild<QLabel *>("lblFile_0");
        QVERIFY(download && heatRunFrame && fileName);
        QVERIFY(run.dialogs.boxes.isEmpty());
        QVERIFY(download->isEnabled());
        const QString path = run.files.filePath(QStringLiteral("heat-run.csv"));
        run.dialogs.saveAnswers << path;

        std::unique_ptr<ActWhen> unplug;
        bool unplugged = false;
        if (unplugDuringTheWait && run.memory) {
            // The device goes once the first piece of the file is out.
            run.memory->onRequest = [&run, &unplugged](const QByteArray &request) {
                if (request != "{1001}")
                    return;
                QTimer::singleShot(0, [&run, &unplugged] {
                    run.unplug();
                    unplugged = true;
                });
            };
        } else if (unplugDuringTheWait) {
            unplug = std::make_unique<ActWhen>([&run] { return run.requests().contains("{1001}"); },
                                               [&run, &unplugged] {
                                                   run.unplug();
                                                   unplugged = true;
                                               });
        }
        NotifierWakeUps wakeUps;
        QVERIFY(run.click("cmdHRT"));
        QVERIFY(run.click("cmdDownload_0"));

        // However the line ends, the five seconds are a wait, not a spin.
        QVERIFY2(wakeUps.count < 100, qPrintable(QString::number(wakeUps.count)));
        QCOMPARE(unplugged, unplugDuringTheWait);
        QVERIFY(heatRunFrame->isEnabled());
        QVERIFY(download->isEnabled());
        if (written) {
            QVERIFY(run.dialogs.boxes.isEmpty());
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), heatRunFile + "\r\n");
            QVERIFY(!fileName->font().bold());
        } else {
            QCOMPARE(run.dialogs.boxes, QList<ScriptedDialogs::Box>{faults::downloadError});
            QVERIFY(run.dialogs.saveRequests.isEmpty());
            QVERIFY(!QFile::exists(path));
            QVERIFY(fileName->font().bold());
        }
        QCOMPARE(fileName->text(), QString("HRT-JOB-0001"));

        // A port whose device has gone lets go of it at once (the real port
        // does; the one in memory holds it until the window goes).
        if (run.line == Line::Pty || !unplugDuringTheWait)
            QCOMPARE(run.openPorts(), unplugDuringTheWait ? 0 : 1);
        run.closeWindow();
        QCOMPARE(run.openPorts(), 0);
    }
};

QTEST_MAIN(TestHeatRunFaults)
#include "tst_faults_heatrun.moc"
