// SPDX-License-Identifier: MIT
// The winding meter window against the simulator's meter in memory; the load
// of a hundred files runs against the simulator on a pseudo-terminal, at
// 19200 baud and with the meter's real pauses.
#include "ReadFile.h"
#include "RefusedDownloads.h"
#include "MeterHarness.h"
#include "TemporaryConfigHome.h"
#include "ui/SaveLocation.h"
#include "link/StopRequest.h"
#include "protocol/WindingRecord.h"
#include "ui/SaveLocation.h"
#include "ui/Twips.h"
#include "ui/WindingMeterWindow.h"
#include "ui/filelist/ClickLabel.h"
#include "ui/filelist/FileListView.h"

#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

namespace {

// A long winding record as the meter sends it: name, both channels, the
// conductor digit and the temperature in tenths, "]" at byte 34.
QByteArray longRecord(const char *name, const char *channel1, const char *channel2, char conductor,
                      const char *tenths)
{
    return QByteArray(name) + ' ' + channel1 + ' ' + channel2 + ' ' + conductor + ' ' + tenths + ']';
}

QByteArray fourFileMeter()
{
    return "family winding\n"
           "model [KX-W2]\n"
           "files 4\n"
           "heat-run 3\n"
           "record 0 " + longRecord("TX-001", "    1.234", "   12.500", '0', "0253") + "\n"
           "record 1 " + longRecord("TX-002", "  100.000", "     OL  ", '1', "0350") + "\n"
           "record 2 " + longRecord(" - - -", "         ", "         ", '0', "0000") + "\n"
           "record 3 " + longRecord("TX-004", "   12.500", "    1.234", '0', "0000") + "\n"
           "heat-run-name 0 HRT-JOB-0001\n"
           "heat-run-file 0 Time,R1\\r\\n0,1.000\n"
           "heat-run-name 2 HRT-JOB-0003\n"
           "heat-run-file 2 Time,R1,R2\\r\\n0,1.234,1.240\\r\\n1,1.236,1.241\n";
}

const ScriptedDialogs::Box fatalBox{true, "Fatal Error", "Error Communication with Winding Resistance Meter"};

} // namespace

class TestWindingWindow : public QObject
{
    Q_OBJECT
private:
    TemporaryConfigHome m_config;

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void loadsAHundredFilesInOrder()
    {
        MeterHarness harness("[KX-W1]", MeterFamily::Winding, {"--files", "100", "--seed", "7"}, Line::Pty);
        QVERIFY(harness.load());
        auto *window = harness.as<WindingMeterWindow>();
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QString("[KX-W1] Meter Communication Software"));
        QVERIFY(harness.dialogs.boxes.isEmpty());

        QCOMPARE(harness.progress.size(), 100);
        QCOMPARE(harness.progress.first(), QString("1 / 100"));
        QCOMPARE(harness.progress.at(6), QString("7 / 100"));
        QCOMPARE(harness.progress.last(), QString("100 / 100"));

        QStringList expected{"{01}", "{02}", "{03}"};
        for (int index = 0; index < 100; ++index)
            expected << QString::fromLatin1(windingRecordRequest(index, false));
        QCOMPARE(harness.requests(), expected);

        QCOMPARE(window->fileCount(), 100);
        QVERIFY(!window->shortRecords());
        QCOMPARE(window->list().rowCount(), 100);
        QCOMPARE(window->list().checkCaption(99), QString("100"));
        QVERIFY(window->list().isScrollBarShown());
        QCOMPARE(window->list().scrollBar()->maximum(), 30); // 50 lines, 20 in view
        QVERIFY(window->list().cellText(99, WindingColumn::FileName) != QString("  ---"));

