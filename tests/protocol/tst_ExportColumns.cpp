// SPDX-License-Identifier: MIT
#include "protocol/ExportColumns.h"

#include <QTest>

class TestExportColumns : public QObject
{
    Q_OBJECT

private slots:
    void headings();
    void windingCells_data();
    void windingCells();
    void cableCellsReordered();
    void cableCellsWithMissingLabels();
};

void TestExportColumns::headings()
{
    QCOMPARE(windingHeadings(),
             QStringList({" File No. ", " Filename ", " Ch1 (Ohm) ", " Ch2 (Ohm) ", " Temperature (Deg) ",
                          " Ch1 (Ohm) at 20Deg ", " Ch2 (Ohm) at 20Deg ", " Conductor "}));
    QCOMPARE(contactHeadings(),
             QStringList({" File No. ", " File Date & Time ", " Resistance (Ohm) ", " Current (A) "}));
    QCOMPARE(cableHeadings(), QStringList({" File No. ", " File Name ", " Date & Time ", " Resistance (Ohm) ",
                                           " Cable Size (sq. mm) ", " Conductor ", " Current (A) "}));
}

void TestExportColumns::windingCells_data()
{
    QTest::addColumn<QString>("temperature");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<int>("cellCount");

    const QLocale point = QLocale::c();
    const QLocale comma(QLocale::German, QLocale::Germany);
    QTest::newRow("point number") << "25.3" << point << 8;
    QTest::newRow("whole number") << "25" << point << 8;
    QTest::newRow("comma number in comma locale") << "25,3" << comma << 8;
    QTest::newRow("whole number in comma locale") << "25" << comma << 8;
    QTest::newRow("design text") << "  ---" << point << 4;
    QTest::newRow("design text in comma locale") << "  ---" << comma << 4;
    QTest::newRow("empty") << "" << point << 4;
    QTest::newRow("comma number in point locale") << "25,3" << point << 4;
}

void TestExportColumns::windingCells()
{
    QFETCH(QString, temperature);
    QFETCH(QLocale, locale);
    QFETCH(int, cellCount);
    const QStringList row = {"3", "FILE03", "    1.234", "    12.50", temperature, "1.208297", "12.23964", "Copper"};
    QCOMPARE(windingExportCells(row, locale), row.mid(0, cellCount));
}

void TestExportColumns::cableCellsReordered()
{
    // Screen order: number, name, date and time, resistance, size, current, conductor.
    const QStringList screen = {"1", "CAB0001", "07/03/21 - 14:05:09", "12.34 m", "95", "12.5", "Copper"};
    QCOMPARE(cableExportCells(screen),
             QStringList({"1", "CAB0001", "07/03/21 - 14:05:09", "12.34 m", "95", "Copper", "12.5"}));
}

void TestExportColumns::cableCellsWithMissingLabels()
{
    QCOMPARE(cableExportCells({"1", "CAB0001"}), QStringList({"1", "CAB0001", "", "", "", "", ""}));
}

QTEST_GUILESS_MAIN(TestExportColumns)
#include "tst_ExportColumns.moc"
