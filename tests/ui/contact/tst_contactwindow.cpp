// SPDX-License-Identifier: MIT
// The contact resistance and ratio meter windows against the simulator's
// meter in memory; a ratio meter load and the paced replies run against the
// simulator on a pseudo-terminal. What the list windows share is in
// tst_listwindows.
#include "ReadFile.h"
#include "RefusedDownloads.h"
#include "MeterHarness.h"
#include "TemporaryConfigHome.h"
#include "ui/SaveLocation.h"
#include "link/StopRequest.h"
#include "protocol/ContactRecord.h"
#include "ui/ContactMeterWindow.h"
#include "ui/SaveLocation.h"
#include "ui/Twips.h"
#include "ui/filelist/ClickLabel.h"
#include "ui/filelist/FileListView.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

namespace {

using Boxes = QList<ScriptedDialogs::Box>;

// A contact record as the meter sends it, 38 bytes: "[", date and time
// (2-20), blank, range status (22), blank, resistance (24-31), blank,
// current (33-37), "]".
QByteArray record(const char *dateTime, char status, const char *resistance, const char *current)
{
    return QByteArray("[") + dateTime + ' ' + status + ' ' + resistance + ' ' + current + ']';
}

// Files 1 to 3: a scaled resistance, an over-range mark, a plain value.
QByteArray threeFileMeter(const char *family)
{
    return QByteArray("family ") + family + "\n"
           "files 3\n"
           "record 0 " + record("07/03/21 - 14:05:09", '0', "123:4567", "100.0") + "\n"
           "record 1 " + record("08/03/21 - 09:10:11", '1', "99999999", "10.00") + "\n"
           "record 2 " + record("09/03/21 - 23:59:58", '0', "0012.345", " 50.0") + "\n";
}

// Slot 3 (0-based 2) has no record line, so the meter reports it empty.
QByteArray meterWithAnEmptySlot()
{
    return "family contact\n"
           "files 4\n"
           "record 0 " + record("01/01/22 - 00:00:01", '0', "456<0000", "  1.0") + "\n"
           "record 1 " + record("02/01/22 - 00:00:02", '0', "789;0000", "  2.0") + "\n"
           "record 3 " + record("04/01/22 - 00:00:04", '2', "00000000", "  4.0") + "\n";
}

const QByteArray tableStart = "<html><table border=\"1\"  cellpadding=\"5\">\r\n"
                              "<tr><th> File No. </th><th> File Date & Time </th><th> Resistance (Ohm) </th>"
                              "<th> Current (A) </th></tr>\r\n";
const QByteArray tableEnd = "</table></html>\r\n";

QStringList rowTexts(FileList &list, int row)
{
    QStringList texts;
    for (int column = 0; column < ContactColumn::Count; ++column)
        texts << list.cellText(row, column);
    return texts;
}

const QStringList unfilled{"  ---", "  ---", "  ---"};

QStringList recordRequests(int count)
{
    QStringList requests;
    for (int index = 0; index < count; ++index)
        requests << QString::fromLatin1(contactRecordRequest(index));
    return requests;
}

const ScriptedDialogs::Box fatalBox{true, "Fatal Error", "Error Communication with Winding Resistance Meter"};
using knownBoxes::communicationError;
using knownBoxes::downloadError;
const ScriptedDialogs::Box &successBox = knownBoxes::filesDownloaded;

} // namespace