        // The start-up ends on the menu.
        QVERIFY(childNamed<QGroupBox>(window, "frameCommand")->isVisibleTo(window));
        QVERIFY(!childNamed<QGroupBox>(window, "Frame1")->isVisibleTo(window));
        QVERIFY(!childNamed<QGroupBox>(window, "Frame2")->isVisibleTo(window));
        QCOMPARE(window->windowSizeTwips(), QSize(3465, 3615));
    }

    void viewsSizeTheWindowAroundThemselves()
    {
        MeterHarness harness("[KX-W4]", MeterFamily::Winding, {"--files", "2", "--unpaced"});
        QVERIFY(harness.load());
        auto *window = harness.as<WindingMeterWindow>();
        QCOMPARE(window->windowTitle(), QString("[KX-W4] Meter Communication Software"));

        window->showHeatRunView();
        QCOMPARE(window->windowSizeTwips(), QSize(4665, 5775));
        QCOMPARE(window->closeButtonPositionTwips(), QPoint(1725, 4755));
        QVERIFY(childNamed<QGroupBox>(window, "Frame1")->isVisibleTo(window)
                && childNamed<QPushButton>(window, "cmdClose")->isVisibleTo(window));
        QVERIFY(!childNamed<QGroupBox>(window, "frameCommand")->isVisibleTo(window));

        window->showMenu();
        window->showMeasurementView();
        QCOMPARE(window->windowSizeTwips(), QSize(15315, 9135));
        QCOMPARE(window->closeButtonPositionTwips(), QPoint(7050, 8115));
        QCOMPARE(childNamed<QPushButton>(window, "cmdRMDownload")->x(), Twips::toPixels(6885));
        QVERIFY(childNamed<QGroupBox>(window, "Frame2")->isVisibleTo(window)
                && !childNamed<QGroupBox>(window, "Frame1")->isVisibleTo(window));

        window->showMenu();
        QCOMPARE(window->windowSizeTwips(), QSize(3465, 3615));
        QVERIFY(!childNamed<QPushButton>(window, "cmdClose")->isVisibleTo(window));
    }

    void decodesRowsAndExportsTheTickedOnes()
    {
        MeterHarness harness("[KX-W2]", MeterFamily::Winding, {});
        harness.simArguments = QStringList({"--data", harness.writeDataFile(fourFileMeter()), "--unpaced"});
        QVERIFY(harness.load());
        auto *window = harness.as<WindingMeterWindow>();
        FileList &list = window->list();
        QVERIFY(harness.dialogs.boxes.isEmpty());

        const QStringList row0{"TX-001", "    1.234", "   12.500", "25.3", "1.208297", "12.23964", "Copper"};
        const QStringList row1{"TX-002", "  100.000", "     OL  ", "35", "93.85", "  ---", "Aluminium"};
        const QStringList row3{"TX-004", "   12.500", "    1.234", "  ---", "  ---", "  ---", "  ---"};
        for (int column = 0; column < WindingColumn::Count; ++column) {
            QCOMPARE(list.cellText(0, column), row0.at(column));
            QCOMPARE(list.cellText(1, column), row1.at(column));
            QCOMPARE(list.cellText(2, column), QString("  ---"));
            QCOMPARE(list.cellText(3, column), row3.at(column));
        }
        QVERIFY(!list.isCheckEnabled(2));
        // A screen reader tells a value the record lacks from an empty slot.
        QCOMPARE(list.spokenText(1), QString("File 2: TX-002, 100.000, OL, 35, 93.85, no value, Aluminium"));
        QCOMPARE(list.spokenText(2), QString("File 3: empty"));

        // Heat-run slots: 1 and 3 hold files, 2 is empty.
        QCOMPARE(childNamed<QLabel>(window, "lblFile_0")->text(), QString("HRT-JOB-0001"));
        QVERIFY(childNamed<QLabel>(window, "lblFile_0")->font().bold());
        QCOMPARE(childNamed<QLabel>(window, "lblFile_1")->text(), QString(" - - Empty - -"));
        QVERIFY(!childNamed<QPushButton>(window, "cmdDownload_1")->isEnabled());
        QVERIFY(childNamed<QPushButton>(window, "cmdDownload_2")->isEnabled());
        QVERIFY(!childNamed<QPushButton>(window, "cmdDownload_3")->isEnabled());

        window->showMeasurementView();
        window->saveDialog().today = [] { return QDate(2026, 12, 9); };
        list.setTicked(1, true);
        list.setTicked(3, true);
        const QString path = harness.files.filePath("export.html");
        harness.dialogs.saveAnswers << path;
        QTest::mouseClick(childNamed<QPushButton>(window, "cmdRMDownload"), Qt::LeftButton);

        const QByteArray expected =
            "<html><table border=\"1\"  cellpadding=\"5\">\r\n"
            "<tr><th> File No. </th><th> Filename </th><th> Ch1 (Ohm) </th><th> Ch2 (Ohm) </th>"
            "<th> Temperature (Deg) </th><th> Ch1 (Ohm) at 20Deg </th><th> Ch2 (Ohm) at 20Deg </th>"
            "<th> Conductor </th></tr>\r\n"
            "\r\n"
            "<tr><td>2</td><td>TX-002</td><td>  100.000</td><td>     OL  </td><td>35</td><td>93.85</td>"
            "<td>  ---</td><td>Aluminium</td></tr>\r\n"
            "\r\n"
            "\r\n"
            "<tr><td>4</td><td>TX-004</td><td>   12.500</td><td>    1.234</td></tr>\r\n"
            "\r\n"
            "</table></html>\r\n";
        QCOMPARE(readFile(path), expected);
        QCOMPARE(harness.dialogs.saveRequests.size(), 1);
        QCOMPARE(harness.dialogs.saveRequests[0].filter, QString("HTML table (*.html)"));
        QCOMPARE(harness.dialogs.saveRequests[0].defaultSuffix, QString("html"));
        QCOMPARE(harness.dialogs.saveRequests[0].proposedName, QString("KX-W2 2026-12-09.html"));
        QCOMPARE(SaveLocation::startFolder(SaveKind::MeasurementTable), harness.files.path());
        QCOMPARE(harness.dialogs.boxes,
                 (QList<ScriptedDialogs::Box>{{false, "Kestrix", "File(s) downloaded successfully"}}));
        QVERIFY(childNamed<QGroupBox>(window, "Frame2")->isEnabled());
        QVERIFY(list.isTicked(1) && list.isTicked(3));

        // Cancelled, and a folder in the way: nothing written, the list still usable.
        checkRefusedDownloads(harness, path);
    }

    void commaLocaleShowsCommasButReadsPoints()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        MeterHarness harness("[KX-W2]", MeterFamily::Winding, {});
        harness.simArguments = QStringList({"--data", harness.writeDataFile(fourFileMeter()), "--unpaced"});
        QVERIFY(harness.load());
        FileList &list = harness.as<WindingMeterWindow>()->list();
        QCOMPARE(list.cellText(0, WindingColumn::Res1T), QString("    1.234")); // as the meter sent it
        QCOMPARE(list.cellText(0, WindingColumn::Temp), QString("25,3"));
        QCOMPARE(list.cellText(0, WindingColumn::Res1At20), QString("1,208297"));
        QCOMPARE(list.cellText(1, WindingColumn::Res1At20), QString("93,85"));
    }

    void downloadsHeatRunTestFiles()
    {
        MeterHarness harness("[KX-W2]", MeterFamily::Winding, {});
        harness.simArguments = QStringList({"--data", harness.writeDataFile(fourFileMeter()), "--unpaced", "--fault-only",
                                  "{1001}", "--truncate", "1"});
        QVERIFY(harness.load());
        auto *window = harness.as<WindingMeterWindow>();
        window->showHeatRunView();
        window->saveDialog().today = [] { return QDate(2027, 1, 2); };
        const QString startFolder = SaveLocation::startFolder(SaveKind::HeatRunFile);

        QCOMPARE(window->focusWidget(),
                 childNamed<QPushButton>(window, "cmdDownload_0")); // the first slot that holds a file

        const QString path = harness.files.filePath("heat-run.csv");
        harness.dialogs.saveAnswers << path << path;
        childNamed<QPushButton>(window, "cmdDownload_2")->setFocus();
        QTest::mouseClick(childNamed<QPushButton>(window, "cmdDownload_2"), Qt::LeftButton);
        // The focus stays on the slot's button, not on Close.
        QCOMPARE(window->focusWidget(), childNamed<QPushButton>(window, "cmdDownload_2"));
        QCOMPARE(harness.requests().last(), QString("{1003}"));
        QCOMPARE(readFile(path), QByteArray("Time,R1,R2\r\n0,1.234,1.240\r\n1,1.236,1.241\r\n"));
        QVERIFY(!childNamed<QLabel>(window, "lblFile_2")->font().bold());
        QCOMPARE(childNamed<QLabel>(window, "lblFile_2")->text(), QString("HRT-JOB-0003"));
        QCOMPARE(harness.dialogs.saveRequests.size(), 1);
        QCOMPARE(harness.dialogs.saveRequests[0].filter, QString("CSV file (*.csv)"));
        QCOMPARE(harness.dialogs.saveRequests[0].defaultSuffix, QString("csv"));
        QCOMPARE(harness.dialogs.saveRequests[0].proposedName, QString("HRT-JOB-0003.csv")); // the meter's name
        QCOMPARE(harness.dialogs.saveRequests[0].folder, startFolder);
        QCOMPARE(SaveLocation::startFolder(SaveKind::HeatRunFile), harness.files.path());
        QVERIFY(harness.dialogs.boxes.isEmpty());
        QVERIFY(childNamed<QGroupBox>(window, "Frame1")->isEnabled());

        // The first slot's reply comes without its closing bracket.
        QTest::mouseClick(childNamed<QPushButton>(window, "cmdDownload_0"), Qt::LeftButton);
        QCOMPARE(harness.dialogs.boxes,
                 (QList<ScriptedDialogs::Box>{{true, "Error", "Error downloading the file"}}));
        QVERIFY(childNamed<QLabel>(window, "lblFile_0")->font().bold());
        QVERIFY(childNamed<QPushButton>(window, "cmdDownload_0")->isEnabled());
        QCOMPARE(harness.dialogs.saveRequests.size(), 1);

        // Downloading again proposes the name chosen the first time.
        QTest::mouseClick(childNamed<QPushButton>(window, "cmdDownload_2"), Qt::LeftButton);
        QCOMPARE(harness.dialogs.saveRequests.size(), 2);
        QCOMPARE(harness.dialogs.saveRequests[1].proposedName, QString("heat-run.csv"));
        QCOMPARE(harness.dialogs.saveRequests[1].folder, harness.files.path());
        QVERIFY(childNamed<QGroupBox>(window, "Frame1")->isEnabled());

        // Escape leaves the view for the menu, as Close does.
        QTest::keyClick(window->focusWidget(), Qt::Key_Escape);
        QVERIFY(childNamed<QGroupBox>(window, "frameCommand")->isVisibleTo(window));
        QVERIFY(!childNamed<QGroupBox>(window, "Frame1")->isVisibleTo(window));
        QCOMPARE(window->focusWidget(), childNamed<QPushButton>(window, "cmdHRT"));
        QVERIFY(!harness.stop.isRequested());
        QCOMPARE(QAccessible::queryAccessibleInterface(window)->role(), QAccessible::Window);
    }

    void heatRunSavesNeverProposeAnotherFile()
    {
        MeterHarness harness("[KX-W2]", MeterFamily::Winding, {});
        const QByteArray twoAlike = "family winding\nmodel [KX-W2]\nfiles 2\nheat-run 2\n"
                                    "heat-run-name 0 T1/PHASE\\x20A\\x20\\x20\nheat-run-file 0 A\n"
                                    "heat-run-name 1 T1/PHASE\\x20A\\x20\\x20\nheat-run-file 1 B\n";
        harness.simArguments = QStringList({"--data", harness.writeDataFile(twoAlike), "--unpaced"});
        QVERIFY(harness.load());
        auto *window = harness.as<WindingMeterWindow>();
        // Heat runs went to this folder before; the measurement export goes
        // there first, as CSV, under the name the meter gives slot 1.
        SaveLocation::remember(SaveKind::HeatRunFile, harness.files.filePath("earlier.csv"));
        window->showMeasurementView();
        harness.dialogs.saveAnswers << harness.files.filePath("T1_PHASE A.csv");
        QVERIFY(harness.click("cmdRMDownload"));
        window->showHeatRunView();

        const QString first = harness.files.filePath("T1_PHASE A (2).csv");
        harness.dialogs.saveAnswers << first << harness.files.filePath("second.csv") << first;
        for (const char *button : {"cmdDownload_0", "cmdDownload_1", "cmdDownload_0"})
            QVERIFY(harness.click(button));
        QCOMPARE(harness.dialogs.saveRequests.size(), 4);
        for (int request = 1; request < 4; ++request)
            QCOMPARE(harness.dialogs.saveRequests[request].folder, harness.files.path());
        // The meter's name, but neither the export's file nor the one slot 1 went to.
        QCOMPARE(harness.dialogs.saveRequests[1].proposedName, QString("T1_PHASE A (2).csv"));
        QCOMPARE(harness.dialogs.saveRequests[2].proposedName, QString("T1_PHASE A (3).csv"));
        // A slot saved before proposes its own file again.
        QCOMPARE(harness.dialogs.saveRequests[3].proposedName, QString("T1_PHASE A (2).csv"));
        QCOMPARE(readFile(harness.files.filePath("second.csv")), QByteArray("B\r\n"));
    }

    void shortFormatMeterHasThirtyFiles()
    {
        MeterHarness harness("[KX-W3]", MeterFamily::Winding, {"--short", "--unpaced", "--model", "[KX-W3]"});
        QVERIFY(harness.load());
        auto *window = harness.as<WindingMeterWindow>();
        QVERIFY(window->shortRecords());
        const QStringList requests = harness.requests();
        QCOMPARE(requests.size(), 33);
        QCOMPARE(requests.at(3), QString("{1100}"));
        QCOMPARE(requests.last(), QString("{1129}"));
        for (int row = 0; row < 30; ++row) {
            if (!window->list().isCheckEnabled(row))
                continue;
            QVERIFY(window->list().cellText(row, WindingColumn::FileName) != QString("  ---"));
            QCOMPARE(window->list().cellText(row, WindingColumn::Temp), QString("  ---"));
            QCOMPARE(window->list().cellText(row, WindingColumn::Conductor), QString("  ---"));
        }
        QVERIFY(!window->list().isScrollBarShown());
    }

    void noHeatRunFilesStillAsksForTheirNames()
    {
        MeterHarness harness("[KX-W1]", MeterFamily::Winding, {"--heat-run", "0", "--files", "3", "--unpaced"});
        QVERIFY(harness.load());
        auto *window = harness.as<WindingMeterWindow>();
        QVERIFY(!childNamed<QPushButton>(window, "cmdHRT")->isEnabled());
        QCOMPARE(harness.requests().mid(0, 3), (QStringList{"{01}", "{02}", "{03}"}));
        for (int slot = 0; slot < WindingMeterWindow::heatRunSlots; ++slot) {
            QCOMPARE(childNamed<QLabel>(window, QStringLiteral("lblFile_%1").arg(slot))->text(),
                     QString(" - - Empty - -"));
            QVERIFY(!childNamed<QPushButton>(window, QStringLiteral("cmdDownload_%1").arg(slot))->isEnabled());
        }
    }

    void moreThanEightHeatRunFilesFillTheEightSlots()
    {
        MeterHarness harness("[KX-W1]", MeterFamily::Winding, {"--heat-run", "9", "--files", "1", "--unpaced"});
        QVERIFY(harness.load());
        auto *window = harness.as<WindingMeterWindow>();
        QVERIFY(harness.dialogs.boxes.isEmpty());
        QCOMPARE(harness.requests(), (QStringList{"{01}", "{02}", "{03}", "{110000}"}));
        for (int slot = 0; slot < WindingMeterWindow::heatRunSlots; ++slot) {
            QVERIFY(childNamed<QPushButton>(window, QStringLiteral("cmdDownload_%1").arg(slot))->isEnabled());
            QVERIFY(childNamed<QLabel>(window, QStringLiteral("lblFile_%1").arg(slot))->text()
                    != QString(" - - Empty - -"));
        }
    }

    void startUpFailuresAreFatal_data()
    {
        QTest::addColumn<QStringList>("simArguments");
        QTest::addColumn<QStringList>("requests");
        QTest::newRow("silent meter") << QStringList{"--silent"} << QStringList{"{01}"};
        QTest::newRow("silent after {01}") << QStringList{"--silent-after", "1"} << QStringList{"{01}", "{02}"};
        QTest::newRow("silent after {02}") << QStringList{"--silent-after", "2"}
                                           << QStringList{"{01}", "{02}", "{03}"};
        QTest::newRow("file count not a number")
            << QStringList{"--bad-count", "--fault-only", "{03}"} << QStringList{"{01}", "{02}", "{03}"};
    }
    void startUpFailuresAreFatal()
    {
        QFETCH(QStringList, simArguments);
        QFETCH(QStringList, requests);
        MeterHarness harness("[KX-W1]", MeterFamily::Winding, simArguments << "--unpaced" << "--files" << "5");
        QVERIFY(harness.load());
        auto *window = harness.as<WindingMeterWindow>();
        QCOMPARE(harness.dialogs.boxes, QList<ScriptedDialogs::Box>{fatalBox});
        QCOMPARE(harness.requests(), requests);
        QCOMPARE(window->fileCount(), 0);
        QCOMPARE(window->list().rowCount(), 2);
        QVERIFY(harness.progress.isEmpty());

        // The menu as designed, with the keyboard on it.
        window->show();
        QCoreApplication::processEvents();
        QVERIFY(childNamed<QGroupBox>(window, "frameCommand")->isVisibleTo(window));
        QVERIFY(window->focusWidget()
                && childNamed<QGroupBox>(window, "frameCommand")->isAncestorOf(window->focusWidget()));

        // The measurement view's two design rows hold no file: neither can be ticked.
        window->showMeasurementView();
        FileList &list = window->list();
        list.setTicked(0, true);
        list.setTicked(1, true);
        window->measurementView()->selectAll();
        for (int row = 0; row < 2; ++row)
            QVERIFY(!list.isCheckEnabled(row) && !list.isTicked(row));
        // Download with nothing ticked writes the table without rows and
        // says so, as every export with nothing ticked does.
        harness.dialogs.boxes.clear();
        const QString path = harness.files.filePath("nothing.html");
        harness.dialogs.saveAnswers << path;
        QTest::mouseClick(childNamed<QPushButton>(window, "cmdRMDownload"), Qt::LeftButton);
        QVERIFY(!readFile(path).contains("<td>"));
        QVERIFY(readFile(path).endsWith("</table></html>\r\n"));
        QCOMPARE(harness.dialogs.boxes,
                 (QList<ScriptedDialogs::Box>{{false, "Kestrix", "File(s) downloaded successfully"}}));

        // Escape: from the view back to the menu, then from the menu out.
        QWidget *keys = window->focusWidget() ? window->focusWidget() : window;
        QTest::keyClick(keys, Qt::Key_Escape);
        QVERIFY(childNamed<QGroupBox>(window, "frameCommand")->isVisibleTo(window));
        QVERIFY(!childNamed<QGroupBox>(window, "Frame2")->isVisibleTo(window));
        QVERIFY(!harness.stop.isRequested());
        keys = window->focusWidget() ? window->focusWidget() : window;
        QTest::keyClick(keys, Qt::Key_Escape);
        QVERIFY(harness.stop.isRequested());
    }
};

QTEST_MAIN(TestWindingWindow)
#include "tst_windingwindow.moc"
