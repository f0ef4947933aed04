// SPDX-License-Identifier: MIT
// Every meter family's start-up against a misbehaving meter: the meter
// falls silent or the device disappears in the middle of the load, replies
// come truncated, with a wrong end mark, with stale or extra bytes, in pieces,
// or with a count that is not a number. Each load must end with the message
// the window gives for that failure, the rows it could fetch, no crash, no
// hang, and the port closed once the window is gone. The simulator's meter
// answers in memory; one row of each kind of fault also runs in real time
// against the simulator on a pseudo-terminal.
#include "FaultFamilies.h"
#include "TemporaryConfigHome.h"

#include <QGroupBox>
#include <QPushButton>
#include <QTest>

using faults::Family;
using faults::MeterRun;
using Box = ScriptedDialogs::Box;

Q_DECLARE_METATYPE(Family)
Q_DECLARE_METATYPE(Box)

namespace {

enum class DeviceLoss {
    None,
    DuringFirstWait,     // while the first start-up request waits for its reply
    BeforeSecondRecord,  // right after the progress label shows "2 / n"
};

} // namespace

Q_DECLARE_METATYPE(DeviceLoss)

namespace {

// Start-up requests before the first record.
int startupRequests(const Family &family)
{
    return family.kind == MeterFamily::Winding ? 3 : 1;
}

QString familyName(const Family &family)
{
    switch (family.kind) {
    case MeterFamily::Winding:
        return QStringLiteral("winding");
    case MeterFamily::Contact:
        return QStringLiteral("contact");
    case MeterFamily::Ratio:
        return QStringLiteral("ratio");
    case MeterFamily::Cable:
        break;
    }
    return QStringLiteral("cable");
}

// True when the start-up ran to its end and laid the window out.
bool loadCompleted(MeterRun &run)
{
    if (WindingMeterWindow *winding = run.winding())
        return childNamed<QGroupBox>(winding, "frameCommand")->isVisibleTo(winding)
               && winding->windowSizeTwips() == QSize(3465, 3615);
    return childNamed<QPushButton>(run.window.get(), "cmdExit")->isVisibleTo(run.window.get());
}

QString describe(const QList<Box> &boxes)
{
    QStringList texts;
    for (const Box &box : boxes)
        texts << box.title + QStringLiteral(": ") + box.text;
    return texts.join(QStringLiteral(" | "));
}

QList<Box> repeated(const Box &box, int times)
{
    return QList<Box>(times, box);
}

// One row of each kind of fault runs in real time, on families without the
// winding meter's start-up pauses; the others against the meter in memory.
Line lineOfThisRow()
{
    static const QStringList realTime{"contact: silent meter", "cable: record one byte short",
                                      "contact: record with a wrong end mark",
                                      "cable: stale bytes before every request",
                                      "cable: device gone in the middle of the load"};
    return realTime.contains(QLatin1String(QTest::currentDataTag())) ? Line::Pty : Line::InMemory;
}

} // namespace

class TestLoadFaults : public QObject
{
    Q_OBJECT
private:
    TemporaryConfigHome m_config;

private slots:
    // A meter that reports 9999 files and falls silent after three would give
    // a box per remaining file; the first box's "Stop Loading" ends the load,
    // keeps the three files and sends nothing more.
    void stopLoadingKeepsTheFilesRead_data()
    {
        QTest::addColumn<Family>("family");
        for (const Family &family : faults::families())
            QTest::newRow(qPrintable(familyName(family))) << family;
    }
    void stopLoadingKeepsTheFilesRead()
    {
        QFETCH(Family, family);
        constexpr int readFiles = 3;
        constexpr int files = 9999;
        MeterRun run(family, QStringList{"--unpaced", "--files", QString::number(files), "--silent-after",
                                         QString::number(startupRequests(family) + readFiles)});
        run.dialogs.stopLoadingAtBox = 1;
        QVERIFY(run.load());

        QCOMPARE(run.dialogs.boxes, QList<Box>{faults::communicationError});
        QCOMPARE(run.requests().size(), startupRequests(family) + readFiles + 1);
        QVERIFY(loadCompleted(run));
        FileList &list = run.list();
        QCOMPARE(list.fileCount(), files);
        for (int row = 0; row < readFiles; ++row)
            QVERIFY(run.rowFilled(row));
        QVERIFY(run.rowUntouched(readFiles)); // failed, as any failed file
        for (const int row : {readFiles + 1, files / 2, files - 1})
            QVERIFY2(run.rowTextsUntouched(row) && !list.isCheckEnabled(row), qPrintable(QString::number(row)));

        // Ticked rows still export: the three files and the failed one.
        const QString target = run.files.filePath(QStringLiteral("stopped.html"));
        run.dialogs.saveAnswers << target;
        if (family.kind == MeterFamily::Winding)
            QVERIFY(run.click("cmdRM"));
        QVERIFY(run.click("lblSelectAll"));
        QVERIFY(run.click("cmdRMDownload"));
        QFile exported(target);
        QVERIFY(exported.open(QIODevice::ReadOnly));
        const QByteArray html = exported.readAll();
        QCOMPARE(html.count("<tr><td>"), readFiles + 1);
        QCOMPARE(run.requests().size(), startupRequests(family) + readFiles + 1);
    }

