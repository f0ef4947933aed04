// SPDX-License-Identifier: MIT
// The cable resistance meter window against the simulator's meter in memory;
// the paced replies run against the simulator on a pseudo-terminal. What the
// list windows share is in tst_listwindows.
#include "ReadFile.h"
#include "WorkbookCells.h"
#include "RefusedDownloads.h"
#include "MeterHarness.h"
#include "TemporaryConfigHome.h"
#include "ui/SaveLocation.h"
#include "ui/Twips.h"
#include "ui/filelist/FileListView.h"
#include "protocol/CableRecord.h"
#include "ui/CableMeterWindow.h"
#include "ui/SaveLocation.h"
#include "ui/Twips.h"
#include "ui/filelist/ClickLabel.h"
#include "ui/filelist/FileListView.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

namespace {

using Boxes = QList<ScriptedDialogs::Box>;

struct CableFields
{
    QByteArray name;
    QList<int> dateTime;   // three date fields, hours, minutes, seconds
    int conductor;
    int current;           // tenths of an ampere
    int size;              // square millimetres, 65535 for none
    QByteArray resistance; // 8 bytes with their unit bytes
};

// 34 bytes: 1 "[", 2-8 name, 9-14 date and time, 15 conductor, 16-17 current
// and 18-19 size low byte first, 20-21 filler, 22-29 resistance, 30-33
// filler, 34 "]".
QByteArray record(const CableFields &f)
{
    QByteArray bytes = '[' + f.name;
    for (const int b : f.dateTime)
        bytes.append(char(b));
    for (const int b : {f.conductor, f.current & 0xFF, f.current >> 8, f.size & 0xFF, f.size >> 8})
        bytes.append(char(b));
    bytes += QByteArray(2, '\0') + f.resistance + QByteArray(4, '\0') + ']';
    Q_ASSERT(bytes.size() == 34);
    return bytes;
}

// The simulator's data files take raw bytes as \xHH.
QByteArray escaped(const QByteArray &bytes)
{
    QByteArray text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte > ' ' && byte < 127 && c != '\\')
            text += c;
        else
            text += "\\x" + QByteArray::number(byte, 16).rightJustified(2, '0');
    }
    return text;
}

// File 1 a milliohm value, file 2 a micro one without a size, file 3 plain.
QByteArray threeFileMeter()
{
    const QByteArray records[] = {
        record({"CAB-001", {7, 3, 21, 14, 5, 9}, 1, 125, 95, "12.34m\xEA "}),
        record({"CAB-002", {100, 1, 2, 3, 4, 5}, 2, 65535, 65535, "0.5678\xE6\xEA"}),
        record({"CAB-003", {0, 0, 0, 0, 0, 0}, 3, 0, 65534, "1.2345\xEA "}),
    };
    QByteArray text = "family cable\nfiles 3\n";
    for (int slot = 0; slot < 3; ++slot)
        text += "record " + QByteArray::number(slot) + ' ' + escaped(records[slot]) + '\n';
    return text;
}

const QByteArray tableStart = "<html><table border=\"1\"  cellpadding=\"5\">\r\n"
                              "<tr><th> File No. </th><th> File Name </th><th> Date & Time </th>"
                              "<th> Resistance (Ohm) </th><th> Cable Size (sq. mm) </th><th> Conductor </th>"
                              "<th> Current (A) </th></tr>\r\n";
const QByteArray tableEnd = "</table></html>\r\n";

// The six labels in screen order: name, date and time, resistance, size, current, conductor.
QStringList rowTexts(FileList &list, int row)
{
    QStringList texts;
    for (int column = 0; column < CableColumn::Count; ++column)
        texts << list.cellText(row, column);
    return texts;
}

const QStringList unfilled(CableColumn::Count, QStringLiteral("  ---"));
const QString micro = QString(QChar(0x00B5));

QStringList recordRequests(int count)
{
    QStringList requests;
    for (int index = 0; index < count; ++index)
        requests << QString::fromLatin1(cableRecordRequest(index));
    return requests;
}

const ScriptedDialogs::Box fatalBox{true, "Fatal Error", "Error Communication with Cable Resistance Meter"};
using knownBoxes::communicationError;
using knownBoxes::downloadError;
const ScriptedDialogs::Box &successBox = knownBoxes::filesDownloaded;

} // namespace

