// SPDX-License-Identifier: MIT
#include "protocol/FamilyProtocol.h"
#include "protocol/HeatRunReply.h"
#include "protocol/RecordFormat.h"

#include <QTest>

// Each family's record format: what goes on the wire and how much of the
// reply the wait needs, as the meters send it.
class TestRecordFormat : public QObject
{
    Q_OBJECT

private slots:
    void format_data();
    void format();
    void shortWindingRecords_data();
    void shortWindingRecords();
    void heatRunNamesRule_data();
    void heatRunNamesRule();
};

void TestRecordFormat::format_data()
{
    QTest::addColumn<int>("family");
    QTest::addColumn<int>("fileCount");
    QTest::addColumn<int>("index");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QList<int>>("rule"); // awaited, needed, end mark, longest

    QTest::newRow("contact") << int(MeterFamily::Contact) << 100 << 37 << QByteArray("{110037}")
                             << QList<int>{37, 38, 1, 38};
    QTest::newRow("ratio") << int(MeterFamily::Ratio) << 100 << 0 << QByteArray("{110000}") << QList<int>{37, 38, 1, 38};
    QTest::newRow("cable") << int(MeterFamily::Cable) << 100 << 41 << QByteArray("{100041}") << QList<int>{34, 34, 1, 35};
    QTest::newRow("winding long") << int(MeterFamily::Winding) << 100 << 37 << QByteArray("{110037}")
                                  << QList<int>{33, 34, 1, 34};
    QTest::newRow("winding short") << int(MeterFamily::Winding) << 30 << 29 << QByteArray("{1129}")
                                   << QList<int>{18, 27, 1, 27};
}

void TestRecordFormat::format()
{
    QFETCH(int, family);
    QFETCH(int, fileCount);
    QFETCH(int, index);
    QFETCH(QByteArray, request);
    QFETCH(QList<int>, rule);

    const RecordFormat format = familyProtocol(MeterFamily(family)).recordFormat(fileCount);
    QCOMPARE(format.request(index), request);
    QCOMPARE((QList<int>{format.rule.awaited, format.rule.needed, int(format.rule.endMark), format.rule.longest}),
             rule);
    // A reply shorter than the wait is no record, whatever the family.
    QCOMPARE(format.decode(QByteArray("]"), QLocale::c()).status, RecordCells::Status::BadEndMark);
}

void TestRecordFormat::shortWindingRecords_data()
{
    QTest::addColumn<int>("fileCount");
    QTest::addColumn<bool>("shortRecords");

    QTest::newRow("30 files") << 30 << true;
    QTest::newRow("29 files") << 29 << false;
    QTest::newRow("31 files") << 31 << false;
    QTest::newRow("no files") << 0 << false;
    QTest::newRow("1000 files") << 1000 << false;
}

void TestRecordFormat::shortWindingRecords()
{
    QFETCH(int, fileCount);
    QFETCH(bool, shortRecords);
    QCOMPARE(windingUsesShortRecords(fileCount), shortRecords);
}

void TestRecordFormat::heatRunNamesRule_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("awaited");
    QTest::addColumn<int>("needed");

    QTest::newRow("none") << 0 << 0 << 0;
    QTest::newRow("one") << 1 << 18 << 19;
    QTest::newRow("three") << 3 << 54 << 55;
    QTest::newRow("eight") << 8 << 144 << 145;
    QTest::newRow("more than the slots") << 12 << 144 << 145;
}

void TestRecordFormat::heatRunNamesRule()
{
    QFETCH(int, count);
    QFETCH(int, awaited);
    QFETCH(int, needed);
    const ReplyRule rule = ::heatRunNamesRule(count);
    QCOMPARE(rule.awaited, awaited);
    QCOMPARE(rule.needed, needed);
    QVERIFY(!rule.endMark);
    QCOMPARE(rule.longest, 0);
}

QTEST_GUILESS_MAIN(TestRecordFormat)
#include "tst_RecordFormat.moc"
