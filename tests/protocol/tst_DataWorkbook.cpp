// SPDX-License-Identifier: MIT
#include "protocol/DataWorkbook.h"
#include "protocol/DownloadTables.h"
#include "protocol/FamilyProtocol.h"

#include "ReadFile.h"
#include "WorkbookCells.h"

#include <QTemporaryDir>

#include <clocale>
#include <QTest>

namespace {

const QDateTime downloaded(QDate(2026, 12, 10), QTime(8, 30), Qt::UTC);

// The workbook of `table`, written and read back.
Workbook roundTrip(const DataTable &table, const QString &model = QStringLiteral("[KX-W1]"))
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("files.xlsx"));
    const WriteResult written = writeDataWorkbook(path, table, {model, downloaded});
    if (!written.ok)
        return {written.error, {}, {}, {}, {}};
    return readWorkbook(path);
}

// "type value format" of the cells of row `row`, columns A on, "-" where
// empty; numbers to twelve digits (dates are numbers of days since 1899-12-30).
QStringList rowCells(const Workbook &workbook, int row, int columns)
{
    QStringList described;
    for (int column = 0; column < columns; ++column) {
        const auto cell = workbook.cells.constFind(QChar(u'A' + column) + QString::number(row));
        if (cell == workbook.cells.cend()) {
            described << QStringLiteral("-");
            continue;
        }
        const QString value = cell->type == QLatin1String("n") ? QString::number(cell->value.toDouble(), 'g', 12)
                                                               : cell->value;
        described << cell->type + u' ' + value + u' ' + cell->format;
    }
    return described;
}

} // namespace

