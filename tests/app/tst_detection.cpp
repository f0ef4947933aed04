// SPDX-License-Identifier: MIT
// The detection window against the simulator's meter in memory, with the
// waits cut short; a few models, a reply in pieces and a port another
// program holds run against the simulator on a pseudo-terminal in real time.
#include "TemporaryConfigHome.h"
#include "ui/FamilyWindows.h"
#include "app/SerialPorts.h"
#include "protocol/MessageTexts.h"
#include "AccessibleEvents.h"
#include "ActWhen.h"
#include "FastTiming.h"
#include "MeterHarness.h"
#include "ScriptedDialogs.h"
#include "ui/MeterWindow.h"
#include "link/StopRequest.h"
#include "app/DetectionDialog.h"
#include "link/QtSerialLink.h"
#include "link/SerialLink.h"
#include "link/StopRequest.h"
#include "protocol/MessageTexts.h"
#include "ui/MeterWindow.h"

#include <QTextDocumentFragment>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>
#include <functional>

Q_DECLARE_METATYPE(MeterFamily)

namespace {

constexpr int detectionTimeoutMs = 20000;

// Runs the detection window until it closes itself, as the entry routine does.
struct Detection
{
    // The ports and waits of the meter's line; `systemPorts` lists no port
    // of the machine unless a test gives some.
    explicit Detection(MeterHarness &meter, PortSource systemPorts = [] { return QList<PortInfo>{}; })
        : stop(meter.stop)
        , splash(state, dialogs, stop, meter.ports(), createFamilyWindow, meter.timing, std::move(systemPorts))
    {
        splash.show();
    }
    // The program's own ports, with these waits.
    explicit Detection(const MeterTiming &timing)
        : stop(m_ownStop)
        , splash(state, dialogs, stop, serialPorts(stop), createFamilyWindow, timing)
    {
        splash.show();
    }

