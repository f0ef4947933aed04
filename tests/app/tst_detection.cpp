// SPDX-License-Identifier: MIT
// The detection window against the meter simulator on a real pseudo-terminal.
#include "AccessibleEvents.h"
#include "ActWhen.h"
#include "ChildNamed.h"
#include "ScriptedDialogs.h"
#include "SimProcess.h"
#include "app/DetectionDialog.h"
#include "link/QtSerialLink.h"
#include "link/SerialLink.h"
#include "link/StopRequest.h"
#include "ui/MessageTexts.h"
#include "ui/MeterWindow.h"

#include <QTextDocumentFragment>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <functional>

Q_DECLARE_METATYPE(MeterKind)

namespace {

constexpr int detectionTimeoutMs = 20000;

// Runs the detection window until it closes itself, as the entry routine does.
struct Detection
{
    ProgramState state;
    ScriptedDialogs dialogs;
    DetectionDialog splash{state, dialogs, createSerialPort, createFamilyWindow};
    QSignalSpy finished{&splash, &QDialog::finished};

    Detection() { splash.show(); }
    bool waitUntilClosed()
    {
        return finished.count() > 0 || finished.wait(detectionTimeoutMs);
    }
};

} // namespace

class TestDetection : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_config;

private slots:
    void initTestCase()
    {
        QVERIFY(m_config.isValid());
        SimProcess::useTemporaryConfigHome(m_config);
    }

    void cleanup() { StopRequest::resetForTests(); }

    void eachModelOpensItsFamilyWindow_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("window");
        QTest::addColumn<MeterKind>("family");
        QTest::addColumn<QString>("shownModel"); // in the model line and the window title
        QTest::newRow("W1") << "[KX-W1]" << "frmWRM_Temperature" << MeterKind::Winding << "[KX-W1]";
        QTest::newRow("W2") << "[KX-W2]" << "frmWRM_Temperature" << MeterKind::Winding << "[KX-W2]";
        QTest::newRow("W3") << "[KX-W3]" << "frmWRM_Temperature" << MeterKind::Winding << "[KX-W3]";
        QTest::newRow("W4") << "[KX-W4]" << "frmWRM_Temperature" << MeterKind::Winding << "[KX-W4]";
        QTest::newRow("contact") << "[KX-C1]" << "frmCRM" << MeterKind::Contact << "[KX-C1]";
        QTest::newRow("ratio, four characters") << "KXT1" << "frmTRM" << MeterKind::Ratio << "KXT1";
        QTest::newRow("cable") << "[KX-R1]" << "frmCABLE_RM" << MeterKind::Cable << "[KX-R1]";
        QTest::newRow("unknown reply") << "HELLO" << "frmWRM_Temperature" << MeterKind::Winding << "HELLO";
        // The line end is shown as the CR and LF symbols.
        QTest::newRow("known reply and a line end") << "[KX-C1]\r\n" << "frmWRM_Temperature" << MeterKind::Winding
                                                    << QStringLiteral("[KX-C1]\u240D\u240A");
    }
    void eachModelOpensItsFamilyWindow()
    {
        QFETCH(QString, model);
        QFETCH(QString, window);
        QFETCH(MeterKind, family);
        QFETCH(QString, shownModel);

        QString escaped = model;
        escaped.replace("\r", "\\r").replace("\n", "\\n");
        SimProcess sim({"--model", escaped, "--files", "2", "--heat-run", "0", "--unpaced"});
        QVERIFY(sim.start());

        const AccessibleEvents told;
        Detection detection;
        QVERIFY(detection.waitUntilClosed());
        QCOMPARE(detection.splash.result(), int(QDialog::Accepted));
        QCOMPARE(detection.state.model, model);
        QCOMPARE(detection.state.family, family);
        QCOMPARE(detection.state.port, qint16(1));
        QVERIFY(childNamed<QLabel>(&detection.splash, "lblModel")->isVisibleTo(&detection.splash));
        QCOMPARE(childNamed<QLabel>(&detection.splash, "lblModel")->text(),
                 "PC successfully connected to " + shownModel);
        QVERIFY(!detection.splash.port().isOpen());

        const std::unique_ptr<MeterWindow> loaded = detection.splash.takeLoadedWindow();
        QVERIFY(loaded);
        QCOMPARE(loaded->objectName(), window);
        QCOMPARE(loaded->kind(), family);
        QCOMPARE(loaded->windowTitle(), shownModel + " Meter Communication Software");
        QVERIFY(!loaded->isVisible()); // the entry routine shows it, not the probe
        QCOMPARE(sim.requests().value(0), QString("{00}"));

        // A screen reader hears the connection line when it appears, follows
        // the load as a progress bar, and finds the meter window as a window.
        QAccessibleInterface *modelLine =
            QAccessible::queryAccessibleInterface(childNamed<QLabel>(&detection.splash, "lblModel"));
        QCOMPARE(modelLine->role(), QAccessible::Notification);
        QCOMPARE(modelLine->text(QAccessible::Name), ("PC successfully connected to " + shownModel).simplified());
        QCOMPARE(told.values(childNamed<QLabel>(&detection.splash, "lblProgress")), (QVariantList{1, 2}));
        QAccessibleInterface *progress =
            QAccessible::queryAccessibleInterface(childNamed<QLabel>(&detection.splash, "lblProgress"));
        QCOMPARE(progress->role(), QAccessible::ProgressBar);
        QVERIFY(progress->valueInterface());
        QCOMPARE(progress->valueInterface()->currentValue().toInt(), 2);
        QCOMPARE(progress->valueInterface()->maximumValue().toInt(), 2);
        QCOMPARE(progress->valueInterface()->minimumValue().toInt(), 0);
        QCOMPARE(progress->text(QAccessible::Value), QString("2 / 2"));
        QAccessibleInterface *meterWindow = QAccessible::queryAccessibleInterface(loaded.get());
        QCOMPARE(meterWindow->role(), QAccessible::Window);
        QCOMPARE(meterWindow->text(QAccessible::Name), loaded->windowTitle());
    }

    void replyInPiecesIsReadAsOne()
    {
        SimProcess sim({"--model", "[KX-C1]", "--files", "1", "--pieces", "3", "--gap-ms", "120", "--unpaced"});
        QVERIFY(sim.start());
        Detection detection;
        QVERIFY(detection.waitUntilClosed());
        QCOMPARE(detection.state.model, QString("[KX-C1]"));
        QCOMPARE(detection.state.family, MeterKind::Contact);
    }

    void staleBytesNeverJoinTheModelText()
    {
        // The meter chatters at start-up and again well after each reply: what
        // waits when the port opens is dropped before "{00}" goes out.
        SimProcess sim({"--model", "[KX-R1]", "--files", "1", "--stale", "ZZ]", "--stale-delay-ms", "1500",
                        "--unpaced"});
        QVERIFY(sim.start());
        Detection detection;
        QVERIFY(detection.waitUntilClosed());
        QCOMPARE(detection.state.model, QString("[KX-R1]"));
        QCOMPARE(detection.state.family, MeterKind::Cable);
    }

    void threeCharactersAreNoAnswerAndExitEndsTheProbe()
    {
        SimProcess sim({"--model", "KXT", "--unpaced"});
        QVERIFY(sim.start());
        Detection detection;
        QVERIFY(!childNamed<QLabel>(&detection.splash, "lblWarning")->isVisible());
        QVERIFY(!childNamed<QPushButton>(&detection.splash, "cmdExit")->isVisible());

        // Warning and Exit appear after the first attempt and stay while the
        // probe goes on asking; then the user presses Exit.
        bool warningAfterFirst = false;
        bool warningStayed = false;
        ActWhen first([&] { return sim.requests().size() >= 2; },
                      [&] {
                          warningAfterFirst = childNamed<QLabel>(&detection.splash, "lblWarning")->isVisible()
                                              && childNamed<QPushButton>(&detection.splash, "cmdExit")->isVisible();
                      });
        ActWhen later([&] { return sim.requests().size() >= 3; },
                      [&] {
                          warningStayed = childNamed<QLabel>(&detection.splash, "lblWarning")->isVisible()
                                          && !childNamed<QLabel>(&detection.splash, "lblModel")->isVisible()
                                          && childNamed<QLabel>(&detection.splash, "lblWarning")->text()
                                                 == MessageTexts::meterNotCommunicating();
                          QTest::mouseClick(childNamed<QPushButton>(&detection.splash, "cmdExit"), Qt::LeftButton);
                      });
        QVERIFY(detection.waitUntilClosed());
        QVERIFY(warningAfterFirst);
        QVERIFY(warningStayed);
        // A notification: readers speak it when it appears.
        QAccessibleInterface *warning =
            QAccessible::queryAccessibleInterface(childNamed<QLabel>(&detection.splash, "lblWarning"));
        QCOMPARE(warning->role(), QAccessible::Notification);
        QCOMPARE(warning->text(QAccessible::Name), MessageTexts::meterNotCommunicating().simplified());
        QCOMPARE(detection.splash.result(), int(QDialog::Rejected));
        QVERIFY(StopRequest::isRequested());
        QVERIFY(!detection.splash.port().isOpen());
        QVERIFY(!detection.splash.takeLoadedWindow());
        QVERIFY(detection.dialogs.boxes.isEmpty());
        QVERIFY(detection.state.model.isEmpty());
        const QStringList requests = sim.requests();
        QCOMPARE(QSet<QString>(requests.begin(), requests.end()), QSet<QString>{"{00}"});
    }

    void anotherPortChosenDuringTheProbeIsUsedNext()
    {
        SimProcess sim({"--model", "[KX-C1]", "--com", "5", "--files", "1", "--unpaced"});
        QVERIFY(sim.start());
        // COM 1 has no link here; whatever the machine puts behind it, no
        // meter answers there.
        Detection detection;
        int requestsBeforeSwitch = -1;
        ActWhen choose([&] { return childNamed<QLabel>(&detection.splash, "lblWarning")->isVisible(); },
                       [&] {
                           requestsBeforeSwitch = int(sim.requests().size());
                           childNamed<QComboBox>(&detection.splash, "comboCOM")->setCurrentIndex(4);
                       });
        QVERIFY(detection.waitUntilClosed());
        QCOMPARE(requestsBeforeSwitch, 0);
        QCOMPARE(detection.state.port, qint16(5));
        QCOMPARE(detection.state.family, MeterKind::Contact);
        QVERIFY(childNamed<QLabel>(&detection.splash, "lblWarning")->isHidden());
    }

    void typedPortNameIsProbed_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("port name") << "COM7";
        QTest::newRow("lower case with a blank") << "com 7";
    }
    void typedPortNameIsProbed()
    {
        QFETCH(QString, typed);
        SimProcess sim({"--model", "[KX-C1]", "--com", "7", "--files", "1", "--unpaced"});
        QVERIFY(sim.start());
        Detection detection;
        childNamed<QComboBox>(&detection.splash, "comboCOM")->setEditText(typed); // before the first attempt
        QVERIFY(detection.waitUntilClosed());
        QCOMPARE(detection.state.port, qint16(7));
        QCOMPARE(detection.state.family, MeterKind::Contact);
        QCOMPARE(sim.requests().value(0), QString("{00}"));
    }

    void portHeldByAnotherProgramIsShownAsInUse()
    {
        SimProcess sim({"--model", "[KX-C1]", "--files", "1", "--unpaced"});
        QVERIFY(sim.start());
        // Another program has COM 1 open, as a second copy of this one would.
        QtSerialLink holder(QtSerialLink::probeBufferSize);
        holder.setPortNumber(1);
        QVERIFY2(holder.open(), qPrintable(holder.errorString()));

        Detection detection;
        QString reason;
        ActWhen exit([&] { return childNamed<QLabel>(&detection.splash, "lblWarning")->isVisible(); },
                     [&] {
                         // The tool tip holds the reason as escaped text; what it shows is the plain reason.
                         reason = QTextDocumentFragment::fromHtml(
                                      childNamed<QLabel>(&detection.splash, "lblWarning")->toolTip())
                                      .toPlainText();
                         QTest::mouseClick(childNamed<QPushButton>(&detection.splash, "cmdExit"), Qt::LeftButton);
                     });
        QVERIFY(detection.waitUntilClosed());
        QVERIFY2(reason.startsWith(sim.device() + ": in use by another program"), qPrintable(reason));
        QVERIFY2(!reason.contains("dialout"), qPrintable(reason));
        QVERIFY(sim.requests().isEmpty());
    }

    void portThatCannotBeOpenedShowsTheReasonBesideTheWarning()
    {
        // COM 32 has no device behind it.
        Detection detection;
        childNamed<QComboBox>(&detection.splash, "comboCOM")->setCurrentIndex(31);
        QString warning;
        QString reason;
        ActWhen exit([&] { return childNamed<QLabel>(&detection.splash, "lblWarning")->isVisible(); },
                     [&] {
                         warning = childNamed<QLabel>(&detection.splash, "lblWarning")->text();
                         reason = childNamed<QLabel>(&detection.splash, "lblWarning")->toolTip();
                         QTest::mouseClick(childNamed<QPushButton>(&detection.splash, "cmdExit"), Qt::LeftButton);
                     });
        QVERIFY(detection.waitUntilClosed());
        QCOMPARE(warning, MessageTexts::meterNotCommunicating());
        QVERIFY2(reason.contains("COM 32"), qPrintable(reason));
        QVERIFY(detection.dialogs.boxes.isEmpty());
    }

};

QTEST_MAIN(TestDetection)
#include "tst_detection.moc"
