// SPDX-License-Identifier: MIT
#include "protocol/ExportColumns.h"

#include <QTest>

class TestExportColumns : public QObject
{
    Q_OBJECT

private slots:
    void cableCellsReordered();
    void cableCellsWithMissingLabels();
};

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
