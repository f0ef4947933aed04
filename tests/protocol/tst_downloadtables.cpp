// SPDX-License-Identifier: MIT
#include "protocol/DownloadTables.h"
#include "protocol/CableRecord.h"
#include "protocol/ContactRecord.h"
#include "protocol/FamilyProtocol.h"
#include "protocol/HtmlTable.h"
#include "protocol/MessageTexts.h"
#include "protocol/TextFile.h"
#include "protocol/WindingRecord.h"

#include <QTest>

namespace {

RecordCells filled(QList<QPair<int, QString>> cells)
{
    RecordCells record;
    record.cells = std::move(cells);
    return record;
}

RecordCells emptySlot()
{
    RecordCells record;
    record.status = RecordCells::Status::EmptySlot;
    return record;
}

// A cable meter of five files: a good one with a comma and a micro sign, an
// empty slot, one that did not answer, one over range, one not asked for.
MeterFiles cableScenario()
{
    MeterFiles files(familyProtocol(MeterFamily::Cable).columns(), 5, QLocale::c());
    files.setRecord(0, filled({{CableColumn::FileName, "Feeder, A"},
                               {CableColumn::DateTime, "01/05/23 - 10:02:00"},
                               {CableColumn::Conductor, "Copper"},
                               {CableColumn::Current, "10"},
                               {CableColumn::Size, "2.5"},
                               {CableColumn::Resistance, "12.5 \u00B5"}}));
    files.setRecord(1, emptySlot());
    files.setFailed(2, MessageTexts::communicationError());
    files.setRecord(3, filled({{CableColumn::FileName, "=SUM(A1)"},
                               {CableColumn::DateTime, "02/05/23 - 11:00:00"},
                               {CableColumn::Conductor, "Aluminium"},
                               {CableColumn::Current, "1"},
                               {CableColumn::Resistance, "-Over-"}}));
    return files;
}

} // namespace

class TestDownloadTables : public QObject
{
    Q_OBJECT

private slots:
    void csvHasAStatusAndLeavesOutEmptySlots()
    {
        // Numbers in ohms beside the meter's text, ISO dates beside the meter's.
        const QByteArray expected = "\xEF\xBB\xBF"
                                    "File No.,File Name,Date & Time,Date & Time as sent,Resistance (Ohm),"
                                    "Resistance as sent,Cable Size (sq. mm),Conductor,Current (A),Status\r\n"
                                    "1,\"Feeder, A\",2023-05-01T10:02:00,01/05/23 - 10:02:00,0.0000125,12.5 \xC2\xB5,"
                                    "2.5,Copper,10,OK\r\n"
                                    "3,,,,,,,,,Communication Error\r\n"
                                    "4,'=SUM(A1),2023-05-02T11:00:00,02/05/23 - 11:00:00,,'-Over-,,Aluminium,1,OK\r\n";
        QCOMPARE(csvDownload(cableScenario()), expected);
    }

    void jsonKeepsTheColumnsAndTypesNumbers()
    {
        const QByteArray expected =
            "{\n"
            "  \"model\": \"[KX-R1]\",\n"
            "  \"files\": [\n"
            "    {\"File No.\": 1, \"Status\": \"OK\", \"File Name\": \"Feeder, A\", \"Date & Time\": "
            "\"2023-05-01T10:02:00\", \"Date & Time as sent\": \"01/05/23 - 10:02:00\", \"Resistance (Ohm)\": "
            "0.0000125, \"Resistance as sent\": \"12.5 \xC2\xB5\", \"Cable Size (sq. mm)\": 2.5, "
            "\"Conductor\": \"Copper\", \"Current (A)\": 10},\n"
            "    {\"File No.\": 3, \"Status\": \"Communication Error\"},\n"
            "    {\"File No.\": 4, \"Status\": \"OK\", \"File Name\": \"=SUM(A1)\", \"Date & Time\": "
            "\"2023-05-02T11:00:00\", \"Date & Time as sent\": \"02/05/23 - 11:00:00\", \"Resistance (Ohm)\": null, "
            "\"Resistance as sent\": \"-Over-\", \"Cable Size (sq. mm)\": null, \"Conductor\": \"Aluminium\", "
            "\"Current (A)\": 1}\n"
            "  ]\n"
            "}\n";
        QCOMPARE(jsonDownload(QStringLiteral("[KX-R1]"), cableScenario()), expected);
    }

    void htmlTicksWhatTheWindowLetsBeTicked()
    {
        // Read and failed files are rows; the empty slot and the one not asked
        // for are the blank lines of unticked rows.
        const QList<ExportRow> rows = cableScenario().exportRows();
        QCOMPARE(rows.size(), 5);
        const QList<bool> ticked{rows[0].ticked, rows[1].ticked, rows[2].ticked, rows[3].ticked, rows[4].ticked};
        QCOMPARE(ticked, (QList<bool>{true, false, true, true, false}));
        QCOMPARE(rows[2].cells, (QStringList{"3", "  ---", "  ---", "  ---", "  ---", "  ---", "  ---"}));
        QCOMPARE(htmlDownload(cableScenario()), textFileBytes(htmlTable(cableHeadings(), rows)));
    }