class TestCableWindow : public QObject
{
    Q_OBJECT
private:
    TemporaryConfigHome m_config;

    static bool loadThreeFileMeter(MeterHarness &harness, const QStringList &more = {"--unpaced"})
    {
        harness.simArguments = QStringList({"--data", harness.writeDataFile(threeFileMeter())}) + more;
        return harness.load();
    }

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

    void cleanup() { QLocale::setDefault(QLocale::c()); }

    // The same rows for a spreadsheet: a name ending in ".csv" writes the
    // ticked files as CSV, UTF-8 with a byte-order mark, in the data columns.
    void exportsTheTickedOnesAsCsv()
    {
        MeterHarness harness("[KX-R1]", MeterFamily::Cable, {});
        QVERIFY(loadThreeFileMeter(harness));
        FileList &list = harness.as<FileListWindow>()->list();
        list.setTicked(1, true);
        list.setTicked(2, true);
        const QString path = harness.files.filePath("cable.csv");
        QVERIFY(harness.download(path));

        QCOMPARE(harness.dialogs.saveRequests.size(), 1);
        QCOMPARE(harness.dialogs.saveRequests[0].filter, QString("HTML table (*.html)"));
        QCOMPARE(harness.dialogs.saveRequests[0].alsoOffered.size(), 2);
        QCOMPARE(harness.dialogs.saveRequests[0].alsoOffered[0].filter, QString("CSV (*.csv)"));
        QCOMPARE(harness.dialogs.saveRequests[0].alsoOffered[0].suffix, QString("csv"));
        QCOMPARE(harness.dialogs.saveRequests[0].alsoOffered[1].filter, QString("Excel workbook (*.xlsx)"));
        QCOMPARE(harness.dialogs.saveRequests[0].alsoOffered[1].suffix, QString("xlsx"));
        // The command line's data columns: ohms beside the meter's text; a date
        // whose fields make none ("100/01/02", "00/00/00") stays as sent only.
        QCOMPARE(readFile(path), QByteArray("\xEF\xBB\xBF"
                                            "File No.,File Name,Date & Time,Date & Time as sent,Resistance (Ohm),"
                                            "Resistance as sent,Cable Size (sq. mm),Conductor,Current (A),Status\r\n"
                                            "2,CAB-002,,100/01/02 - 03:04:05,0.0000005678,0.5678 \xC2\xB5,,Aluminium,"
                                            "6553.5,OK\r\n"
                                            "3,CAB-003,,00/00/00 - 00:00:00,1.2345,1.2345,65534,Other,0,OK\r\n"));
        QCOMPARE(harness.dialogs.boxes, Boxes{successBox});

        // A name ending in ".xlsx": the same rows as a workbook.
        const QString workbookPath = harness.files.filePath("cable.xlsx");
        QVERIFY(harness.download(workbookPath));
        if (!canReadWorkbooks())
            QSKIP("unzip is needed to read a workbook back");
        const Workbook workbook = readWorkbook(workbookPath);
        QVERIFY2(workbook.error.isEmpty(), qPrintable(workbook.error));
        QCOMPARE(workbook.cells.value("A3").value, QString("3"));
        QCOMPARE(workbook.cells.value("E3").value.toDouble(), 1.2345);
        QCOMPARE(workbook.cells.value("E3").format, QString("0.0000"));
        QCOMPARE(workbook.cells.value("F2").value, QString("0.5678 \u00B5"));
        QVERIFY(!workbook.cells.contains("A4"));
    }

