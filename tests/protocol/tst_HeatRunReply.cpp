// SPDX-License-Identifier: MIT
#include "protocol/HeatRunReply.h"

#include <QTest>

using Names = QList<std::optional<QString>>;
Q_DECLARE_METATYPE(std::optional<QByteArray>)

namespace {

// The "{02}" reply: per slot s the name at 18s+3..18s+14 and four digits at
// 18s+16..18s+19 (1-based), the rest filler.
QByteArray slotsReply(const QList<QByteArray> &names)
{
    QByteArray reply(18 * names.size() + 1, ' ');
    reply[0] = '[';
    for (int s = 0; s < names.size(); ++s) {
        Q_ASSERT(names[s].size() == 12);
        reply.replace(18 * s + 2, 12, names[s]);
        reply.replace(18 * s + 15, 4, "0123");
    }
    return reply;
}

Names unused(int count)
{
    return Names(count, std::nullopt);
}

} // namespace

class TestHeatRunReply : public QObject
{
    Q_OBJECT

private slots:
    void slotsUsed_data();
    void slotsUsed();
    void names_data();
    void names();
    void content_data();
    void content();
    void request_data();
    void request();
    void heatRunNamesBecomeSafeFileNames_data()
    {
        QTest::addColumn<QString>("meterName");
        QTest::addColumn<int>("slot");
        QTest::addColumn<QStringList>("taken");
        QTest::addColumn<QString>("fileName");

        QTest::newRow("kept as it is") << "HRT-TRAFO_2" << 0 << QStringList{} << "HRT-TRAFO_2.csv";
        QTest::newRow("blanks inside stay") << "T1 PHASE A" << 0 << QStringList{} << "T1 PHASE A.csv";
        QTest::newRow("path parts") << "../../etc/x" << 0 << QStringList{} << "_.._etc_x.csv";
        QTest::newRow("only a parent folder") << ".." << 2 << QStringList{} << "heat-run-3.csv";
        QTest::newRow("backslash and colon") << "C:\\T1" << 0 << QStringList{} << "C__T1.csv";
        QTest::newRow("control characters")
            << QString::fromLatin1("A\x1B[2J\x7F") << 0 << QStringList{} << "A__2J_.csv";
        QTest::newRow("non-ASCII") << QString::fromUtf8("M\xC3\xBCller") << 0 << QStringList{} << "M_ller.csv";
        QTest::newRow("blank name") << "            " << 0 << QStringList{} << "heat-run-1.csv";
        QTest::newRow("trailing dots and blanks") << " T1. " << 0 << QStringList{} << "T1.csv";
        QTest::newRow("reserved on Windows") << "con" << 0 << QStringList{} << "_con.csv";
        QTest::newRow("reserved with suffix") << "COM1.x" << 0 << QStringList{} << "_COM1.x.csv";
        QTest::newRow("not reserved") << "CONTACT" << 0 << QStringList{} << "CONTACT.csv";
        QTest::newRow("same name twice") << "T1" << 1 << QStringList{"t1.csv"} << "T1 (2).csv";
        QTest::newRow("three times") << "T1" << 2 << QStringList{"T1.csv", "T1 (2).csv"} << "T1 (3).csv";
    }
    void heatRunNamesBecomeSafeFileNames()
    {
        QFETCH(QString, meterName);
        QFETCH(int, slot);
        QFETCH(QStringList, taken);
        QTEST(heatRunFileName(meterName, slot, taken), "fileName");
    }
};

void TestHeatRunReply::slotsUsed_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("expected");
    QTest::newRow("negative") << -1 << 0;
    QTest::newRow("none") << 0 << 0;
    QTest::newRow("three") << 3 << 3;
    QTest::newRow("all") << 8 << 8;
    QTest::newRow("nine") << 9 << 8;
    QTest::newRow("99") << 99 << 8;
}

void TestHeatRunReply::slotsUsed()
{
    QFETCH(int, count);
    QFETCH(int, expected);
    QCOMPARE(heatRunSlotsUsed(count), expected);
}

