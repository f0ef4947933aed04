// The contact resistance and ratio meter windows against the simulator on a
// pseudo-terminal.
#include "WindowHarness.h"
#include "app/Shutdown.h"
#include "windows/Twips.h"
#include "windows/contact/ContactRecord.h"
#include "windows/contact/frmCRM.h"

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

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList rowTexts(FileList &list, int row)
{
    QStringList texts;
    for (int column = 0; column < ContactColumnCount; ++column)
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
const ScriptedDialogs::Box downloadError{true, "Error", "Error downloading the file"};
const ScriptedDialogs::Box communicationError{true, "Error", "Communication Error"};
const ScriptedDialogs::Box successBox{false, "Kestrix", "File(s) downloaded successfully"};

} // namespace

class TestContactWindow : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_config;

    // Presses Download with `answer` as the save dialog's answer.
    static void download(WindowHarness &harness, const QString &answer)
    {
        harness.dialogs.saveAnswers << answer;
        QTest::mouseClick(harness.as<ListMeterWindow>()->cmdRMDownload, Qt::LeftButton);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_config.isValid());
        SimProcess::useTemporaryConfigHome(m_config);
        QLocale::setDefault(QLocale::c());
    }

    void cleanup() { Shutdown::resetForTests(); }

    void loadsEveryFileSlot_data()
    {
        QTest::addColumn<int>("files");
        QTest::addColumn<int>("panelHeight");
        QTest::addColumn<bool>("scrollBar");
        QTest::newRow("no files") << 0 << 6135 << false;
        QTest::newRow("one file") << 1 << 6135 << false;
        QTest::newRow("three files") << 3 << 840 << false;
        QTest::newRow("forty files") << 40 << 6240 << false;
        QTest::newRow("forty-one files") << 41 << 6540 << true;
    }
    void loadsEveryFileSlot()
    {
        QFETCH(int, files);
        QFETCH(int, panelHeight);
        QFETCH(bool, scrollBar);
        WindowHarness harness("[KX-C1]", MeterKind::Contact,
                              {"--family", "contact", "--files", QString::number(files), "--unpaced"});
        QVERIFY(harness.load());
        auto *window = harness.as<ListMeterWindow>();
        QVERIFY(window);
        QVERIFY(harness.dialogs.boxes.isEmpty());
        QCOMPARE(window->objectName(), QString("frmCRM"));
        QCOMPARE(window->windowTitle(), QString("[KX-C1] Meter Communication Software"));
        QCOMPARE(window->Frame2->title(), QString("Resistance Measurement Files"));

        QCOMPARE(harness.sim->requests(), QStringList{"{03}"} + recordRequests(files));
        QCOMPARE(harness.progress.size(), files);
        for (int file = 1; file <= files; ++file)
            QCOMPARE(harness.progress.at(file - 1), QString("%1 / %2").arg(file).arg(files));

        FileList &list = window->list();
        QCOMPARE(window->fileCount(), files);
        QCOMPARE(list.rowCount(), std::max(files, 2));
        for (int row = 0; row < list.rowCount(); ++row) {
            QCOMPARE(list.checkCaption(row), QString::number(row + 1));
            QVERIFY(list.isCheckEnabled(row));
            const bool fetched = row < files;
            QCOMPARE(list.cellText(row, ContactDateTime) != QString("  ---"), fetched);
        }
        QCOMPARE(list.rowTopTwips(list.rowCount() - 1), 240 + 300 * ((list.rowCount() - 1) / 2));
        QCOMPARE(list.panelHeightTwips(), panelHeight);
        QCOMPARE(list.panelTopTwips(), 120);
        QCOMPARE(list.isScrollBarShown(), scrollBar);
        // The design's two rows are on screen whatever the count.
        QVERIFY(list.visibleCheckBox(1) && list.visibleCheckBox(1)->isVisibleTo(window));

        // The loaded window's layout.
        QVERIFY(window->Frame2->isVisibleTo(window));
        QVERIFY(window->cmdExit->isVisibleTo(window));
        QCOMPARE(window->windowSizeTwips(), QSize(8955, 9135));
        QCOMPARE(window->Frame2->mapTo(window, QPoint()), QPoint(Twips::toPixels(120), Twips::toPixels(60)));
        QCOMPARE(window->cmdExit->mapTo(window, QPoint()), QPoint(Twips::toPixels(3870), Twips::toPixels(8115)));
        QCOMPARE(window->cmdRMDownload->x(), Twips::toPixels(3705));

        window->lblSelectAll_Click();
        for (int row = 0; row < list.rowCount(); ++row)
            QCOMPARE(list.isTicked(row), row < files);

        if (scrollBar) {
            QScrollBar *bar = list.VScroll1();
            QCOMPARE(list.scrollBarTwips(), QRect(8295, 1020, 285, 6180));
            QCOMPARE(bar->maximum(), files);
            QCOMPARE(bar->pageStep(), 20);
            QCOMPARE(bar->value(), 0);
            // Once on screen the scroll bar has the keyboard.
            window->show();
            QCoreApplication::processEvents();
            QCOMPARE(window->focusWidget(), bar);
            bar->setValue(files);
            QCOMPARE(list.panelTopTwips(), 6300 - panelHeight);
            bar->setValue(0);
            QCOMPARE(list.panelTopTwips(), 0);
            QVERIFY(list.isTicked(0)); // ticks outlive scrolling
        }
    }

    void decodesRowsAndExportsTheTickedOnes()
    {
        WindowHarness harness("[KX-C1]", MeterKind::Contact, {});
        harness.simArguments = QStringList({"--data", harness.writeDataFile(threeFileMeter("contact")), "--unpaced"});
        QVERIFY(harness.load());
        auto *window = harness.as<ListMeterWindow>();
        FileList &list = window->list();
        QVERIFY(harness.dialogs.boxes.isEmpty());
        QCOMPARE(harness.progress, (QStringList{"1 / 3", "2 / 3", "3 / 3"}));
        QCOMPARE(rowTexts(list, 0), (QStringList{"07/03/21 - 14:05:09", "123E-3", "100.0"}));
        QCOMPARE(rowTexts(list, 1), (QStringList{"08/03/21 - 09:10:11", "-Over-", ""}));
        QCOMPARE(rowTexts(list, 2), (QStringList{"09/03/21 - 23:59:58", "0012.345", " 50.0"}));

        list.setTicked(0, true);
        list.setTicked(2, true);
        const QString path = harness.files.filePath("contact.html");
        download(harness, path);
        const QByteArray row1 = "<tr><td>1</td><td>07/03/21 - 14:05:09</td><td>123E-3</td><td>100.0</td></tr>\r\n";
        const QByteArray row2 = "<tr><td>2</td><td>08/03/21 - 09:10:11</td><td>-Over-</td><td></td></tr>\r\n";
        const QByteArray row3 = "<tr><td>3</td><td>09/03/21 - 23:59:58</td><td>0012.345</td><td> 50.0</td></tr>\r\n";
        QCOMPARE(readFile(path), tableStart + row1 + "\r\n" + "\r\n" + row3 + "\r\n" + tableEnd);
        QCOMPARE(harness.dialogs.saveRequests.size(), 1);
        QCOMPARE(harness.dialogs.saveRequests[0].filter, QString("(*.html) | *.html"));
        QCOMPARE(harness.dialogs.saveRequests[0].defaultSuffix, QString("html"));
        QVERIFY(harness.dialogs.saveRequests[0].proposedName.isEmpty());
        QCOMPARE(harness.dialogs.boxes, Boxes{successBox});
        QVERIFY(window->Frame2->isEnabled());

        // The over-range row: its mark and an empty current. The same name
        // again replaces the file, and the dialog starts empty each time.
        window->lblUnselectAll_Click();
        list.setTicked(1, true);
        download(harness, path);
        QCOMPARE(readFile(path), tableStart + "\r\n" + row2 + "\r\n" + "\r\n" + tableEnd);
        QVERIFY(harness.dialogs.saveRequests[1].proposedName.isEmpty());

        // Cancelled: nothing written, nothing said, the list still usable.
        harness.dialogs.boxes.clear();
        QVERIFY(QFile::remove(path));
        download(harness, QString());
        QVERIFY(!QFile::exists(path));
        QVERIFY(harness.dialogs.boxes.isEmpty());
        QVERIFY(window->Frame2->isEnabled());

        // A folder in the way: an error naming it, and the folder stays.
        const QString folder = harness.files.filePath("taken.html");
        QVERIFY(QDir().mkdir(folder));
        download(harness, folder);
        QCOMPARE(harness.dialogs.boxes.size(), 1);
        QVERIFY(harness.dialogs.boxes[0].critical);
        QCOMPARE(harness.dialogs.boxes[0].title, QString("Error"));
        QVERIFY2(harness.dialogs.boxes[0].text.contains("taken.html"), qPrintable(harness.dialogs.boxes[0].text));
        QVERIFY(QFileInfo(folder).isDir());
        QVERIFY(window->Frame2->isEnabled());
    }

    void selectAllSkipsEmptySlots()
    {
        WindowHarness harness("[KX-C1]", MeterKind::Contact, {});
        harness.simArguments = QStringList({"--data", harness.writeDataFile(meterWithAnEmptySlot()), "--unpaced"});
        QVERIFY(harness.load());
        auto *window = harness.as<ListMeterWindow>();
        FileList &list = window->list();
        QVERIFY(harness.dialogs.boxes.isEmpty());
        QCOMPARE(rowTexts(list, 0), (QStringList{"01/01/22 - 00:00:01", "456E-6", "  1.0"}));
        QCOMPARE(rowTexts(list, 1), (QStringList{"02/01/22 - 00:00:02", "789", "  2.0"}));
        QCOMPARE(rowTexts(list, 2), unfilled);
        QCOMPARE(rowTexts(list, 3), (QStringList{"04/01/22 - 00:00:04", "-Under-", ""}));
        QVERIFY(!list.isCheckEnabled(2));
        QVERIFY(list.isCheckEnabled(3));

        window->lblSelectAll_Click();
        QVERIFY(list.isTicked(0) && list.isTicked(1) && !list.isTicked(2) && list.isTicked(3));
        list.setTicked(2, true); // by hand neither
        QVERIFY(!list.isTicked(2));

        const QString path = harness.files.filePath("all.html");
        download(harness, path);
        QCOMPARE(readFile(path),
                 tableStart + "<tr><td>1</td><td>01/01/22 - 00:00:01</td><td>456E-6</td><td>  1.0</td></tr>\r\n\r\n"
                     + "<tr><td>2</td><td>02/01/22 - 00:00:02</td><td>789</td><td>  2.0</td></tr>\r\n\r\n"
                     + "\r\n"
                     + "<tr><td>4</td><td>04/01/22 - 00:00:04</td><td>-Under-</td><td></td></tr>\r\n\r\n"
                     + tableEnd);

        window->lblUnselectAll_Click();
        for (int row = 0; row < 4; ++row)
            QVERIFY(!list.isTicked(row));
        download(harness, path);
        QCOMPARE(readFile(path), tableStart + "\r\n\r\n\r\n\r\n" + tableEnd);
    }

    void ratioMeterHasItsOwnFrameCaption()
    {
        WindowHarness harness("KXT1", MeterKind::Ratio, {});
        harness.simArguments = QStringList({"--data", harness.writeDataFile(threeFileMeter("ratio")), "--unpaced"});
        QVERIFY(harness.load());
        auto *window = harness.as<ListMeterWindow>();
        QVERIFY(window);
        QCOMPARE(window->kind(), MeterKind::Ratio);
        QCOMPARE(window->objectName(), QString("frmTRM"));
        QCOMPARE(window->windowTitle(), QString("KXT1 Meter Communication Software"));
        QCOMPARE(window->Frame2->title(), QString("Ratio Meter Files"));
        QCOMPARE(window->windowSizeTwips(), QSize(8955, 9135));
        QCOMPARE(harness.sim->requests(), QStringList{"{03}"} + recordRequests(3));
        QCOMPARE(rowTexts(window->list(), 0), (QStringList{"07/03/21 - 14:05:09", "123E-3", "100.0"}));

        // The same columns as the contact meter's export.
        window->list().setTicked(0, true);
        const QString path = harness.files.filePath("ratio.html");
        download(harness, path);
        QCOMPARE(readFile(path),
                 tableStart + "<tr><td>1</td><td>07/03/21 - 14:05:09</td><td>123E-3</td><td>100.0</td></tr>\r\n"
                     + "\r\n\r\n\r\n" + tableEnd);
    }

    void startUpFailureLeavesTheDesignState_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<MeterKind>("family");
        QTest::addColumn<QStringList>("simArguments");
        QTest::newRow("silent contact meter")
            << "[KX-C1]" << MeterKind::Contact << QStringList{"--family", "contact", "--silent"};
        QTest::newRow("silent ratio meter")
            << "KXT1" << MeterKind::Ratio << QStringList{"--family", "ratio", "--silent"};
        QTest::newRow("count not a number")
            << "[KX-C1]" << MeterKind::Contact << QStringList{"--family", "contact", "--bad-count"};
    }
    void startUpFailureLeavesTheDesignState()
    {
        QFETCH(QString, model);
        QFETCH(MeterKind, family);
        QFETCH(QStringList, simArguments);
        WindowHarness harness(model, family, simArguments << "--files" << "3" << "--unpaced");
        QVERIFY(harness.load());
        auto *window = harness.as<ListMeterWindow>();
        QCOMPARE(harness.dialogs.boxes, Boxes{fatalBox});
        QCOMPARE(harness.sim->requests(), QStringList{"{03}"});
        QVERIFY(harness.progress.isEmpty());
        QCOMPARE(window->windowTitle(), model + " Meter Communication Software");
        QVERIFY(!window->Frame2->isVisibleTo(window));
        QVERIFY(!window->cmdExit->isVisibleTo(window));
        QCOMPARE(window->fileCount(), 0);
        QCOMPARE(window->list().rowCount(), 2);
        QCOMPARE(rowTexts(window->list(), 0), unfilled);
        QVERIFY(!window->list().isScrollBarShown());
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
        WindowHarness harness("[KX-C1]", MeterKind::Contact, {});
        harness.simArguments = QStringList({"--data", harness.writeDataFile(threeFileMeter("contact")), "--unpaced"})
            + simArguments;
        QVERIFY(harness.load());
        auto *window = harness.as<ListMeterWindow>();
        FileList &list = window->list();
        QCOMPARE(harness.dialogs.boxes, boxes);
        QCOMPARE(harness.sim->requests(), QStringList{"{03}"} + recordRequests(3));
        QCOMPARE(harness.progress, (QStringList{"1 / 3", "2 / 3", "3 / 3"}));
        for (int row = 0; row < 3; ++row) {
            QVERIFY(list.isCheckEnabled(row));
            QCOMPARE(rowTexts(list, row) == unfilled, row >= filledRows);
        }
        QVERIFY(window->Frame2->isVisibleTo(window));

        // A failed row exports its dashes.
        harness.dialogs.boxes.clear();
        list.setTicked(2, true);
        const QString path = harness.files.filePath("failed.html");
        download(harness, path);
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
        QTest::newRow("paced, whole replies") << QStringList{};
        QTest::newRow("paced, three pieces") << QStringList{"--pieces", "3", "--gap-ms", "5"};
        QTest::newRow("unpaced, three pieces") << QStringList{"--pieces", "3", "--gap-ms", "5", "--unpaced"};
        QTest::newRow("paced, late last byte") << QStringList{"--pieces", "38", "--gap-ms", "2"};
    }
    void recordInPiecesIsReadWhole()
    {
        QFETCH(QStringList, simArguments);
        WindowHarness harness("[KX-C1]", MeterKind::Contact, {});
        harness.simArguments = QStringList({"--data", harness.writeDataFile(threeFileMeter("contact"))}) + simArguments;
        QVERIFY(harness.load());
        FileList &list = harness.as<ListMeterWindow>()->list();
        QVERIFY(harness.dialogs.boxes.isEmpty());
        QCOMPARE(rowTexts(list, 0), (QStringList{"07/03/21 - 14:05:09", "123E-3", "100.0"}));
        QCOMPARE(rowTexts(list, 1), (QStringList{"08/03/21 - 09:10:11", "-Over-", ""}));
        QCOMPARE(rowTexts(list, 2), (QStringList{"09/03/21 - 23:59:58", "0012.345", " 50.0"}));
    }
};

QTEST_MAIN(TestContactWindow)
#include "tst_contactwindow.moc"