    void decodesRowsAndExportsTheTickedOnes()
    {
        MeterHarness harness("[KX-R1]", MeterFamily::Cable, {});
        QVERIFY(loadThreeFileMeter(harness));
        auto *window = harness.as<FileListWindow>();
        FileList &list = window->list();
        QVERIFY(harness.dialogs.boxes.isEmpty());
        QCOMPARE(harness.progress, (QStringList{"1 / 3", "2 / 3", "3 / 3"}));
        QCOMPARE(rowTexts(list, 0), (QStringList{"CAB-001", "07/03/21 - 14:05:09", "12.34 m", "95", "12.5", "Copper"}));
        QCOMPARE(rowTexts(list, 1),
                 (QStringList{"CAB-002", "100/01/02 - 03:04:05", "0.5678 " + micro, "  ---", "6553.5", "Aluminium"}));
        QCOMPARE(rowTexts(list, 2), (QStringList{"CAB-003", "00/00/00 - 00:00:00", "1.2345", "65534", "0", "Other"}));

        // Files 1 and 3: the conductor stands before the current in the file.
        list.setTicked(0, true);
        list.setTicked(2, true);
        const QString path = harness.files.filePath("cable.html");
        QVERIFY(harness.download(path));
        const QByteArray row1 = "<tr><td>1</td><td>CAB-001</td><td>07/03/21 - 14:05:09</td><td>12.34 m</td>"
                                "<td>95</td><td>Copper</td><td>12.5</td></tr>\r\n";
        const QByteArray row3 = "<tr><td>3</td><td>CAB-003</td><td>00/00/00 - 00:00:00</td><td>1.2345</td>"
                                "<td>65534</td><td>Other</td><td>0</td></tr>\r\n";
        QCOMPARE(readFile(path), tableStart + row1 + "\r\n" + "\r\n" + row3 + "\r\n" + tableEnd);
        QCOMPARE(harness.dialogs.saveRequests.size(), 1);
        QCOMPARE(harness.dialogs.saveRequests[0].filter, QString("HTML table (*.html)"));
        QCOMPARE(harness.dialogs.saveRequests[0].defaultSuffix, QString("html"));
        QCOMPARE(harness.dialogs.saveRequests[0].proposedName,
                 SaveLocation::proposedFileName("[KX-R1]", window->saveDialog().today(), "html"));
        QVERIFY(harness.dialogs.saveRequests[0].proposedName.startsWith("KX-R1 "));
        QCOMPARE(harness.dialogs.boxes, Boxes{successBox});
        QVERIFY(childNamed<QGroupBox>(window, "Frame2")->isEnabled());

        // File 2: the micro sign in the system's encoding (UTF-8 under
        // C.UTF-8) and the dashes of a missing size.
        childNamed<ClickLabel>(window, "lblUnselectAll")->click();
        list.setTicked(1, true);
        QVERIFY(harness.download(path));
        QCOMPARE(readFile(path), tableStart + "\r\n"
                                     + "<tr><td>2</td><td>CAB-002</td><td>100/01/02 - 03:04:05</td>"
                                       "<td>0.5678 \xC2\xB5</td><td>  ---</td><td>Aluminium</td><td>6553.5</td></tr>\r\n"
                                     + "\r\n" + "\r\n" + tableEnd);

        // Cancelled, and a folder in the way: nothing written, the list still usable.
        checkRefusedDownloads(harness, path);
    }