    void aFailedRecordIsAFailure()
    {
        MeterFiles files(familyProtocol(MeterFamily::Contact).columns(), 1, QLocale::c());
        RecordCells cut;
        cut.status = RecordCells::Status::BadEndMark;
        files.setRecord(0, cut);
        QCOMPARE(files.state(0), MeterFiles::State::Failed);
        QCOMPARE(statusOf(files, 0), MessageTexts::downloadFailed());
    }

    void windingRowsKeepTheWindowsQuirks()
    {
        // The list's second file name starts blank; a row without a temperature
        // exports four cells, which the CSV fills up to its headings.
        MeterFiles files(familyProtocol(MeterFamily::Winding).columns(), 3, QLocale::c());
        files.setFailed(1, MessageTexts::communicationError());
        files.setRecord(2, filled({{WindingColumn::FileName, "T1"}, {WindingColumn::Res1T, "1.5"}, {WindingColumn::Res2T, "2.5"}}));
        QCOMPARE(files.exportCells(1), (QStringList{"2", "", "  ---", "  ---"}));
        QCOMPARE(files.exportCells(0), (QStringList{"1", "  ---", "  ---", "  ---"}));
        const QByteArray csv = csvDownload(files);
        QVERIFY2(csv.endsWith("2,,,,,,,,,,Communication Error\r\n3,T1,1.5,1.5,2.5,2.5,,,,,OK\r\n"), csv.constData());
    }