class TestContactWindow : public QObject
{
    Q_OBJECT
private:
    TemporaryConfigHome m_config;

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
    }

    void everyWayOfTickingReachesTheExport()
    {
        MeterHarness harness("[KX-C1]", MeterFamily::Contact, {"--family", "contact", "--files", "60", "--unpaced"});
        QVERIFY(harness.load());
        auto *window = harness.as<FileListWindow>();
        FileList &list = window->list();
        window->show();
        QApplication::setActiveWindow(window);
        QCoreApplication::processEvents();
        QCOMPARE(QApplication::focusWidget(), list.view());

        // File 2 by the mouse, anywhere in its check box's cell.
        QTest::mouseClick(list.view()->viewport(), Qt::LeftButton, {}, list.checkCellRect(1).topRight());
        // File 46, scrolled away, by an assistive tool's toggle action.
        QAccessibleInterface *files = QAccessible::queryAccessibleInterface(list.view());
        QVERIFY(!list.isRowOnScreen(45));
        files->child(45)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        // File 60 by the keyboard: End, then Space.
        QTest::keyClick(list.view(), Qt::Key_End);
        QTest::keyClick(list.view(), Qt::Key_Space);
        // Scrolling in between changes nothing.
        list.scrollBar()->setValue(0);
        list.scrollBar()->setValue(list.scrollBar()->maximum() / 2);

        const QString path = harness.files.filePath("ticked.html");
        QVERIFY(harness.download(path));
        QCOMPARE(harness.dialogs.boxes, Boxes{successBox});
        QList<QByteArray> exported;
        for (const QByteArray &line : readFile(path).split('\n')) {
            if (line.startsWith("<tr><td>"))
                exported << line.mid(8, line.indexOf("</td>") - 8);
        }
        QCOMPARE(exported, (QList<QByteArray>{"2", "46", "60"}));
    }

    void decodesRowsAndExportsTheTickedOnes()
    {
        MeterHarness harness("[KX-C1]", MeterFamily::Contact, {});
        harness.simArguments = QStringList({"--data", harness.writeDataFile(threeFileMeter("contact")), "--unpaced"});
        QVERIFY(harness.load());
        auto *window = harness.as<FileListWindow>();
        FileList &list = window->list();
        QVERIFY(harness.dialogs.boxes.isEmpty());
        QCOMPARE(harness.progress, (QStringList{"1 / 3", "2 / 3", "3 / 3"}));
        QCOMPARE(rowTexts(list, 0), (QStringList{"07/03/21 - 14:05:09", "123E-3", "100.0"}));
        QCOMPARE(rowTexts(list, 1), (QStringList{"08/03/21 - 09:10:11", "-Over-", ""}));
        QCOMPARE(rowTexts(list, 2), (QStringList{"09/03/21 - 23:59:58", "0012.345", " 50.0"}));

        list.setTicked(0, true);
        list.setTicked(2, true);
        const QString path = harness.files.filePath("contact.html");
        window->saveDialog().today = [] { return QDate(2026, 12, 9); };
        const QString startFolder = SaveLocation::startFolder(SaveKind::MeasurementTable);
        QVERIFY(harness.download(path));
        const QByteArray row1 = "<tr><td>1</td><td>07/03/21 - 14:05:09</td><td>123E-3</td><td>100.0</td></tr>\r\n";
        const QByteArray row2 = "<tr><td>2</td><td>08/03/21 - 09:10:11</td><td>-Over-</td><td></td></tr>\r\n";
        const QByteArray row3 = "<tr><td>3</td><td>09/03/21 - 23:59:58</td><td>0012.345</td><td> 50.0</td></tr>\r\n";
        QCOMPARE(readFile(path), tableStart + row1 + "\r\n" + "\r\n" + row3 + "\r\n" + tableEnd);
        QCOMPARE(harness.dialogs.saveRequests.size(), 1);
        QCOMPARE(harness.dialogs.saveRequests[0].filter, QString("HTML table (*.html)"));
        QCOMPARE(harness.dialogs.saveRequests[0].defaultSuffix, QString("html"));
        QCOMPARE(harness.dialogs.saveRequests[0].proposedName, QString("KX-C1 2026-12-09.html"));
        QCOMPARE(harness.dialogs.saveRequests[0].folder, startFolder);
        QCOMPARE(harness.dialogs.boxes, Boxes{successBox});
        QVERIFY(childNamed<QGroupBox>(window, "Frame2")->isEnabled());

        // The over-range row: its mark and an empty current. The same name
        // again replaces the file; each export proposes the model and the
        // day again, in the folder written to last.
        childNamed<ClickLabel>(window, "lblUnselectAll")->click();
        list.setTicked(1, true);
        QVERIFY(harness.download(path));
        QCOMPARE(readFile(path), tableStart + "\r\n" + row2 + "\r\n" + "\r\n" + tableEnd);
        QCOMPARE(harness.dialogs.saveRequests[1].proposedName, QString("KX-C1 2026-12-09.html"));
        QCOMPARE(harness.dialogs.saveRequests[1].folder, harness.files.path());

        // Cancelled, and a folder in the way: nothing written, the list still usable.
        checkRefusedDownloads(harness, path);
    }

    void selectAllSkipsEmptySlots()
    {
        MeterHarness harness("[KX-C1]", MeterFamily::Contact, {});
        harness.simArguments = QStringList({"--data", harness.writeDataFile(meterWithAnEmptySlot()), "--unpaced"});
        QVERIFY(harness.load());
        auto *window = harness.as<FileListWindow>();
        FileList &list = window->list();
        QVERIFY(harness.dialogs.boxes.isEmpty());
        QCOMPARE(rowTexts(list, 0), (QStringList{"01/01/22 - 00:00:01", "456E-6", "  1.0"}));
        QCOMPARE(rowTexts(list, 1), (QStringList{"02/01/22 - 00:00:02", "789", "  2.0"}));
        QCOMPARE(rowTexts(list, 2), unfilled);
        QCOMPARE(rowTexts(list, 3), (QStringList{"04/01/22 - 00:00:04", "-Under-", ""}));
        QVERIFY(!list.isCheckEnabled(2));
        QVERIFY(list.isCheckEnabled(3));

        childNamed<ClickLabel>(window, "lblSelectAll")->click();
        QVERIFY(list.isTicked(0) && list.isTicked(1) && !list.isTicked(2) && list.isTicked(3));
        list.setTicked(2, true); // by hand neither
        QVERIFY(!list.isTicked(2));

        const QString path = harness.files.filePath("all.html");
        QVERIFY(harness.download(path));
        QCOMPARE(readFile(path),
                 tableStart + "<tr><td>1</td><td>01/01/22 - 00:00:01</td><td>456E-6</td><td>  1.0</td></tr>\r\n\r\n"
                     + "<tr><td>2</td><td>02/01/22 - 00:00:02</td><td>789</td><td>  2.0</td></tr>\r\n\r\n"
                     + "\r\n"
                     + "<tr><td>4</td><td>04/01/22 - 00:00:04</td><td>-Under-</td><td></td></tr>\r\n\r\n"
                     + tableEnd);

        childNamed<ClickLabel>(window, "lblUnselectAll")->click();
        for (int row = 0; row < 4; ++row)
            QVERIFY(!list.isTicked(row));
        QVERIFY(harness.download(path));
        QCOMPARE(readFile(path), tableStart + "\r\n\r\n\r\n\r\n" + tableEnd);
    }

    void ratioMeterHasItsOwnFrameCaption()
    {
        MeterHarness harness("KXT1", MeterFamily::Ratio, {}, Line::Pty);
        harness.simArguments = QStringList({"--data", harness.writeDataFile(threeFileMeter("ratio")), "--unpaced"});
        QVERIFY(harness.load());
        auto *window = harness.as<FileListWindow>();
        QVERIFY(window);
        QCOMPARE(window->family(), MeterFamily::Ratio);
        QCOMPARE(window->objectName(), QString("frmTRM"));
        QCOMPARE(window->windowTitle(), QString("KXT1 Meter Communication Software"));
        QCOMPARE(childNamed<QGroupBox>(window, "Frame2")->title(), QString("Ratio Meter Files"));
        QCOMPARE(window->windowSizeTwips(), QSize(8955, 9135));
        QCOMPARE(harness.requests(), QStringList{"{03}"} + recordRequests(3));
        QCOMPARE(rowTexts(window->list(), 0), (QStringList{"07/03/21 - 14:05:09", "123E-3", "100.0"}));

        // The same columns as the contact meter's export.
        window->list().setTicked(0, true);
        const QString path = harness.files.filePath("ratio.html");
        QVERIFY(harness.download(path));
        QCOMPARE(readFile(path),
                 tableStart + "<tr><td>1</td><td>07/03/21 - 14:05:09</td><td>123E-3</td><td>100.0</td></tr>\r\n"
                     + "\r\n\r\n\r\n" + tableEnd);
    }

    void keyboardAndScreenReader()
    {
        MeterHarness harness("[KX-C1]", MeterFamily::Contact, {});
        harness.simArguments = QStringList({"--data", harness.writeDataFile(threeFileMeter("contact")), "--unpaced"});
        QVERIFY(harness.load());
        auto *window = harness.as<FileListWindow>();
        FileList &list = window->list();

        // A window to a screen reader (not a "filler"), named by its title.
        QAccessibleInterface *shown = QAccessible::queryAccessibleInterface(window);
        QCOMPARE(shown->role(), QAccessible::Window);
        QCOMPARE(shown->text(QAccessible::Name), QString("[KX-C1] Meter Communication Software"));

        // No scroll bar for three files: the keyboard starts on the list.
        window->show();
        QCoreApplication::processEvents();
        QWidget *first = window->focusWidget();
        QVERIFY(first);
        QVERIFY2(first == list.viewport() || list.viewport()->isAncestorOf(first), first->metaObject()->className());

        // After an export the focus is back on Download, not on Exit.
        list.setTicked(0, true);
        childNamed<QPushButton>(window, "cmdRMDownload")->setFocus();
        QVERIFY(harness.download(harness.files.filePath("focus.html")));
        QCOMPARE(harness.dialogs.boxes, Boxes{successBox});
        QCOMPARE(window->focusWidget(), childNamed<QPushButton>(window, "cmdRMDownload"));
        harness.dialogs.boxes.clear();
        QVERIFY(harness.download(QString())); // cancelled
        QCOMPARE(window->focusWidget(), childNamed<QPushButton>(window, "cmdRMDownload"));

        // Escape where the keyboard is: Exit.
        QVERIFY(!harness.stop.isRequested());
        QTest::keyClick(window->focusWidget(), Qt::Key_Escape);
        QVERIFY(harness.stop.isRequested());
        QVERIFY(!window->isVisible());
    }

    // Every failing record shows its own box; the start-up goes on and the
    // failed rows keep their dashes and stay tickable.
    void recordFailuresGoOnWithTheNextFile_data()
    {
        QTest::addColumn<QStringList>("simArguments");
        QTest::addColumn<Boxes>("boxes");
        QTest::addColumn<int>("filledRows");
        QTest::newRow("replies end in [")
            << QStringList{"--bad-end", "--fault-only", "{11"} << Boxes{downloadError, downloadError, downloadError}
            << 0;
        QTest::newRow("meter silent after the first record")
            << QStringList{"--silent-after", "2"} << Boxes{communicationError, communicationError} << 1;
    }
    void recordFailuresGoOnWithTheNextFile()
    {
        QFETCH(QStringList, simArguments);
        QFETCH(Boxes, boxes);
        QFETCH(int, filledRows);
        MeterHarness harness("[KX-C1]", MeterFamily::Contact, {});
        harness.simArguments = QStringList({"--data", harness.writeDataFile(threeFileMeter("contact")), "--unpaced"})
            + simArguments;
        QVERIFY(harness.load());
        auto *window = harness.as<FileListWindow>();
        FileList &list = window->list();
        QCOMPARE(harness.dialogs.boxes, boxes);
        QCOMPARE(harness.requests(), QStringList{"{03}"} + recordRequests(3));
        QCOMPARE(harness.progress, (QStringList{"1 / 3", "2 / 3", "3 / 3"}));
        for (int row = 0; row < 3; ++row) {
            QVERIFY(list.isCheckEnabled(row));
            QCOMPARE(rowTexts(list, row) == unfilled, row >= filledRows);
        }
        QVERIFY(childNamed<QGroupBox>(window, "Frame2")->isVisibleTo(window));

        // A failed row exports its dashes.
        harness.dialogs.boxes.clear();
        list.setTicked(2, true);
        const QString path = harness.files.filePath("failed.html");
        QVERIFY(harness.download(path));
        QCOMPARE(readFile(path), tableStart + "\r\n\r\n<tr><td>3</td><td>  ---</td><td>  ---</td><td>  ---</td></tr>\r\n\r\n"
                                     + tableEnd);
        QCOMPARE(harness.dialogs.boxes, Boxes{successBox});
    }

    // Paced at 19200 baud, replies are still arriving when the byte count is
    // first met: the record's "]" is byte 38, and the count reply's own "]"
    // must not slip into the first record.
    void recordInPiecesIsReadWhole_data()
    {
        QTest::addColumn<QStringList>("simArguments");
        QTest::addColumn<Line>("line");
        QTest::newRow("paced, whole replies") << QStringList{} << Line::Pty;
        QTest::newRow("paced, three pieces") << QStringList{"--pieces", "3", "--gap-ms", "5"} << Line::Pty;
        QTest::newRow("unpaced, three pieces")
            << QStringList{"--pieces", "3", "--gap-ms", "5", "--unpaced"} << Line::InMemory;
        QTest::newRow("paced, late last byte") << QStringList{"--pieces", "38", "--gap-ms", "2"} << Line::Pty;
    }
    void recordInPiecesIsReadWhole()
    {
        QFETCH(QStringList, simArguments);
        QFETCH(Line, line);
        MeterHarness harness("[KX-C1]", MeterFamily::Contact, {}, line);
        harness.simArguments = QStringList({"--data", harness.writeDataFile(threeFileMeter("contact"))}) + simArguments;
        QVERIFY(harness.load());
        FileList &list = harness.as<FileListWindow>()->list();
        QVERIFY(harness.dialogs.boxes.isEmpty());
        QCOMPARE(rowTexts(list, 0), (QStringList{"07/03/21 - 14:05:09", "123E-3", "100.0"}));
        QCOMPARE(rowTexts(list, 1), (QStringList{"08/03/21 - 09:10:11", "-Over-", ""}));
        QCOMPARE(rowTexts(list, 2), (QStringList{"09/03/21 - 23:59:58", "0012.345", " 50.0"}));
    }
};

QTEST_MAIN(TestContactWindow)
#include "tst_contactwindow.moc"