    void userLocaleSetsSeparators()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        MeterHarness harness("[KX-R1]", MeterFamily::Cable, {});
        QVERIFY(loadThreeFileMeter(harness));
        FileList &list = harness.as<FileListWindow>()->list();
        QCOMPARE(rowTexts(list, 0), (QStringList{"CAB-001", "07.03.21 - 14:05:09", "12.34 m", "95", "12,5", "Copper"}));
        QCOMPARE(list.cellText(1, CableColumn::Current), QString("6553,5"));
    }

    void selectAllSkipsEmptySlots()
    {
        MeterHarness harness("[KX-R1]", MeterFamily::Cable,
                              {"--family", "cable", "--files", "5", "--empty", "1,3", "--unpaced"});
        QVERIFY(harness.load());
        auto *window = harness.as<FileListWindow>();
        FileList &list = window->list();
        QVERIFY(harness.dialogs.boxes.isEmpty());
        for (const int row : {1, 3}) {
            QVERIFY(!list.isCheckEnabled(row));
            QCOMPARE(list.cellText(row, CableColumn::FileName), QString(" - - - "));
            QCOMPARE(list.cellText(row, CableColumn::DateTime), QString("  ---"));
        }
        childNamed<ClickLabel>(window, "lblSelectAll")->click();
        for (int row = 0; row < 5; ++row)
            QCOMPARE(list.isTicked(row), row % 2 == 0);

        const QString path = harness.files.filePath("all.html");
        QVERIFY(harness.download(path));
        const QList<QByteArray> lines = readFile(path).split('\n');
        // Start, heading, three rows and five empty lines, the end, and what follows the last line end.
        QCOMPARE(lines.size(), 2 + 3 + 5 + 1 + 1);
        QVERIFY(lines.at(2).startsWith("<tr><td>1</td>"));
        QCOMPARE(lines.at(3), QByteArray("\r"));
        QCOMPARE(lines.at(4), QByteArray("\r"));
        QVERIFY(lines.at(5).startsWith("<tr><td>3</td>"));

        childNamed<ClickLabel>(window, "lblUnselectAll")->click();
        for (int row = 0; row < 5; ++row)
            QVERIFY(!list.isTicked(row));
    }

    void recordFailuresGoOnWithTheNextFile_data()
    {
        QTest::addColumn<QStringList>("simArguments");
        QTest::addColumn<Boxes>("boxes");
        QTest::addColumn<int>("filledRows");
        QTest::newRow("replies end in [")
            << QStringList{"--bad-end", "--fault-only", "{10"} << Boxes{downloadError, downloadError, downloadError}
            << 0;
        QTest::newRow("meter silent after the first record")
            << QStringList{"--silent-after", "2"} << Boxes{communicationError, communicationError} << 1;
    }
    void recordFailuresGoOnWithTheNextFile()
    {
        QFETCH(QStringList, simArguments);
        QFETCH(Boxes, boxes);
        QFETCH(int, filledRows);
        MeterHarness harness("[KX-R1]", MeterFamily::Cable, {});
        QVERIFY(loadThreeFileMeter(harness, simArguments << "--unpaced"));
        auto *window = harness.as<FileListWindow>();
        FileList &list = window->list();
        QCOMPARE(harness.dialogs.boxes, boxes);
        QCOMPARE(harness.requests(), QStringList{"{01}"} + recordRequests(3));
        QCOMPARE(harness.progress, (QStringList{"1 / 3", "2 / 3", "3 / 3"}));
        for (int row = 0; row < 3; ++row) {
            QVERIFY(list.isCheckEnabled(row));
            QCOMPARE(rowTexts(list, row) == unfilled, row >= filledRows);
        }
        QVERIFY(childNamed<QGroupBox>(window, "Frame2")->isVisibleTo(window));

        // A failed row exports its dashes in columns 2 to 7.
        harness.dialogs.boxes.clear();
        list.setTicked(2, true);
        const QString path = harness.files.filePath("failed.html");
        QVERIFY(harness.download(path));
        QCOMPARE(readFile(path), tableStart + "\r\n\r\n<tr><td>3</td><td>  ---</td><td>  ---</td><td>  ---</td>"
                                              "<td>  ---</td><td>  ---</td><td>  ---</td></tr>\r\n\r\n"
                                     + tableEnd);
        QCOMPARE(harness.dialogs.boxes, Boxes{successBox});
    }

    // Paced replies are still arriving when the byte count is first met; the
    // count reply's "]" must not slip into the first record.
    void recordInPiecesIsReadWhole_data()
    {
        QTest::addColumn<QStringList>("simArguments");
        QTest::addColumn<Line>("line");
        QTest::newRow("paced, whole replies") << QStringList{} << Line::Pty;
        QTest::newRow("paced, three pieces") << QStringList{"--pieces", "3", "--gap-ms", "5"} << Line::Pty;
        QTest::newRow("in pieces, in memory") << QStringList{"--pieces", "3", "--unpaced"} << Line::InMemory;
    }
    void recordInPiecesIsReadWhole()
    {
        QFETCH(QStringList, simArguments);
        QFETCH(Line, line);
        MeterHarness harness("[KX-R1]", MeterFamily::Cable, {}, line);
        QVERIFY(loadThreeFileMeter(harness, simArguments));
        QVERIFY(harness.dialogs.boxes.isEmpty());
        FileList &list = harness.as<FileListWindow>()->list();
        QCOMPARE(rowTexts(list, 0), (QStringList{"CAB-001", "07/03/21 - 14:05:09", "12.34 m", "95", "12.5", "Copper"}));
        QCOMPARE(list.cellText(2, CableColumn::Size), QString("65534"));
    }
};

QTEST_MAIN(TestCableWindow)
#include "tst_cablewindow.moc"
