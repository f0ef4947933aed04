// SPDX-License-Identifier: MIT
#include "protocol/ContactRecord.h"

#include <QTest>

Q_DECLARE_METATYPE(RecordCells::Status)

namespace {

// "[" + date and time 2-20 + blank + status 22 + blank + resistance 24-31 +
// blank + current 33-37 + "]" at 38.
QByteArray reply(const QByteArray &dateTime, char status, const QByteArray &resistance, const QByteArray &current)
{
    Q_ASSERT(dateTime.size() == 19 && resistance.size() == 8 && current.size() == 5);
    return '[' + dateTime + ' ' + status + ' ' + resistance + ' ' + current + ']';
}

QStringList described(const RecordCells &record)
{
    QStringList lines;
    for (const auto &[column, text] : record.cells)
        lines.append(QString::number(column) + QLatin1Char('=') + text);
    return lines;
}

const QByteArray date = "07/03/21 - 14:05:09";
const QString dateCell = QStringLiteral("0=07/03/21 - 14:05:09");

} // namespace

class TestContactRecord : public QObject
{
    Q_OBJECT

private slots:
    void request_data();
    void request();
    void decode_data();
    void decode();
    void resistanceText_data();
    void resistanceText();
};

void TestContactRecord::request_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("index 0") << 0 << QByteArray("{110000}");
    QTest::newRow("index 9") << 9 << QByteArray("{110009}");
    QTest::newRow("index 41") << 41 << QByteArray("{110041}");
}

void TestContactRecord::request()
{
    QFETCH(int, index);
    QFETCH(QByteArray, expected);
    QCOMPARE(contactRecordRequest(index), expected);
}

void TestContactRecord::decode_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<RecordCells::Status>("status");
    QTest::addColumn<QStringList>("cells");
    using S = RecordCells::Status;

    QTest::newRow("milli scale") << reply(date, '0', "123:4567", "10.00") << S::Filled
                                 << QStringList{dateCell, "1=123E-3", "2=10.00"};
    QTest::newRow("micro scale") << reply(date, '0', "456<0000", " 5.00") << S::Filled
                                 << QStringList{dateCell, "1=456E-6", "2= 5.00"};
    QTest::newRow("no scale") << reply(date, '0', "789;    ", "100.0") << S::Filled
                              << QStringList{dateCell, "1=789", "2=100.0"};
    QTest::newRow("point in fourth place") << reply(date, '0', "1.234567", "10.00") << S::Filled
                                           << QStringList{dateCell, "1=1.234567", "2=10.00"};
    QTest::newRow("digit in fourth place") << reply(date, '0', "12345678", "10.00") << S::Filled
                                           << QStringList{dateCell, "1=12345678", "2=10.00"};
    QTest::newRow("blank status measures") << reply(date, ' ', "123:4567", "10.00") << S::Filled
                                           << QStringList{dateCell, "1=123E-3", "2=10.00"};
    QTest::newRow("status 3 measures") << reply(date, '3', "123:4567", "10.00") << S::Filled
                                       << QStringList{dateCell, "1=123E-3", "2=10.00"};
    QTest::newRow("over range") << reply(date, '1', "123:4567", "10.00") << S::Filled
                                << QStringList{dateCell, "1=-Over-", "2="};
    QTest::newRow("under range") << reply(date, '2', "123:4567", "10.00") << S::Filled
                                 << QStringList{dateCell, "1=-Under-", "2="};
    QTest::newRow("empty slot") << reply("32/45/32 - 45:32:45", '0', "123:4567", "10.00") << S::EmptySlot
                                << QStringList();
    QTest::newRow("marker differs in one place")
        << reply("32/45/32 - 45:32:46", '0', "123:4567", "10.00") << S::Filled
        << QStringList{"0=32/45/32 - 45:32:46", "1=123E-3", "2=10.00"};
    QTest::newRow("late end mark, 37 read") << reply(date, '0', "123:4567", "10.00").chopped(1) << S::BadEndMark
                                            << QStringList();
    QTest::newRow("open bracket last") << reply(date, '0', "123:4567", "10.00").chopped(1) + '[' << S::BadEndMark
                                       << QStringList();
    QTest::newRow("longer reply, fields by position")
        << reply(date, '0', "123:4567", "10.00").chopped(1) + "x]" << S::Filled
        << QStringList{dateCell, "1=123E-3", "2=10.00"};
    QTest::newRow("too short") << QByteArray("[07/03/21]") << S::BadEndMark << QStringList();
    QTest::newRow("empty reply") << QByteArray() << S::BadEndMark << QStringList();
}

void TestContactRecord::decode()
{
    QFETCH(QByteArray, reply);
    QFETCH(RecordCells::Status, status);
    QFETCH(QStringList, cells);
    const RecordCells record = decodeContactRecord(reply);
    QCOMPARE(record.status, status);
    QCOMPARE(described(record), cells);
}

void TestContactRecord::resistanceText_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("expected");
    QTest::newRow("colon") << QByteArray("123:9999") << "123E-3";
    QTest::newRow("less than") << QByteArray("045<abcd") << "045E-6";
    QTest::newRow("semicolon") << QByteArray("900;    ") << "900";
    QTest::newRow("other code") << QByteArray("123=4567") << "123=4567";
    QTest::newRow("high byte kept") << QByteArray("12.3\xB5 ab") << QStringLiteral("12.3\u00B5 ab");
    QTest::newRow("three characters") << QByteArray("123") << "123";
}

void TestContactRecord::resistanceText()
{
    QFETCH(QByteArray, field);
    QFETCH(QString, expected);
    QCOMPARE(contactResistanceText(field), expected);
}

QTEST_GUILESS_MAIN(TestContactRecord)
#include "tst_ContactRecord.moc"
