// SPDX-License-Identifier: MIT
#include "DataFile.h"
#include "Escapes.h"
#include "MeterEmulator.h"
#include "SeededContent.h"
#include "SimOptions.h"

#include <QTemporaryDir>
#include <QTest>

using namespace sim;

Q_DECLARE_METATYPE(sim::Family)

class TestSimDataFile : public QObject
{
    Q_OBJECT

private slots:
    void decodeEscapes_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("plain") << QByteArray("[KX-W1]") << QByteArray("[KX-W1]");
        QTest::newRow("line end") << QByteArray("[KX-C1]\\r\\n") << QByteArray("[KX-C1]\r\n");
        QTest::newRow("hex") << QByteArray("12.34m\\xEA\\x20") << QByteArray("12.34m\xEA ");
        QTest::newRow("zero byte") << QByteArray("a\\x00b") << QByteArray("a\0b", 3);
        QTest::newRow("backslash, tab") << QByteArray("\\\\\\t") << QByteArray("\\\t");
        QTest::newRow("lower-case hex") << QByteArray("\\xe6") << QByteArray("\xE6");
    }
    void decodeEscapes()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, bytes);
        QString error;
        QCOMPARE(sim::decodeEscapes(text, &error), std::optional<QByteArray>(bytes));
        QCOMPARE(sim::decodeEscapes(encodeEscapes(bytes), &error), std::optional<QByteArray>(bytes));
    }

    void badEscapes_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("unknown") << QByteArray("a\\q");
        QTest::newRow("trailing backslash") << QByteArray("abc\\");
        QTest::newRow("short hex") << QByteArray("\\x4");
        QTest::newRow("not hex") << QByteArray("\\x4G");
    }
    void badEscapes()
    {
        QFETCH(QByteArray, text);
        QString error;
        QVERIFY(!sim::decodeEscapes(text, &error));
        QVERIFY(!error.isEmpty());
    }

    void encodeKeepsTrailingBlankVisible()
    {
        QCOMPARE(encodeEscapes("a b "), QByteArray("a b\\x20"));
        QCOMPARE(encodeEscapes(QByteArray("\x00\xEA\r\n", 4)), QByteArray("\\x00\\xEA\\r\\n"));
    }

    void parsesEveryKeyword()
    {
        const QByteArray text = "# a contact meter\r\n"
                                "family contact\r\n"
                                "model [KX-C1]\\r\\n\n"
                                "\n"
                                "files 5\n"
                                "heat-run 2\n"
                                "record 0 [07/03/21 - 14:05:09,1,123:4567,100.0]\n"
                                "record 3  - - -\\x00\n"
                                "short-record 1 AB]\n"
                                "heat-run-name 1 HRT-TRAFO1\\x20\\x20\n"
                                "heat-run-file 1 a,b\\r\\nc,d\n";
        DataFileContent data;
        QString error;
        QVERIFY2(parseDataFile(text, data, &error), qPrintable(error));
        QVERIFY(data.hasFamily && data.hasModel && data.hasFiles && data.hasHeatRun);
        const MeterContent &content = data.content;
        QCOMPARE(content.family, Family::Contact);
        QCOMPARE(content.model, QByteArray("[KX-C1]\r\n"));
        QCOMPARE(content.fileCount, 5);
        QCOMPARE(content.heatRunCount, 2);
        QCOMPARE(content.records.value(0), QByteArray("[07/03/21 - 14:05:09,1,123:4567,100.0]"));
        QCOMPARE(content.records.value(3), QByteArray(" - - -\0", 7));
        QCOMPARE(content.shortRecords.value(1), QByteArray("AB]"));
        QCOMPARE(content.heatRunFiles.value(1).name, QByteArray("HRT-TRAFO1  "));
        QCOMPARE(content.heatRunFiles.value(1).content, QByteArray("a,b\r\nc,d"));
        QVERIFY(!content.heatRunFiles.contains(0));

        MeterEmulator meter(content);
        QCOMPARE(meter.replyTo("{110003}"), QByteArray(" - - -\0", 7));
        QCOMPARE(meter.replyTo("{110001}").mid(1, 19), QByteArray("32/45/32 - 45:32:45"));
    }

    void malformedFileGivesLineAndReason_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown keyword") << QByteArray("files 3\nrecrod 0 x\n") << QStringLiteral("line 2: unknown keyword 'recrod'");
        QTest::newRow("bad number") << QByteArray("files many\n") << QStringLiteral("line 1: 'many' is not a number");
        QTest::newRow("negative slot") << QByteArray("record -1 x\n") << QStringLiteral("line 1: '-1' is not a number");
        QTest::newRow("no value") << QByteArray("# x\nmodel\n") << QStringLiteral("line 2: 'model' needs a value");
        QTest::newRow("no slot value") << QByteArray("record 4\n") << QStringLiteral("line 1: a slot number and a value");
        QTest::newRow("bad escape") << QByteArray("model \\xZZ\n") << QStringLiteral("line 1: \\x must be followed");
        QTest::newRow("short name") << QByteArray("heat-run-name 0 ABC\n") << QStringLiteral("line 1: a heat-run name has 12 bytes");
        QTest::newRow("family") << QByteArray("family toaster\n") << QStringLiteral("line 1: unknown family 'toaster'");
        QTest::newRow("binary junk") << QByteArray("\xFF\xFE\x00\x01 2 3", 7) << QStringLiteral("line 1: unknown keyword");
    }
    void malformedFileGivesLineAndReason()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, message);
        DataFileContent data;
        QString error;
        QVERIFY(!parseDataFile(text, data, &error));
        QVERIFY2(error.startsWith(message), qPrintable(error));
    }

    void writtenFileReadsBack_data()
    {
        QTest::addColumn<Family>("family");
        QTest::newRow("winding") << Family::Winding;
        QTest::newRow("contact") << Family::Contact;
        QTest::newRow("ratio") << Family::Ratio;
        QTest::newRow("cable") << Family::Cable;
    }
    void writtenFileReadsBack()
    {
        QFETCH(Family, family);
        MeterContent content = seededContent(family, "[KX-W2]\r\n", 25, family == Family::Winding ? 4 : 0, 3);
        markEmpty(content, {1, 24}, {2});
        content.shortRecords.insert(5, QByteArray("short\xEA]"));
        DataFileContent data;
        QString error;
        QVERIFY2(parseDataFile(writeDataFile(content), data, &error), qPrintable(error));
        QCOMPARE(data.content, content);
    }

    void optionDefaults()
    {
        const ParsedOptions parsed = parseSimOptions({QStringLiteral("sim")});
        QVERIFY(parsed.error.isEmpty());
        QCOMPARE(parsed.options.model, QByteArray("[KX-W1]"));
        QCOMPARE(parsed.options.files, 100);
        QCOMPARE(parsed.options.heatRun, 3);
        QCOMPARE(parsed.options.com, 1);
        QVERIFY(parsed.options.pacing.paced);
        QCOMPARE(parsed.options.staleDelayNs, 300'000'000);
    }

    void optionValues()
    {
        const ParsedOptions parsed = parseSimOptions(
            {"sim", "--family", "cable", "--short", "--empty", "2,4", "--stale", "ZZ\\r\\n", "--extra", "\\x5D",
             "--truncate", "3", "--fault-only", "{10", "--pieces", "3", "--gap-ms", "120", "--unpaced",
             "--silent-after", "4", "--com", "32"});
        QVERIFY2(parsed.error.isEmpty(), qPrintable(parsed.error));
        const SimOptions &options = parsed.options;
        QCOMPARE(options.model, QByteArray("[KX-R1]"));
        QCOMPARE(options.family, std::optional<Family>(Family::Cable));
        QCOMPARE(options.emptySlots, QList<int>({2, 4}));
        QCOMPARE(options.stale, QByteArray("ZZ\r\n"));
        QCOMPARE(options.faults.extra, QByteArray("]"));
        QCOMPARE(options.faults.truncate, 3);
        QCOMPARE(options.faults.onlyPrefix, QByteArray("{10"));
        QCOMPARE(options.faults.silentAfter, 4);
        QCOMPARE(options.pacing.pieces, 3);
        QCOMPARE(options.pacing.gapNs, 120'000'000);
        QVERIFY(!options.pacing.paced);
        MeterContent content;
        QString error;
        QVERIFY(buildContent(options, content, &error));
        QCOMPARE(content.fileCount, 30);
        QCOMPARE(content.family, Family::Cable);
        QVERIFY(!content.records.contains(2) && content.records.contains(3));
    }

    void badOptions_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown") << QStringList{"sim", "--bogus"} << QStringLiteral("Unknown option 'bogus'");
        QTest::newRow("com 0") << QStringList{"sim", "--com", "0"} << QStringLiteral("--com expects a number from 1 to 32");
        QTest::newRow("files text") << QStringList{"sim", "--files", "x"} << QStringLiteral("--files expects");
        QTest::newRow("family") << QStringList{"sim", "--family", "oven"} << QStringLiteral("--family expects");
        QTest::newRow("escape") << QStringList{"sim", "--model", "\\q"} << QStringLiteral("--model unknown escape");
        QTest::newRow("list") << QStringList{"sim", "--empty", "2,x"} << QStringLiteral("--empty expects");
        QTest::newRow("positional") << QStringList{"sim", "extra"} << QStringLiteral("unexpected argument 'extra'");
    }
    void badOptions()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const QString error = parseSimOptions(arguments).error;
        QVERIFY2(error.startsWith(message), qPrintable(error));
    }

    void commandLineOverridesDataFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("meter.txt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("model [KX-R1]\nfiles 4\nrecord 1 [RAW\\xFF]\n");
        file.close();

        MeterContent content;
        QString error;
        const ParsedOptions fromFile = parseSimOptions({"sim", "--data", path});
        QVERIFY(buildContent(fromFile.options, content, &error));
        QCOMPARE(content.family, Family::Cable);   // from the file's model
        QCOMPARE(content.fileCount, 4);
        QCOMPARE(MeterEmulator(content).replyTo("{100001}"), QByteArray("[RAW\xFF]"));

        const ParsedOptions overridden = parseSimOptions({"sim", "--data", path, "--files", "9", "--model", "KXT1"});
        QVERIFY(buildContent(overridden.options, content, &error));
        QCOMPARE(content.fileCount, 9);
        QCOMPARE(content.family, Family::Ratio);

        const ParsedOptions missing = parseSimOptions({"sim", "--data", dir.filePath(QStringLiteral("none.txt"))});
        QVERIFY(!buildContent(missing.options, content, &error));
        QVERIFY2(error.contains(QStringLiteral("none.txt")), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(TestSimDataFile)
#include "tst_simdatafile.moc"
