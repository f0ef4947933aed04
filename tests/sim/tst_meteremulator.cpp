// SPDX-License-Identifier: MIT
#include "MeterEmulator.h"
#include "RecordLayout.h"
#include "SeededContent.h"

#include <QRegularExpression>
#include <QTest>

using namespace sim;

Q_DECLARE_METATYPE(sim::Family)
Q_DECLARE_METATYPE(sim::Faults)

namespace {

MeterContent seeded(Family family, int files = 12, int heatRun = 3, quint32 seed = 7)
{
    return seededContent(family, QByteArray("model"), files, heatRun, seed);
}

// Slot 1 of this cable record is the example the cable window is checked against.
layout::CableRecord exampleCable()
{
    layout::CableRecord record;
    record.name = "FDR-042";
    record.dateTime = {7, 3, 21, 14, 5, 9};
    record.conductor = 2;
    record.currentTenths = 125;
    record.size = 95;
    record.resistance = QByteArray("12.34") + layout::unitMilli + layout::unitOhm + ' ';
    return record;
}

} // namespace

class TestMeterEmulator : public QObject
{
    Q_OBJECT

private slots:
    void identificationIsTheModelText_data()
    {
        QTest::addColumn<Family>("family");
        QTest::addColumn<QByteArray>("model");
        QTest::newRow("winding") << Family::Winding << QByteArray("[KX-W1]");
        QTest::newRow("ratio, no brackets") << Family::Ratio << QByteArray("KXT1");
        QTest::newRow("line end kept") << Family::Contact << QByteArray("[KX-C1]\r\n");
        QTest::newRow("unknown text") << Family::Winding << QByteArray("XYZ");
        QTest::newRow("raw bytes") << Family::Cable << QByteArray("[\x00\xE6]", 4);
    }
    void identificationIsTheModelText()
    {
        QFETCH(Family, family);
        QFETCH(QByteArray, model);
        MeterContent content = seeded(family);
        content.model = model;
        MeterEmulator meter(content);
        QCOMPARE(meter.replyTo("{00}"), model);
    }

    void familyOfModel_data()
    {
        QTest::addColumn<QByteArray>("model");
        QTest::addColumn<Family>("family");
        QTest::newRow("W1") << QByteArray("[KX-W1]") << Family::Winding;
        QTest::newRow("W4") << QByteArray("[KX-W4]") << Family::Winding;
        QTest::newRow("C1") << QByteArray("[KX-C1]") << Family::Contact;
        QTest::newRow("T1") << QByteArray("KXT1") << Family::Ratio;
        QTest::newRow("R1") << QByteArray("[KX-R1]") << Family::Cable;
        QTest::newRow("lower case") << QByteArray("[kx-c1]") << Family::Winding;
        QTest::newRow("trailing CR LF") << QByteArray("[KX-R1]\r\n") << Family::Winding;
        QTest::newRow("unknown") << QByteArray("XYZ") << Family::Winding;
    }
    void familyOfModel()
    {
        QFETCH(QByteArray, model);
        QFETCH(Family, family);
        QCOMPARE(familyForModel(model), family);
    }