    void aWindingRowWithItsTemperatureExportsEveryCell_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::newRow("point") << QLocale::c();
        QTest::newRow("comma") << QLocale(QLocale::German, QLocale::Germany);
    }
    void aWindingRowWithItsTemperatureExportsEveryCell()
    {
        QFETCH(QLocale, locale);
        MeterFiles files(familyProtocol(MeterFamily::Winding).columns(), 2, locale);
        files.setRecord(0, filled({{WindingColumn::FileName, "T1"}, {WindingColumn::Res1T, "1"}, {WindingColumn::Res2T, "2"}, {WindingColumn::Temp, locale.toString(25.3)},
                                   {WindingColumn::Res1At20, "1"}, {WindingColumn::Res2At20, "2"}, {WindingColumn::Conductor, "Copper"}}));
        files.setRecord(1, filled({{WindingColumn::FileName, "T2"}, {WindingColumn::Res1T, "1"}, {WindingColumn::Res2T, "2"}}));
        QCOMPARE(files.exportCells(0).size(), 8);
        QCOMPARE(files.exportCells(1).size(), 4);
    }

    void aSlotBeyondTheCountHoldsNothing()
    {
        MeterFiles files(familyProtocol(MeterFamily::Contact).columns(), 2, QLocale::c());
        files.setRecord(2, filled({{ContactColumn::DateTime, "01/05/23 - 10:02:00"}}));
        files.setFailed(-1, MessageTexts::communicationError());
        QCOMPARE(files.state(2), MeterFiles::State::NotAsked);
        QCOMPARE(files.exportCells(2), QStringList());
        QCOMPARE(files.labels(-1), QStringList());
        QCOMPARE(files.exportRows().size(), 2);
    }

    void jsonOfAShortWindingRowHasItsCellsOnly()
    {
        MeterFiles files(familyProtocol(MeterFamily::Winding).columns(), 1, QLocale::c());
        files.setRecord(0, filled({{WindingColumn::FileName, "T1"}, {WindingColumn::Res1T, "1.5"}, {WindingColumn::Res2T, "2.5"}}));
        const QByteArray json = jsonDownload("[KX-W1]", files);
        QVERIFY2(json.contains("\"Ch2 (Ohm)\": 2.5, \"Ch2 as sent\": \"2.5\", \"Temperature (\xC2\xB0" "C)\": null"),
                 json.constData());
    }

    void dataColumnsAreTheSameInEveryLocale_data()
    {
        QTest::addColumn<MeterFamily>("family");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QByteArray>("row");
        QTest::addColumn<QByteArray>("json"); // the file's object
        // Name, Ch1, Ch2, conductor, temperature in tenths: the corrected values are the program's.
        const auto winding = [](const char *name, const char *ch1, const char *ch2, char conductor, const char *tenths) {
            return QByteArray(name) + ' ' + ch1 + ' ' + ch2 + ' ' + conductor + ' ' + tenths + ']';
        };
        QTest::newRow("winding") << MeterFamily::Winding << winding("TX-001", "    1.234", "   12.500", '0', "0253")
                                 << QByteArray("1,TX-001,1.234,1.234,12.500,12.500,25.3,1.208297,12.23964,Copper,OK\r\n")
                                 << QByteArray("{\"File No.\": 1, \"Status\": \"OK\", \"Filename\": \"TX-001\", "
                                               "\"Ch1 (Ohm)\": 1.234, \"Ch1 as sent\": \"1.234\", \"Ch2 (Ohm)\": 12.500, "
                                               "\"Ch2 as sent\": \"12.500\", \"Temperature (\xC2\xB0" "C)\": 25.3, "
                                               "\"Ch1 at 20 \xC2\xB0" "C (Ohm)\": 1.208297, "
                                               "\"Ch2 at 20 \xC2\xB0" "C (Ohm)\": 12.23964, \"Conductor\": \"Copper\"}");
        QTest::newRow("winding, overload")
            << MeterFamily::Winding << winding("TX-002", "  100.000", "     OL  ", '1', "0350")
            << QByteArray("1,TX-002,100.000,100.000,,OL,35,93.85,,Aluminium,OK\r\n")
            << QByteArray("\"Ch2 (Ohm)\": null, \"Ch2 as sent\": \"OL\", \"Temperature (\xC2\xB0" "C)\": 35, "
                          "\"Ch1 at 20 \xC2\xB0" "C (Ohm)\": 93.85, \"Ch2 at 20 \xC2\xB0" "C (Ohm)\": null");
        // Date and time, range status, resistance with its scale code, current.
        QTest::newRow("contact") << MeterFamily::Contact << QByteArray("[07/03/21 - 14:05:09 0 848:0000 10.00]")
                                 << QByteArray("1,2021-03-07T14:05:09,07/03/21 - 14:05:09,0.848,848E-3,10.00,OK\r\n")
                                 << QByteArray("{\"File No.\": 1, \"Status\": \"OK\", \"Date & Time\": "
                                               "\"2021-03-07T14:05:09\", \"Date & Time as sent\": \"07/03/21 - 14:05:09\", "
                                               "\"Resistance (Ohm)\": 0.848, \"Resistance as sent\": \"848E-3\", "
                                               "\"Current (A)\": 10.00}");
        QTest::newRow("contact, over range")
            << MeterFamily::Contact << QByteArray("[07/03/21 - 14:05:09 1 848:0000 10.00]")
            << QByteArray("1,2021-03-07T14:05:09,07/03/21 - 14:05:09,,'-Over-,,OK\r\n")
            << QByteArray("\"Resistance (Ohm)\": null, \"Resistance as sent\": \"-Over-\", \"Current (A)\": null}");
        // Name, six date bytes, conductor, current and size low byte first, resistance with its prefix.
        QByteArray cable = "[CAB0001";
        for (const int byte : {7, 3, 21, 14, 5, 9, 1, 0x7D, 0, 0x5F, 0})
            cable.append(char(byte));
        cable += "  0.1489\xE6\xEA    ]";
        QTest::newRow("cable") << MeterFamily::Cable << cable
                               << QByteArray("1,CAB0001,2021-03-07T14:05:09,07/03/21 - 14:05:09,0.0000001489,0.1489 \xC2\xB5,"
                                             "95,Copper,12.5,OK\r\n")
                               << QByteArray("{\"File No.\": 1, \"Status\": \"OK\", \"File Name\": \"CAB0001\", "
                                             "\"Date & Time\": \"2021-03-07T14:05:09\", \"Date & Time as sent\": "
                                             "\"07/03/21 - 14:05:09\", \"Resistance (Ohm)\": 0.0000001489, "
                                             "\"Resistance as sent\": \"0.1489 \xC2\xB5\", \"Cable Size (sq. mm)\": 95, "
                                             "\"Conductor\": \"Copper\", \"Current (A)\": 12.5}");
    }
    void dataColumnsAreTheSameInEveryLocale()
    {
        QFETCH(MeterFamily, family);
        QFETCH(QByteArray, reply);
        QFETCH(QByteArray, row);
        QFETCH(QByteArray, json);
        const RecordFormat format = familyProtocol(family).recordFormat(2);
        for (const QLocale &locale : {QLocale::c(), QLocale(QLocale::German, QLocale::Germany)}) {
            MeterFiles files(familyProtocol(family).columns(), 1, locale);
            files.setReply(0, reply, format);
            const QByteArray csv = csvDownload(files);
            QVERIFY2(csv.endsWith(row), csv.constData());
            const QByteArray download = jsonDownload(QStringLiteral("model"), files);
            QVERIFY2(download.contains(json), download.constData());
        }
    }

    void jsonEscapesWhatTheMeterSends()
    {
        MeterFiles files(familyProtocol(MeterFamily::Cable).columns(), 1, QLocale::c());
        files.setRecord(0, filled({{CableColumn::FileName, QString::fromLatin1("a\"b\\c\x01\n\x7F")}}));
        const QByteArray json = jsonDownload(QString::fromLatin1("[KX\x1B]"), files);
        QVERIFY2(json.contains("\"model\": \"[KX\\u001b]\""), json.constData());
        QVERIFY2(json.contains("\"File Name\": \"a\\\"b\\\\c\\u0001\\n\\u007f\""), json.constData());
    }
};

QTEST_GUILESS_MAIN(TestDownloadTables)
#include "tst_downloadtables.moc"