    void loadEndsWithTheWindowsMessage_data()
    {
        QTest::addColumn<Family>("family");
        QTest::addColumn<QStringList>("simArguments");
        QTest::addColumn<int>("files");
        QTest::addColumn<DeviceLoss>("deviceLoss");
        QTest::addColumn<bool>("countRead");     // the file count came through
        QTest::addColumn<int>("filledRows");     // rows 0.. filled; the rest up to `files` untouched
        QTest::addColumn<QList<Box>>("boxes");

        for (const Family &family : faults::families()) {
            const QString name = familyName(family);
            const auto row = [&name](const char *fault) -> QTestData & {
                return QTest::newRow(qPrintable(name + QStringLiteral(": ") + QLatin1String(fault)));
            };
            const Box fatal{true, "Fatal Error", family.countFailure};
            const QStringList records{"--fault-only", family.recordPrefix};
            const QStringList count{"--fault-only", family.countRequest};
            // A record one byte short: the winding and contact replies still
            // reach their wait count and fail on the end mark; the cable
            // meter waits for every byte of its reply.
            const Box oneShort = family.kind == MeterFamily::Cable ? faults::communicationError : faults::downloadError;

            row("silent meter") << family << QStringList{"--silent"} << 2 << DeviceLoss::None << false << 0
                                << QList<Box>{fatal};
            row("silent in the middle of the load")
                << family << QStringList{"--silent-after", QString::number(startupRequests(family) + 1)} << 3
                << DeviceLoss::None << true << 1 << repeated(faults::communicationError, 2);
            row("device gone while the start-up waits")
                << family << QStringList{"--latency-ms", "3000"} << 2 << DeviceLoss::DuringFirstWait << false << 0
                << QList<Box>{fatal};
            // One box for the lost meter, not one per file; the files not read cannot be ticked.
            row("device gone in the middle of the load")
                << family << QStringList{} << 3 << DeviceLoss::BeforeSecondRecord << true << 1
                << QList<Box>{faults::meterLost};
            row("record one byte short") << family << (QStringList{"--truncate", "1"} << records) << 1
                                         << DeviceLoss::None << true << 0 << QList<Box>{oneShort};
            row("record two bytes short") << family << (QStringList{"--truncate", "2"} << records) << 1
                                          << DeviceLoss::None << true << 0
                                          << QList<Box>{faults::communicationError};
            row("record with a wrong end mark") << family << (QStringList{"--bad-end"} << records) << 1
                                                << DeviceLoss::None << true << 0
                                                << QList<Box>{faults::downloadError};
            // The reply itself is whole; the bytes behind it are dropped.
            row("extra bytes after each record") << family << (QStringList{"--extra", "XY"} << records) << 1
                                                 << DeviceLoss::None << true << 1 << QList<Box>{};
            row("extra bytes after the count") << family << (QStringList{"--extra", "JUNK]"} << count) << 2
                                               << DeviceLoss::None << true << 2 << QList<Box>{};
            row("stale bytes before every request")
                << family << QStringList{"--stale", "[0042] - - -", "--stale-delay-ms", "200"} << 2
                << DeviceLoss::None << true << 2 << QList<Box>{};
            row("every reply in pieces") << family << QStringList{"--pieces", "3", "--gap-ms", "40"} << 2
                                         << DeviceLoss::None << true << 2 << QList<Box>{};
            row("count that is not a number") << family << (QStringList{"--bad-count"} << count) << 2
                                              << DeviceLoss::None << false << 0 << QList<Box>{fatal};
            row("count cut short") << family << (QStringList{"--truncate", "2"} << count) << 2 << DeviceLoss::None
                                   << false << 0 << QList<Box>{fatal};
        }
        const Family &winding = faults::families().first();
        const Box windingFatal{true, "Fatal Error", winding.countFailure};
        QTest::newRow("winding: heat-run count that is not a number")
            << winding << QStringList{"--bad-count", "--fault-only", "{01}"} << 2 << DeviceLoss::None << false << 0
            << QList<Box>{windingFatal};
        QTest::newRow("winding: heat-run names cut short")
            << winding << QStringList{"--truncate", "20", "--fault-only", "{02}"} << 2 << DeviceLoss::None << false
            << 0 << QList<Box>{windingFatal};
    }