    StopRequest m_ownStop;
    StopRequest &stop;
    ProgramState state;
    ScriptedDialogs dialogs;
    DetectionDialog splash;
    QSignalSpy finished{&splash, &QDialog::finished};

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
    TemporaryConfigHome m_config;

private slots:
    // Each test starts as a first run: no port remembered from the one before.
    void init() { QSettings().clear(); }
    void eachModelOpensItsFamilyWindow_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("window");
        QTest::addColumn<MeterFamily>("family");
        QTest::addColumn<QString>("shownModel"); // in the model line and the window title
        QTest::addColumn<Line>("line");
        for (const Line line : {Line::InMemory, Line::Pty}) {
            const auto row = [line](const char *name) -> QTestData & {
                return QTest::newRow(qPrintable(QLatin1String(name) + (line == Line::Pty ? " (real time)" : "")));
            };
            // A few models in real time, on families without the winding
            // meter's start-up pauses; the model table has its own test.
            row("ratio, four characters") << "KXT1" << "frmTRM" << MeterFamily::Ratio << "KXT1" << line;
            row("cable") << "[KX-R1]" << "frmCABLE_RM" << MeterFamily::Cable << "[KX-R1]" << line;
            if (line == Line::Pty)
                continue;
            row("W1") << "[KX-W1]" << "frmWRM_Temperature" << MeterFamily::Winding << "[KX-W1]" << line;
            row("W2") << "[KX-W2]" << "frmWRM_Temperature" << MeterFamily::Winding << "[KX-W2]" << line;
            row("W3") << "[KX-W3]" << "frmWRM_Temperature" << MeterFamily::Winding << "[KX-W3]" << line;
            row("W4") << "[KX-W4]" << "frmWRM_Temperature" << MeterFamily::Winding << "[KX-W4]" << line;
            row("contact") << "[KX-C1]" << "frmCRM" << MeterFamily::Contact << "[KX-C1]" << line;
            row("unknown reply") << "HELLO" << "frmWRM_Temperature" << MeterFamily::Winding << "HELLO" << line;
            // The line end is shown as the CR and LF symbols.
            row("known reply and a line end") << "[KX-C1]\r\n" << "frmWRM_Temperature" << MeterFamily::Winding
                                              << QStringLiteral("[KX-C1]\u240D\u240A") << line;
        }
    }
    void eachModelOpensItsFamilyWindow()
    {
        QFETCH(QString, model);
        QFETCH(QString, window);
        QFETCH(MeterFamily, family);
        QFETCH(QString, shownModel);
        QFETCH(Line, line);

        QString escaped = model;
        escaped.replace("\r", "\\r").replace("\n", "\\n");
        MeterHarness sim({"--model", escaped, "--files", "2", "--heat-run", "0", "--unpaced"}, line);
        QVERIFY(sim.startMeter());

        const AccessibleEvents told;
        Detection detection(sim);
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
        QCOMPARE(loaded->family(), family);
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

    void replyInPiecesIsReadAsOne_data()
    {
        QTest::addColumn<Line>("line");
        QTest::newRow("in memory") << Line::InMemory;
        QTest::newRow("real time") << Line::Pty;
    }
    void replyInPiecesIsReadAsOne()
    {
        QFETCH(Line, line);
        MeterHarness sim({"--model", "[KX-C1]", "--files", "1", "--pieces", "3", "--gap-ms", "120", "--unpaced"},
                         line);
        QVERIFY(sim.startMeter());
        Detection detection(sim);
        QVERIFY(detection.waitUntilClosed());
        QCOMPARE(detection.state.model, QString("[KX-C1]"));
        QCOMPARE(detection.state.family, MeterFamily::Contact);
    }

    void staleBytesNeverJoinTheModelText()
    {
        // The meter chatters at start-up and again well after each reply: what
        // waits when the port opens is dropped before "{00}" goes out.
        MeterHarness sim({"--model", "[KX-R1]", "--files", "1", "--stale", "ZZ]", "--stale-delay-ms", "1500",
                          "--unpaced"});
        QVERIFY(sim.startMeter());
        Detection detection(sim);
        QVERIFY(detection.waitUntilClosed());
        QCOMPARE(detection.state.model, QString("[KX-R1]"));
        QCOMPARE(detection.state.family, MeterFamily::Cable);
    }

    void threeCharactersAreNoAnswerAndExitEndsTheProbe()
    {
        MeterHarness sim({"--model", "KXT", "--unpaced"});
        QVERIFY(sim.startMeter());
        Detection detection(sim);
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
        QVERIFY(detection.stop.isRequested());
        QVERIFY(!detection.splash.port().isOpen());
        QVERIFY(!detection.splash.takeLoadedWindow());
        QVERIFY(detection.dialogs.boxes.isEmpty());
        QVERIFY(detection.state.model.isEmpty());
        const QStringList requests = sim.requests();
        QCOMPARE(QSet<QString>(requests.begin(), requests.end()), QSet<QString>{"{00}"});
    }

    void anotherPortChosenDuringTheProbeIsUsedNext()
    {
        MeterHarness sim({"--model", "[KX-C1]", "--com", "5", "--files", "1", "--unpaced"});
        QVERIFY(sim.startMeter());
        // No meter answers on COM 1.
        Detection detection(sim);
        int requestsBeforeSwitch = -1;
        ActWhen choose([&] { return childNamed<QLabel>(&detection.splash, "lblWarning")->isVisible(); },
                       [&] {
                           requestsBeforeSwitch = int(sim.requests().size());
                           childNamed<QComboBox>(&detection.splash, "comboCOM")->setCurrentIndex(4);
                       });
        QVERIFY(detection.waitUntilClosed());
        QCOMPARE(requestsBeforeSwitch, 0);
        QCOMPARE(detection.state.port, qint16(5));
        QCOMPARE(detection.state.family, MeterFamily::Contact);
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
        MeterHarness sim({"--model", "[KX-C1]", "--com", "7", "--files", "1", "--unpaced"});
        QVERIFY(sim.startMeter());
        Detection detection(sim);
        childNamed<QComboBox>(&detection.splash, "comboCOM")->setEditText(typed); // before the first attempt
        QVERIFY(detection.waitUntilClosed());
        QCOMPARE(detection.state.port, qint16(7));
        QCOMPARE(detection.state.family, MeterFamily::Contact);
        QCOMPARE(sim.requests().value(0), QString("{00}"));
    }

    // A user with an adapter hears and sees which one each number is.
    void entriesNameTheirAdapter()
    {
        MeterHarness sim({"--model", "[KX-C1]", "--com", "2", "--files", "1", "--unpaced"});
        QVERIFY(sim.startMeter());
        Detection detection(sim, [] { return QList<PortInfo>{{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", "A10K", true}}; });
        auto *ports = childNamed<QComboBox>(&detection.splash, "comboCOM");
        QCOMPARE(ports->itemText(0), QString("1 (ttyUSB0, FT232R USB UART)"));
        const QString whole("1 (ttyUSB0, FT232R USB UART, FTDI, serial number A10K)");
        QCOMPARE(ports->itemData(0, Qt::AccessibleTextRole).toString(), whole);
        QCOMPARE(QTextDocumentFragment::fromHtml(ports->toolTip()).toPlainText(), whole);
        QCOMPARE(ports->accessibleDescription(), whole);
        QCOMPARE(ports->itemText(1), QString("2"));
        detection.splash.exitProgram();
    }

    // Search asks each COMn link in turn; the meter on the third answers, and
    // the next start of the program begins on its port.
    void searchFindsTheMeterAndTheNextStartBeginsThere()
    {
        SimProcess silent2({"--silent", "--com", "2"});
        SimProcess silent3({"--silent", "--com", "3"});
        QVERIFY(silent2.start() && silent3.start());
        MeterHarness sim({"--model", "[KX-C1]", "--com", "4", "--files", "1", "--unpaced"}, Line::Pty);
        QVERIFY(sim.startMeter());
        {
            Detection detection(sim);
            QTest::mouseClick(childNamed<QPushButton>(&detection.splash, "cmdSearch"), Qt::LeftButton);
            QVERIFY(detection.waitUntilClosed());
            QCOMPARE(detection.state.port, qint16(4));
            QCOMPARE(detection.state.family, MeterFamily::Contact);
            QVERIFY(detection.dialogs.boxes.isEmpty());
        }
        QCOMPARE(silent2.requests(), QStringList{"{00}"});
        QCOMPARE(silent3.requests(), QStringList{"{00}"});

        Detection nextStart(sim);
        nextStart.splash.probeTimer().stop();
        QVERIFY(childNamed<QComboBox>(&nextStart.splash, "comboCOM")->currentText().startsWith("4 ("));
        nextStart.splash.exitProgram();
    }

    // Two adapters, the meter on COM 5: the user picks it during the search,
    // which ends it without a word; pressed twice, Search stops.
    void theUsersChoiceEndsASearch()
    {
        MeterHarness sim({"--model", "[KX-C1]", "--com", "5", "--files", "1", "--unpaced"});
        QVERIFY(sim.startMeter());
        const PortSource twoAdapters = [] {
            return QList<PortInfo>{{"/dev/ttyUSB0", "", "", "", true}, {"/dev/ttyUSB1", "", "", "", true}};
        };
        Detection detection(sim, twoAdapters);
        auto *ports = childNamed<QComboBox>(&detection.splash, "comboCOM");
        auto *search = childNamed<QPushButton>(&detection.splash, "cmdSearch");
        QTest::mouseClick(search, Qt::LeftButton);
        QCOMPARE(search->text(), QString("&Stop search"));
        // The longer caption shows whole.
        QStyleOptionButton option;
        option.initFrom(search);
        const QRect area = search->style()->subElementRect(QStyle::SE_PushButtonContents, &option, search);
        QVERIFY(search->fontMetrics().horizontalAdvance("Stop search") <= area.width());
        QTest::mouseClick(search, Qt::LeftButton);
        QCOMPARE(search->text(), QString("&Search"));
        QCOMPARE(ports->currentIndex(), 0);

        QTest::mouseClick(search, Qt::LeftButton);
        // While the search asks COM 2, the user picks COM 5.
        QObject::connect(
            ports, &QComboBox::currentIndexChanged, ports,
            [ports](int index) {
                if (index != 1)
                    return;
                ports->setCurrentIndex(4);
                emit ports->activated(4);
            },
            Qt::QueuedConnection);
        // Had the search gone on to its end, its box would show: the user leaves.
        ActWhen leave([&] { return !detection.dialogs.boxes.isEmpty(); }, [&] { detection.splash.exitProgram(); });
        QVERIFY(detection.waitUntilClosed());
        QCOMPARE(detection.state.port, qint16(5));
        QVERIFY(detection.dialogs.boxes.isEmpty());
    }

    // A remembered port counts only while the same device stands behind it.
    void aRememberedPortIsCheckedAgainstItsDevice_data()
    {
        QTest::addColumn<QVariant>("port");
        QTest::addColumn<QString>("device");
        QTest::addColumn<int>("index");
        QTest::newRow("the same adapter") << QVariant(2) << "/dev/ttyUSB1" << 1;
        QTest::newRow("another device now") << QVariant(2) << "/dev/ttyUSB7" << 0;
        QTest::newRow("out of range") << QVariant(33) << "" << 0;
        QTest::newRow("not a number") << QVariant("COM2") << "/dev/ttyUSB1" << 0;
    }
    void aRememberedPortIsCheckedAgainstItsDevice()
    {
        QFETCH(QVariant, port);
        QFETCH(QString, device);
        QSettings settings;
        settings.setValue("detection/lastPort", port);
        settings.setValue("detection/lastPortDevice", device);
        settings.sync();
        MeterHarness sim({"--model", "[KX-C1]", "--com", "9", "--files", "1", "--unpaced"});
        QVERIFY(sim.startMeter());
        Detection detection(sim, [] {
            return QList<PortInfo>{{"/dev/ttyUSB0", "", "", "", true}, {"/dev/ttyUSB1", "", "", "", true}};
        });
        detection.splash.probeTimer().stop();
        QTEST(childNamed<QComboBox>(&detection.splash, "comboCOM")->currentIndex(), "index");
        detection.splash.exitProgram();
    }

    void searchWithNothingToAskSaysSo()
    {
        MeterHarness sim({"--model", "[KX-C1]", "--com", "5", "--files", "1", "--unpaced"});
        QVERIFY(sim.startMeter());
        Detection detection(sim);
        QTest::mouseClick(childNamed<QPushButton>(&detection.splash, "cmdSearch"), Qt::LeftButton);
        QCOMPARE(detection.dialogs.boxes.size(), 1);
        QVERIFY2(detection.dialogs.boxes[0].text.startsWith("There is no USB serial adapter or COMn link"),
                 qPrintable(detection.dialogs.boxes[0].text));
        QCOMPARE(childNamed<QComboBox>(&detection.splash, "comboCOM")->currentIndex(), 0);
        detection.splash.exitProgram();
    }

    void portHeldByAnotherProgramIsShownAsInUse()
    {
        // The system's own reason: the real port, on a pseudo-terminal. No
        // reply is ever awaited, so the waits are cut short.
        MeterHarness sim({"--model", "[KX-C1]", "--files", "1", "--unpaced"}, Line::Pty);
        QVERIFY(sim.startMeter());
        // Another program has COM 1 open, as a second copy of this one would.
        QtSerialLink holder(SerialLink::probeBufferSize);
        holder.setPortNumber(1);
        QVERIFY2(holder.open(), qPrintable(holder.errorString()));

        Detection detection(fastTiming());
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
        QVERIFY2(reason.startsWith(sim.device + ": in use by another program"), qPrintable(reason));
        QVERIFY2(!reason.contains("dialout"), qPrintable(reason));
        QVERIFY(sim.requests().isEmpty());
    }

    void portThatCannotBeOpenedShowsTheReasonBesideTheWarning()
    {
        // COM 32 has no device behind it: the program's own port says why.
        Detection detection(fastTiming());
        childNamed<QComboBox>(&detection.splash, "comboCOM")->setCurrentIndex(31);
        QString warning;
        QString reason;
        ActWhen exit([&] { return childNamed<QLabel>(&detection.splash, "lblWarning")->isVisible(); },
                     [&] {
                         warning = childNamed<QLabel>(&detection.splash, "lblWarning")->text();
                         reason = childNamed<QLabel>(&detection.splash, "lblWarning")->toolTip();
                         // Enter in the port field presses nothing; on a focused Exit it ends the probe.
                         auto *exitButton = childNamed<QPushButton>(&detection.splash, "cmdExit");
                         QTest::keyClick(childNamed<QComboBox>(&detection.splash, "comboCOM"), Qt::Key_Return);
                         QVERIFY(detection.splash.isVisible());
                         exitButton->setFocus(Qt::TabFocusReason);
                         QTest::keyClick(exitButton, Qt::Key_Return);
                     });
        QVERIFY(detection.waitUntilClosed());
        QCOMPARE(warning, MessageTexts::meterNotCommunicating());
        QVERIFY2(reason.contains("COM 32"), qPrintable(reason));
        QVERIFY(detection.dialogs.boxes.isEmpty());
    }

};

QTEST_MAIN(TestDetection)
#include "tst_detection.moc"