void TestHeatRunReply::names_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("count");
    QTest::addColumn<Names>("expected");

    const QByteArray empty = "------------";
    QTest::newRow("count 0 reads nothing") << slotsReply({"HEATRUN_0001"}) << 0 << unused(8);
    QTest::newRow("empty slot between used ones")
        << slotsReply({"HEATRUN_0001", empty, "JOB 42      "}) << 3
        << Names{QStringLiteral("HEATRUN_0001"), std::nullopt, QStringLiteral("JOB 42      ")} + unused(5);
    QTest::newRow("count below the reply's slots")
        << slotsReply({"HEATRUN_0001", "HEATRUN_0002"}) << 1 << Names{QStringLiteral("HEATRUN_0001")} + unused(7);
    QTest::newRow("name cut short by the reply")
        << slotsReply({"HEATRUN_0001", "HEATRUN_0002"}).left(18 + 13) << 2
        << Names{QStringLiteral("HEATRUN_0001")} + unused(7);
    QTest::newRow("count beyond the reply") << slotsReply({"HEATRUN_0001"}) << 2
                                            << Names{QStringLiteral("HEATRUN_0001")} + unused(7);
    QTest::newRow("empty reply") << QByteArray() << 8 << unused(8);
    QTest::newRow("count above eight is clamped")
        << slotsReply({"A1          ", "A2          ", "A3          ", "A4          ", "A5          ",
                       "A6          ", "A7          ", "A8          ", "A9          "})
        << 9
        << Names{QStringLiteral("A1          "), QStringLiteral("A2          "), QStringLiteral("A3          "),
                 QStringLiteral("A4          "), QStringLiteral("A5          "), QStringLiteral("A6          "),
                 QStringLiteral("A7          "), QStringLiteral("A8          ")};
    QTest::newRow("one character per byte") << slotsReply({"CAF\xC9-01     "}) << 1
                                            << Names{QStringLiteral("CAF\u00C9-01     ")} + unused(7);
}

void TestHeatRunReply::names()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, count);
    QFETCH(Names, expected);
    const Names names = heatRunNames(reply, count);
    QCOMPARE(names.size(), 8);
    QCOMPARE(names, expected);
}

void TestHeatRunReply::content_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<std::optional<QByteArray>>("expected");

    QTest::newRow("brackets alone") << QByteArray("[]") << std::optional<QByteArray>(QByteArray(""));
    QTest::newRow("csv kept as sent") << QByteArray("[Time,Ch1\r\n0,1.234\r\n]")
                                      << std::optional<QByteArray>("Time,Ch1\r\n0,1.234\r\n");
    QTest::newRow("inner brackets kept") << QByteArray("[]]") << std::optional<QByteArray>("]");
    QTest::newRow("line end last") << QByteArray("[Time,Ch1\r\n") << std::optional<QByteArray>();
    QTest::newRow("line end after bracket") << QByteArray("[a]\r\n") << std::optional<QByteArray>();
    QTest::newRow("no opening bracket") << QByteArray("a]") << std::optional<QByteArray>();
    QTest::newRow("stale byte first") << QByteArray("x[a]") << std::optional<QByteArray>();
    QTest::newRow("open bracket alone") << QByteArray("[") << std::optional<QByteArray>();
    QTest::newRow("close bracket alone") << QByteArray("]") << std::optional<QByteArray>();
    QTest::newRow("empty") << QByteArray() << std::optional<QByteArray>();
}

void TestHeatRunReply::content()
{
    QFETCH(QByteArray, reply);
    QFETCH(std::optional<QByteArray>, expected);
    QCOMPARE(heatRunContent(reply), expected);
}

void TestHeatRunReply::request_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("first") << 0 << QByteArray("{1001}");
    QTest::newRow("third") << 2 << QByteArray("{1003}");
    QTest::newRow("eighth") << 7 << QByteArray("{1008}");
}

void TestHeatRunReply::request()
{
    QFETCH(int, slot);
    QFETCH(QByteArray, expected);
    QCOMPARE(heatRunRequest(slot), expected);
}

QTEST_GUILESS_MAIN(TestHeatRunReply)
#include "tst_HeatRunReply.moc"