    void loadEndsWithTheWindowsMessage()
    {
        QFETCH(Family, family);
        QFETCH(QStringList, simArguments);
        QFETCH(int, files);
        QFETCH(DeviceLoss, deviceLoss);
        QFETCH(bool, countRead);
        QFETCH(int, filledRows);
        QFETCH(QList<Box>, boxes);

        MeterRun run(family, simArguments << "--unpaced" << "--files" << QString::number(files), lineOfThisRow());
        QVERIFY(run.startMeter());
        if (simArguments.contains("--stale") && run.line == Line::Pty) {
            // The meter's chatter at start-up is on the line before the window
            // opens its port; the window must drop it, not read it as a reply.
            QVERIFY(faults::waitUntilInputPending(run.device, 5000));
        }
        std::unique_ptr<ActWhen> unplug;
        bool unplugged = false;
        if (deviceLoss == DeviceLoss::DuringFirstWait) {
            if (run.memory) {
                run.memory->onRequest = [&run, &unplugged](const QByteArray &) {
                    if (!unplugged)
                        run.unplug();
                    unplugged = true;
                };
            } else {
                unplug = std::make_unique<ActWhen>([&run] { return !run.requests().isEmpty(); }, [&run, &unplugged] {
                    run.unplug();
                    unplugged = true;
                });
            }
        }
        if (deviceLoss == DeviceLoss::BeforeSecondRecord) {
            run.onProgress = [&run, files](const QString &text) {
                if (text == QStringLiteral("2 / %1").arg(files))
                    run.unplug();
            };
        }
        run.createWindow();
        run.window->load();

        if (deviceLoss == DeviceLoss::DuringFirstWait)
            QVERIFY(unplugged);
        QVERIFY2(run.dialogs.boxes == boxes, qPrintable(describe(run.dialogs.boxes) + " / " + run.requests().join(" ")));
        FileList &list = run.list();
        QCOMPARE(list.fileCount(), countRead ? files : 0);
        QCOMPARE(loadCompleted(run), countRead);
        // A lost meter stops the load at the file that found it gone.
        const int progressShown = deviceLoss == DeviceLoss::BeforeSecondRecord ? filledRows + 1 : files;
        QCOMPARE(run.progress.size(), countRead ? progressShown : 0);
        for (int row = 0; row < list.fileCount(); ++row) {
            if (row < filledRows)
                QVERIFY2(run.rowFilled(row), qPrintable(QStringLiteral("row %1").arg(row)));
            else if (deviceLoss == DeviceLoss::BeforeSecondRecord && row > filledRows)
                QVERIFY2(run.rowTextsUntouched(row) && !list.isCheckEnabled(row),
                         qPrintable(QStringLiteral("row %1").arg(row)));
            else
                QVERIFY2(run.rowUntouched(row), qPrintable(QStringLiteral("row %1").arg(row)));
        }
        // Bytes that were not a reply never become one.
        if (simArguments.contains("--stale"))
            QVERIFY(!list.cellText(0, 0).contains(QLatin1Char('[')));

        // The window keeps its port until it goes (a port whose device has
        // gone may let go of it sooner); then nothing holds the device.
        if (deviceLoss == DeviceLoss::None)
            QCOMPARE(run.openPorts(), 1);
        run.closeWindow();
        QCOMPARE(run.openPorts(), 0);
    }
};

QTEST_MAIN(TestLoadFaults)
#include "tst_faults_load.moc"
