// SPDX-License-Identifier: MIT
// Exit pressed while the program waits for the meter, in every wait that
// handles user-interface events: the start-up count requests of every family
// (and the winding meter's other start-up requests), the repaint between two
// record fetches, the heat-run-test download and the detection probe. The
// record waits and the winding meter's pauses handle no events, so no click
// can reach the program there.
//
// Exit ends the program: the wait stops at once, nothing more is sent or
// shown, the port is closed. Tests run many "programs" in one process, so
// nothing quits the application here.
//
// Against the meter in memory a wait ends at once; Exit is pressed as the
// meter takes the request the window then waits for. The probe runs in real
// time against the simulator on a pseudo-terminal.
#include "TemporaryConfigHome.h"
#include "ui/FamilyWindows.h"
#include "app/SerialPorts.h"
#include "protocol/MessageTexts.h"
#include "FaultFamilies.h"
#include "link/StopRequest.h"
#include "app/DetectionDialog.h"
#include "link/StopRequest.h"
#include "protocol/MessageTexts.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using faults::Family;
using faults::MeterRun;

Q_DECLARE_METATYPE(Family)

namespace {

QStringList startupOf(const Family &family)
{
    return family.kind == MeterFamily::Winding ? QStringList{"{01}", "{02}", "{03}"} : QStringList{family.countRequest};
}

} // namespace

class TestExitFaults : public QObject
{
    Q_OBJECT
private:
    TemporaryConfigHome m_config;

private slots:
    void exitDuringAStartUpRequest_data()
    {
        QTest::addColumn<Family>("family");
        QTest::addColumn<int>("answered"); // start-up requests the meter answers before it falls silent
        for (const Family &family : faults::families()) {
            const int requests = int(startupOf(family).size());
            for (int answered = 0; answered < requests; ++answered) {
                const QString name = family.model + QStringLiteral(" waiting for ") + startupOf(family).at(answered);
                QTest::newRow(qPrintable(name)) << family << answered;
            }
        }
    }
    void exitDuringAStartUpRequest()
    {
        QFETCH(Family, family);
        QFETCH(int, answered);
        const QString waitingFor = startupOf(family).at(answered);
        MeterRun run(family, {"--unpaced", "--files", "4", "--silent-after", QString::number(answered)});
        QVERIFY(run.startMeter());
        run.createWindow();
        bool pressed = false;
        run.memory->onRequest = [&run, &waitingFor, &pressed](const QByteArray &request) {
            if (request == waitingFor.toLatin1())
                pressed = run.pressExit();
        };
        run.window->load();

        QVERIFY(pressed);
        QVERIFY(run.stop.isRequested());
        QVERIFY(run.dialogs.boxes.isEmpty());
        QCOMPARE(run.requests(), startupOf(family).mid(0, answered + 1));
        QCOMPARE(run.list().fileCount(), 0);
        QVERIFY(run.progress.isEmpty());
        // Exit closes the port itself, before the window goes.
        QCOMPARE(run.openPorts(), 0);
    }

    void exitBetweenTwoRecords_data()
    {
        QTest::addColumn<Family>("family");
        for (const Family &family : faults::families())
            QTest::newRow(qPrintable(family.model)) << family;
    }
    void exitBetweenTwoRecords()
    {
        QFETCH(Family, family);
        MeterRun run(family, {"--unpaced", "--files", "3"});
        QVERIFY(run.startMeter());
        run.createWindow();
        // The click is handled while the progress label repaints.
        run.onProgress = [&run](const QString &text) {
            if (text == QStringLiteral("2 / 3"))
                QTimer::singleShot(0, run.window.get(), [&run] { run.pressExit(); });
        };
        run.window->load();

        QVERIFY(run.stop.isRequested());
        QVERIFY(run.dialogs.boxes.isEmpty());
        QCOMPARE(run.progress, (QStringList{"1 / 3", "2 / 3"}));
        const QStringList requests = run.requests();
        QCOMPARE(requests.size(), startupOf(family).size() + 1); // record 0 only
        QVERIFY(requests.last().startsWith(family.recordPrefix));
        QVERIFY(run.rowFilled(0));
        QVERIFY(run.rowUntouched(1));
        QVERIFY(run.rowUntouched(2));
        QCOMPARE(run.openPorts(), 0);
    }

    void exitDuringTheHeatRunDownload()
    {
        MeterRun run(faults::families().first(), {"--unpaced", "--files", "1", "--heat-run", "1"});
        QVERIFY(run.load());
        auto *heatRunFrame = run.window->findChild<QGroupBox *>("Frame1");
        auto *fileName = run.window->findChild<QLabel *>("lblFile_0");
        QVERIFY(heatRunFrame && fileName);
        run.dialogs.saveAnswers << run.files.filePath("heat-run.csv");

        // The click comes while the download waits, handling events.
        bool pressed = false;
        run.memory->onRequest = [&run, &pressed](const QByteArray &request) {
            if (request == "{1001}")
                QTimer::singleShot(0, [&run, &pressed] { pressed = run.pressExit(); });
        };
        QVERIFY(run.click("cmdHRT"));
        QVERIFY(run.click("cmdDownload_0"));

        QVERIFY(pressed);
        QVERIFY(run.stop.isRequested());
        QVERIFY(run.dialogs.boxes.isEmpty());
        QVERIFY(run.dialogs.saveRequests.isEmpty());
        QVERIFY(!QFile::exists(run.files.filePath("heat-run.csv")));
        QVERIFY(fileName->font().bold());
        QVERIFY(heatRunFrame->isEnabled());
        QCOMPARE(run.openPorts(), 0);
    }

    void deviceGoneDuringTheProbeThenExit()
    {
        SimProcess sim({"--silent", "--unpaced"});
        QVERIFY(sim.start());
        const QString device = sim.device();
        ProgramState state;
        ScriptedDialogs dialogs;
        StopRequest stop;
        DetectionDialog splash(state, dialogs, stop, serialPorts(stop), createFamilyWindow);
        QSignalSpy finished(&splash, &QDialog::finished);

        // The adapter is pulled while the probe waits for "{00}"; the probe
        // goes on trying once a second, then the user gives up.
        ActWhen unplug([&sim] { return !sim.requests().isEmpty(); }, [&sim] { sim.stop(); });
        bool probingOn = false;
        ActWhen exit([&] { return unplug.acted && childNamed<QPushButton>(&splash, "cmdExit")->isVisible(); },
                     [&] {
                         probingOn = childNamed<QLabel>(&splash, "lblWarning")->isVisible()
                                     && childNamed<QLabel>(&splash, "lblWarning")->text()
                                            == MessageTexts::meterNotCommunicating();
                         QTest::mouseClick(childNamed<QPushButton>(&splash, "cmdExit"), Qt::LeftButton);
                     });
        splash.show();
        QVERIFY(finished.wait(20000));

        QVERIFY(probingOn);
        QVERIFY(stop.isRequested());
        QCOMPARE(splash.result(), int(QDialog::Rejected));
        QVERIFY(dialogs.boxes.isEmpty());
        QVERIFY(!splash.takeLoadedWindow());
        QVERIFY(!splash.port().isOpen());
        QCOMPARE(MeterHarness::openHandlesTo(device), 0);
    }
};

QTEST_MAIN(TestExitFaults)
#include "tst_faults_exit.moc"