    void countReplies_data()
    {
        QTest::addColumn<Family>("family");
        QTest::addColumn<int>("files");
        QTest::addColumn<int>("heatRun");
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("reply");
        QTest::newRow("winding heat-run count") << Family::Winding << 100 << 3 << QByteArray("{01}") << QByteArray("[03]");
        QTest::newRow("winding heat-run count 12") << Family::Winding << 100 << 12 << QByteArray("{01}") << QByteArray("[12]");
        QTest::newRow("winding file count") << Family::Winding << 100 << 3 << QByteArray("{03}") << QByteArray("[0100]");
        QTest::newRow("winding short meter") << Family::Winding << 30 << 0 << QByteArray("{03}") << QByteArray("[0030]");
        QTest::newRow("contact") << Family::Contact << 42 << 0 << QByteArray("{03}") << QByteArray("[0042]");
        QTest::newRow("ratio none") << Family::Ratio << 0 << 0 << QByteArray("{03}") << QByteArray("[0000]");
        QTest::newRow("cable") << Family::Cable << 7 << 0 << QByteArray("{01}") << QByteArray("[0007]");
    }
    void countReplies()
    {
        QFETCH(Family, family);
        QFETCH(int, files);
        QFETCH(int, heatRun);
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, reply);
        MeterEmulator meter(seeded(family, files, heatRun));
        QCOMPARE(meter.replyTo(request), reply);
    }

    void unknownRequestsGetNoReply_data()
    {
        QTest::addColumn<Family>("family");
        QTest::addColumn<QByteArray>("request");
        QTest::newRow("contact has no {01}") << Family::Contact << QByteArray("{01}");
        QTest::newRow("ratio has no names") << Family::Ratio << QByteArray("{02}");
        QTest::newRow("contact has no heat run") << Family::Contact << QByteArray("{1001}");
        QTest::newRow("cable has no {03}") << Family::Cable << QByteArray("{03}");
        QTest::newRow("cable records are {10}") << Family::Cable << QByteArray("{110000}");
        QTest::newRow("winding records are {11}") << Family::Winding << QByteArray("{100000}");
        QTest::newRow("odd argument") << Family::Winding << QByteArray("{11000}");
        QTest::newRow("letters") << Family::Winding << QByteArray("{0A}");
        QTest::newRow("unknown code") << Family::Winding << QByteArray("{04}");
        QTest::newRow("no brackets") << Family::Winding << QByteArray("00");
        QTest::newRow("empty") << Family::Cable << QByteArray("{}");
    }
    void unknownRequestsGetNoReply()
    {
        QFETCH(Family, family);
        QFETCH(QByteArray, request);
        MeterEmulator meter(seeded(family));
        QVERIFY(meter.replyTo(request).isEmpty());
    }

    void windingLongRecordFields()
    {
        const QByteArray record = layout::windingLong({"TRF001", "   1.2340", "  12.5000", '1', 253});
        QCOMPARE(record, QByteArray("TRF001,   1.2340,  12.5000,1,0253]"));
        QCOMPARE(record.size(), layout::windingLongSize);
        MeterContent content = seeded(Family::Winding);
        content.records[4] = record;
        MeterEmulator meter(content);
        const QByteArray reply = meter.replyTo("{110004}");
        // The program reads 1-6, 8-16, 18-26, 28 and 30-33 (1-based).
        QCOMPARE(reply.mid(0, 6), QByteArray("TRF001"));
        QCOMPARE(reply.mid(7, 9), QByteArray("   1.2340"));
        QCOMPARE(reply.mid(17, 9), QByteArray("  12.5000"));
        QCOMPARE(reply.at(27), '1');
        QCOMPARE(reply.mid(29, 4), QByteArray("0253"));
        QCOMPARE(reply.back(), ']');
        QCOMPARE(meter.replyTo("{1104}"), QByteArray("TRF001,   1.2340,  12.5000]"));
    }

    void seededRecordsKeepTheirLayout_data()
    {
        QTest::addColumn<Family>("family");
        QTest::addColumn<QByteArray>("requestCode");
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("pattern");
        QTest::newRow("winding") << Family::Winding << QByteArray("11") << 34
                                 << QStringLiteral("^[A-Z]{3}\\d{3},[ \\d.-]{9},[ \\d.-]{9},[01],\\d{4}\\]$");
        QTest::newRow("contact") << Family::Contact << QByteArray("11") << 38
                                 << QStringLiteral("^\\[\\d\\d/\\d\\d/\\d\\d - \\d\\d:\\d\\d:\\d\\d,[012],"
                                                   "(\\d{3}[:<;]\\d{4}|[\\d.]{8}),\\d{3}\\.\\d\\]$");
        QTest::newRow("ratio") << Family::Ratio << QByteArray("11") << 38 << QStringLiteral("^\\[.{19},[012],.{8},.{5}\\]$");
        QTest::newRow("cable") << Family::Cable << QByteArray("10") << 34
                               << QStringLiteral("^\\[[A-Z]{3}-\\d{3}.{11}\\x00\\x00[\\d.]{4,6}[m\\xE6]?\\xEA *\\x00{4}\\]$");
    }
    void seededRecordsKeepTheirLayout()
    {
        QFETCH(Family, family);
        QFETCH(QByteArray, requestCode);
        QFETCH(int, size);
        QFETCH(QString, pattern);
        const QRegularExpression layoutPattern(pattern, QRegularExpression::DotMatchesEverythingOption);
        for (quint32 seed : {1u, 2u, 99u}) {
            MeterEmulator meter(seeded(family, 40, 0, seed));
            for (int slot = 0; slot < 40; ++slot) {
                const QByteArray reply = meter.replyTo("{" + requestCode + QByteArray::number(slot).rightJustified(4, '0') + "}");
                QCOMPARE(reply.size(), size);
                QVERIFY2(layoutPattern.match(QString::fromLatin1(reply)).hasMatch(), reply.toPercentEncoding().constData());
                QCOMPARE(reply, meter.recordBytes(slot));
            }
        }
    }

    void seedDecidesTheContent()
    {
        QCOMPARE(seeded(Family::Cable, 20, 0, 5), seeded(Family::Cable, 20, 0, 5));
        QVERIFY(seeded(Family::Cable, 20, 0, 5) != seeded(Family::Cable, 20, 0, 6));
    }

    void emptySlots_data()
    {
        QTest::addColumn<Family>("family");
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<int>("position");
        QTest::addColumn<QByteArray>("mark");
        QTest::addColumn<int>("size");
        QTest::newRow("winding long, emptied") << Family::Winding << QByteArray("{110002}") << 0 << QByteArray(" - - -") << 34;
        QTest::newRow("winding short, emptied") << Family::Winding << QByteArray("{1102}") << 0 << QByteArray(" - - -") << 27;
        QTest::newRow("winding beyond count") << Family::Winding << QByteArray("{110012}") << 0 << QByteArray(" - - -") << 34;
        QTest::newRow("contact, emptied") << Family::Contact << QByteArray("{110002}") << 1
                                          << QByteArray("32/45/32 - 45:32:45") << 38;
        QTest::newRow("ratio beyond count") << Family::Ratio << QByteArray("{110099}") << 1
                                            << QByteArray("32/45/32 - 45:32:45") << 38;
        QTest::newRow("cable, emptied") << Family::Cable << QByteArray("{100002}") << 1 << QByteArray(" - - - ") << 34;
        QTest::newRow("cable beyond count") << Family::Cable << QByteArray("{109999}") << 1 << QByteArray(" - - - ") << 34;
    }
    void emptySlots()
    {
        QFETCH(Family, family);
        QFETCH(QByteArray, request);
        QFETCH(int, position);
        QFETCH(QByteArray, mark);
        QFETCH(int, size);
        MeterContent content = seeded(family);
        markEmpty(content, {2, 4}, {});
        MeterEmulator meter(content);
        const QByteArray reply = meter.replyTo(request);
        QCOMPARE(reply.mid(position, mark.size()), mark);
        QCOMPARE(reply.size(), size);
        QCOMPARE(reply.back(), ']');
        QVERIFY(meter.recordBytes(3).mid(position, mark.size()) != mark);
    }

    void heatRunNamesBlock()
    {
        MeterContent content = seeded(Family::Winding, 10, 10);
        markEmpty(content, {}, {1});
        MeterEmulator meter(content);
        const QByteArray reply = meter.replyTo("{02}");
        QCOMPARE(reply.size(), 18 * 10 + 2);
        QCOMPARE(reply.front(), '[');
        QCOMPARE(reply.back(), ']');
        for (int slot = 0; slot < 10; ++slot) {
            // 1-based 18s+3..18s+14 name, 18s+16..18s+19 digits.
            const QByteArray name = reply.mid(18 * slot + 2, 12);
            const QByteArray digits = reply.mid(18 * slot + 15, 4);
            QCOMPARE(name, meter.heatRunName(slot));
            QCOMPARE(digits.toInt(), MeterContent::heatRunLineCount(meter.heatRunContent(slot)));
            QCOMPARE(name == "------------", slot == 1);
        }
    }

    void heatRunFileDownload()
    {
        MeterContent content = seeded(Family::Winding, 10, 3);
        markEmpty(content, {}, {2});
        MeterEmulator meter(content);
        const QByteArray file = meter.heatRunContent(0);
        QVERIFY(file.count("\r\n") >= 3);
        QVERIFY(!file.endsWith("\r\n"));
        QCOMPARE(meter.replyTo("{1001}"), "[" + file + "]");
        QCOMPARE(meter.replyTo("{1002}"), "[" + meter.heatRunContent(1) + "]");
        QCOMPARE(meter.replyTo("{1003}"), QByteArray("[]"));
        QCOMPARE(meter.replyTo("{1008}"), QByteArray("[]"));
    }

    void contactRecordFields()
    {
        const QByteArray record = layout::contactRecord({"07/03/21 - 14:05:09", '0', "123:4567", "100.0"});
        QCOMPARE(record, QByteArray("[07/03/21 - 14:05:09,0,123:4567,100.0]"));
        // 1-based: 2-20 date, 22 status, 24-31 resistance with the code at 27, 33-37 current.
        QCOMPARE(record.mid(1, 19), QByteArray("07/03/21 - 14:05:09"));
        QCOMPARE(record.at(21), '0');
        QCOMPARE(record.at(26), ':');
        QCOMPARE(record.mid(32, 5), QByteArray("100.0"));
        QCOMPARE(record.size(), layout::contactRecordSize);
    }

    void cableRecordRawBytes()
    {
        const QByteArray record = layout::cableRecord(exampleCable());
        const QByteArray expected = QByteArray("[FDR-042") + QByteArray("\x07\x03\x15\x0E\x05\x09", 6) + '\x02'
            + QByteArray("\x7D\x00\x5F\x00", 4) + QByteArray(2, '\0') + "12.34m\xEA " + QByteArray(4, '\0') + "]";
        QCOMPARE(record, expected);
        layout::CableRecord large = exampleCable();
        large.currentTenths = 0x8000;
        large.size = 0xFFFF;
        large.resistance = QByteArray("0.5678") + layout::unitMicro + layout::unitOhm;
        const QByteArray other = layout::cableRecord(large);
        QCOMPARE(other.mid(15, 4), QByteArray("\x00\x80\xFF\xFF", 4));
        QCOMPARE(other.mid(21, 8), QByteArray("0.5678\xE6\xEA"));
        QCOMPARE(other.size(), layout::cableRecordSize);
    }

    void faults_data()
    {
        QTest::addColumn<Faults>("faults");
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("expected");   // "*" stands for the clean reply
        Faults truncate;
        truncate.truncate = 2;
        Faults badEnd;
        badEnd.badEnd = true;
        Faults badCount;
        badCount.badCount = true;
        Faults extra;
        extra.extra = "\r\nXY";
        Faults silent;
        silent.silent = true;
        Faults recordsOnly = silent;
        recordsOnly.onlyPrefix = "{11";
        Faults both = truncate;
        both.badEnd = true;
        QTest::newRow("truncate record") << truncate << QByteArray("{110000}") << QByteArray("TRF001,   1.2340,  12.5000,1,025");
        QTest::newRow("truncate count") << truncate << QByteArray("{03}") << QByteArray("[001");
        QTest::newRow("truncate spares identification") << truncate << QByteArray("{00}") << QByteArray("*");
        QTest::newRow("bad end record") << badEnd << QByteArray("{110000}") << QByteArray("TRF001,   1.2340,  12.5000,1,0253[");
        QTest::newRow("bad end short record") << badEnd << QByteArray("{1100}") << QByteArray("TRF001,   1.2340,  12.5000[");
        QTest::newRow("bad end heat-run file") << badEnd << QByteArray("{1001}") << QByteArray("[a,b\r\nc,d[");
        QTest::newRow("bad end spares counts") << badEnd << QByteArray("{03}") << QByteArray("*");
        QTest::newRow("truncate then bad end") << both << QByteArray("{110000}") << QByteArray("TRF001,   1.2340,  12.5000,1,02[");
        QTest::newRow("bad count files") << badCount << QByteArray("{03}") << QByteArray("[0A1B]");
        QTest::newRow("bad count heat run") << badCount << QByteArray("{01}") << QByteArray("[0A]");
        QTest::newRow("bad count spares records") << badCount << QByteArray("{110000}") << QByteArray("*");
        QTest::newRow("extra") << extra << QByteArray("{03}") << QByteArray("[0012]\r\nXY");
        QTest::newRow("silent") << silent << QByteArray("{00}") << QByteArray();
        QTest::newRow("fault-only spares others") << recordsOnly << QByteArray("{00}") << QByteArray("*");
        QTest::newRow("fault-only hits records") << recordsOnly << QByteArray("{110000}") << QByteArray();
    }
    void faults()
    {
        QFETCH(Faults, faults);
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, expected);
        MeterContent content = seeded(Family::Winding, 12, 1);
        content.records[0] = layout::windingLong({"TRF001", "   1.2340", "  12.5000", '1', 253});
        content.heatRunFiles[0].content = "a,b\r\nc,d";
        MeterEmulator meter(content, faults);
        const QByteArray clean = meter.cleanReplyTo(request);
        QVERIFY(!clean.isEmpty());
        QCOMPARE(meter.replyTo(request), expected == "*" ? clean : expected);
    }

    void silentAfterCountsMatchingRequests()
    {
        Faults faults;
        faults.silentAfter = 2;
        MeterEmulator meter(seeded(Family::Contact), faults);
        QCOMPARE(meter.replyTo("{00}"), QByteArray("model"));
        QCOMPARE(meter.replyTo("{03}"), QByteArray("[0012]"));
        QVERIFY(meter.replyTo("{110000}").isEmpty());
        QVERIFY(meter.replyTo("{00}").isEmpty());

        faults.onlyPrefix = "{11";
        MeterEmulator recordsOnly(seeded(Family::Contact), faults);
        for (int slot = 0; slot < 2; ++slot) {
            QCOMPARE(recordsOnly.replyTo("{03}"), QByteArray("[0012]"));
            QCOMPARE(recordsOnly.replyTo("{11000" + QByteArray::number(slot) + "}"), recordsOnly.recordBytes(slot));
        }
        QVERIFY(recordsOnly.replyTo("{110002}").isEmpty());
        QCOMPARE(recordsOnly.replyTo("{03}"), QByteArray("[0012]"));
    }
};

QTEST_GUILESS_MAIN(TestMeterEmulator)
#include "tst_meteremulator.moc"