class TestDataWorkbook : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!canReadWorkbooks())
            QSKIP("unzip is needed to read a workbook back");
    }

    void eachKindOfValueHasItsCellType_data()
    {
        QTest::addColumn<MeterFamily>("family");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QStringList>("cells");
        // 2021-03-07 14:05:09 as Excel counts it.
        const QString date = QStringLiteral("n 44262.5869097 yyyy-mm-dd hh:mm:ss");
        QTest::newRow("winding, overload")
            << MeterFamily::Winding << QByteArray("TX-002   100.000      OL   1 0350]")
            << QStringList{"n 1 0",  "s TX-002 General", "n 100 0.000",  "s 100.000 General",   "-", "s OL General",
                           "n 35 0", "n 93.85 0.00",     "-",            "s Aluminium General", "s OK General"};
        QTest::newRow("contact") << MeterFamily::Contact << QByteArray("[07/03/21 - 14:05:09 0 848:0000 10.00]")
                                 << QStringList{"n 1 0",        date,
                                                "s 07/03/21 - 14:05:09 General", "n 0.848 0.000",
                                                "s 848E-3 General", "n 10 0.00", "s OK General"};
        QTest::newRow("contact, over range")
            << MeterFamily::Contact << QByteArray("[07/03/21 - 14:05:09 1 848:0000 10.00]")
            << QStringList{"n 1 0", date, "s 07/03/21 - 14:05:09 General", "-", "s -Over- General", "-", "s OK General"};
        QByteArray cable = "[CAB0001";
        for (const int byte : {7, 3, 21, 14, 5, 9, 1, 0x7D, 0, 0x5F, 0})
            cable.append(char(byte));
        cable += "  0.1489\xE6\xEA    ]";
        QTest::newRow("cable, micro-ohms")
            << MeterFamily::Cable << cable
            << QStringList{"n 1 0",           "s CAB0001 General",           date,
                           "s 07/03/21 - 14:05:09 General", "n 1.489e-07 0.0000000000", "s 0.1489 \u00B5 General",
                           "n 95 0",          "s Copper General",            "n 12.5 0.0",
                           "s OK General"};
    }
    void eachKindOfValueHasItsCellType()
    {
        QFETCH(MeterFamily, family);
        QFETCH(QByteArray, reply);
        QFETCH(QStringList, cells);
        MeterFiles files(familyProtocol(family).columns(), 1, QLocale::c());
        files.setReply(0, reply, familyProtocol(family).recordFormat(2));
        const DataTable table = dataTable(files, {0});
        const Workbook workbook = roundTrip(table);
        QVERIFY2(workbook.error.isEmpty(), qPrintable(workbook.error));
        QCOMPARE(rowCells(workbook, 2, int(table.headings.size())), cells);
        // The headings, bold, as the CSV has them.
        for (int column = 0; column < table.headings.size(); ++column) {
            const WorkbookCell heading = workbook.cells.value(QChar(u'A' + column) + QStringLiteral("1"));
            QCOMPARE(heading.value, table.headings[column]);
            QVERIFY(heading.bold);
        }
    }

    void theSheetIsReadyToUse()
    {
        DataTable table{{"File No.", "File Name", "Status"}, {}};
        table.rows << QList<DataCell>{DataCell::ofNumber({1, 0}), DataCell::ofText(QString(70, u'x')),
                                      DataCell::ofText("OK")};
        const Workbook workbook = roundTrip(table, QStringLiteral("[KX-R1]"));
        QVERIFY2(workbook.error.isEmpty(), qPrintable(workbook.error));
        QCOMPARE(workbook.sheetName, QString("KX-R1"));
        QVERIFY2(workbook.sheetXml.contains("<pane ySplit=\"1\" topLeftCell=\"A2\" activePane=\"bottomLeft\" state=\"frozen\"/>"),
                 qPrintable(workbook.sheetXml));
        // A long text makes its column as wide as a screen, not wider.
        QVERIFY2(workbook.sheetXml.contains("<col min=\"2\" max=\"2\" width=\"60."), qPrintable(workbook.sheetXml));
        QVERIFY(workbook.coreProperties.contains("<dc:title>[KX-R1]</dc:title>"));
        QVERIFY(workbook.coreProperties.contains(">2026-12-10T08:30:00Z</dcterms:created>"));
    }

    void aTextIsNeverAFormula()
    {
        // Names typed on the meter, with bytes no XML may carry.
        DataTable table{{"File Name"}, {}};
        for (const QString &name : {QStringLiteral("=SUM(A1)"), QStringLiteral("+1"), QString::fromLatin1("a\x01z"),
                                    QStringLiteral("a") + QChar(0) + QStringLiteral("z"), QStringLiteral("_x0041_")})
            table.rows << QList<DataCell>{DataCell::ofText(name)};
        const Workbook workbook = roundTrip(table);
        QVERIFY2(workbook.error.isEmpty(), qPrintable(workbook.error));
        QVERIFY(!workbook.sheetXml.contains("<f>"));
        QCOMPARE(rowCells(workbook, 2, 1), QStringList{"s =SUM(A1) General"});
        QCOMPARE(rowCells(workbook, 3, 1), QStringList{"s +1 General"});
        QCOMPARE(rowCells(workbook, 4, 1), QStringList{"s a\u0001z General"});
        QCOMPARE(rowCells(workbook, 5, 1), QStringList{"s a\uFFFDz General"});
        QCOMPARE(rowCells(workbook, 6, 1), QStringList{"s _x0041_ General"}); // not Excel's escape of "A"
    }

    void aModelWithControlCharactersIsAWellFormedTitle()
    {
        const Workbook workbook = roundTrip({{"File No."}, {}}, QString::fromLatin1("[KX\x01R1\x1B]"));
        QVERIFY2(workbook.error.isEmpty(), qPrintable(workbook.error));
        QVERIFY(workbook.coreProperties.contains(QString::fromUtf16(u"<dc:title>[KX\uFFFDR1\uFFFD]</dc:title>")));
        QCOMPARE(workbook.sheetName, QString("KXR1"));
    }

    void numbersKeepTheirPointInACommaLocale()
    {
        // libxlsxwriter writes numbers through the C library, which follows
        // the locale Qt set at start-up.
        QTemporaryDir locales;
        if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) {
            QProcess::execute("localedef", {"-i", "de_DE", "-f", "UTF-8", locales.filePath("de_DE.UTF-8")});
            qputenv("LOCPATH", locales.path().toLocal8Bit());
            if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
                QSKIP("no de_DE locale here, and localedef cannot make one");
        }
        DataTable table{{"Resistance (Ohm)", "Date & Time"}, {}};
        table.rows << QList<DataCell>{DataCell::ofNumber({0.848, 3}),
                                      DataCell::ofDateTime(QDateTime(QDate(2021, 3, 7), QTime(14, 5, 9), Qt::UTC))};
        const Workbook workbook = roundTrip(table);
        std::setlocale(LC_ALL, "C");
        QVERIFY2(workbook.error.isEmpty(), qPrintable(workbook.error));
        QCOMPARE(workbook.cells.value("A2").value, QString("0.848"));
        QCOMPARE(workbook.cells.value("B2").value.left(11), QString("44262.58690"));
    }

    void sheetNamesExcelTakes_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("name");
        QTest::newRow("brackets") << "[KX-W1]" << "KX-W1";
        QTest::newRow("other refused characters") << "a:b*c?d/e\\f" << "abcdef";
        QTest::newRow("apostrophes at the ends") << "'KX'" << "KX";
        QTest::newRow("nothing left") << "[]" << "Files";
        QTest::newRow("Excel's own") << "history" << "Files";
        QTest::newRow("long") << QString(40, u'K') << QString(31, u'K');
    }
    void sheetNamesExcelTakes()
    {
        QFETCH(QString, model);
        QTEST(workbookSheetName(model), "name");
    }
};

QTEST_GUILESS_MAIN(TestDataWorkbook)
#include "tst_DataWorkbook.moc"
