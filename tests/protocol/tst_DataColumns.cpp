// SPDX-License-Identifier: MIT
#include "protocol/DataColumns.h"

#include <QTest>

namespace {

// A cell as one short text: "n:0.848/3", "d:2023-05-01T10:02:00", "t:-Over-", "-".
QString described(const DataCell &cell)
{
    switch (cell.kind) {
    case DataCell::Kind::Empty:
        return QStringLiteral("-");
    case DataCell::Kind::Number:
        return QStringLiteral("n:%1/%2").arg(cell.number.value, 0, 'g', 10).arg(cell.number.decimals);
    case DataCell::Kind::DateTime:
        return QStringLiteral("d:") + isoDateTime(cell.dateTime);
    case DataCell::Kind::Text:
        return QStringLiteral("t:") + cell.text;
    }
    return {};
}

} // namespace

class TestDataColumns : public QObject
{
    Q_OBJECT
private slots:
    void cellsOfARow_data()
    {
        QTest::addColumn<QList<DataColumn>>("columns");
        QTest::addColumn<QStringList>("labels");
        QTest::addColumn<QList<bool>>("filled");
        QTest::addColumn<QStringList>("cells");
        const QList<bool> all(8, true);
        QTest::newRow("contact, milliohms")
            << contactDataColumns() << QStringList{"01/05/23 - 10:02:00", "848E-3", "151.7"} << all
            << QStringList{"n:3/0", "d:2023-05-01T10:02:00", "t:01/05/23 - 10:02:00", "n:0.848/3", "t:848E-3",
                           "n:151.7/1"};
        QTest::newRow("contact, over range")
            << contactDataColumns() << QStringList{"01/05/23 - 10:02:00", "-Over-", ""} << all
            << QStringList{"n:3/0", "d:2023-05-01T10:02:00", "t:01/05/23 - 10:02:00", "-", "t:-Over-", "-"};
        QTest::newRow("contact, no date")
            << contactDataColumns() << QStringList{"01/13/23 - 10:02:00", "030", "00000"} << all
            << QStringList{"n:3/0", "-", "t:01/13/23 - 10:02:00", "n:30/0", "t:030", "n:0/0"};
        QTest::newRow("cable, prefixed")
            << cableDataColumns() << QStringList{"CAB0001", "07/03/21 - 14:05:09", "12.34 m", "95", "12.5", "Copper"}
            << all
            << QStringList{"n:3/0", "t:CAB0001", "d:2021-03-07T14:05:09", "t:07/03/21 - 14:05:09", "n:0.01234/5",
                           "t:12.34 m", "n:95/0", "t:Copper", "n:12.5/1"};
        // A winding record without a temperature writes the first four labels only.
        QTest::newRow("winding, no temperature")
            << windingDataColumns() << QStringList{"TX-004", "   12.500", "     OL  ", "  ---", "  ---", "  ---", "  ---"}
            << QList<bool>{true, true, true, false, false, false, false}
            << QStringList{"n:3/0", "t:TX-004", "n:12.5/3", "t:12.500", "-", "t:OL", "-", "-", "-", "-"};
    }
    void cellsOfARow()
    {
        QFETCH(QList<DataColumn>, columns);
        QFETCH(QStringList, labels);
        QFETCH(QList<bool>, filled);
        QFETCH(QStringList, cells);
        QStringList read;
        for (const DataCell &cell : dataCells(columns, 3, labels, filled))
            read << described(cell);
        QCOMPARE(read, cells);
    }
};

QTEST_MAIN(TestDataColumns)
#include "tst_DataColumns.moc"
