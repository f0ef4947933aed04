// SPDX-License-Identifier: MIT
#include "protocol/ReplyFields.h"

#include <QTest>

class TestReplyFields : public QObject
{
    Q_OBJECT

private slots:
    void slice_data();
    void slice();
    void decimal_data();
    void decimal();
    void byteAt();
    void endsWithCloseBracket_data();
    void endsWithCloseBracket();
};

void TestReplyFields::slice_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("inside") << QByteArray("[0042]") << 2 << 5 << QByteArray("0042");
    QTest::newRow("single character") << QByteArray("[0042]") << 1 << 1 << QByteArray("[");
    QTest::newRow("last character") << QByteArray("[0042]") << 6 << 6 << QByteArray("]");
    QTest::newRow("runs past the end") << QByteArray("[004") << 2 << 5 << QByteArray("004");
    QTest::newRow("starts past the end") << QByteArray("[00") << 4 << 5 << QByteArray();
    QTest::newRow("empty reply") << QByteArray() << 1 << 3 << QByteArray();
    QTest::newRow("position zero") << QByteArray("abc") << 0 << 2 << QByteArray();
    QTest::newRow("reversed range") << QByteArray("abc") << 3 << 2 << QByteArray();
    QTest::newRow("raw bytes kept") << QByteArray("\x01\xFF\x00z", 4) << 2 << 3 << QByteArray("\xFF\x00", 2);
}

void TestReplyFields::slice()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(QByteArray, expected);
    QCOMPARE(ReplyFields::slice(reply, first, last), expected);
}

void TestReplyFields::decimal_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<int>("expected"); // -1: no number

    QTest::newRow("count 42") << QByteArray("[0042]") << 2 << 5 << 42;
    QTest::newRow("two digits") << QByteArray("[03xx") << 2 << 3 << 3;
    QTest::newRow("zero") << QByteArray("[0000") << 2 << 5 << 0;
    QTest::newRow("leading blanks") << QByteArray("[  42") << 2 << 5 << 42;
    QTest::newRow("trailing blanks") << QByteArray("[42  ") << 2 << 5 << 42;
    QTest::newRow("truncated field") << QByteArray("[004") << 2 << 5 << -1;
    QTest::newRow("field beyond reply") << QByteArray("[") << 2 << 3 << -1;
    QTest::newRow("blank field") << QByteArray("[    ") << 2 << 5 << -1;
    QTest::newRow("letter") << QByteArray("[00A2") << 2 << 5 << -1;
    QTest::newRow("inner blank") << QByteArray("[0 42") << 2 << 5 << -1;
    QTest::newRow("sign") << QByteArray("[-042") << 2 << 5 << -1;
    QTest::newRow("point") << QByteArray("[25.3") << 2 << 5 << -1;
    QTest::newRow("too many digits") << QByteArray("9999999999") << 1 << 10 << -1;
}

void TestReplyFields::decimal()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(int, expected);
    const std::optional<int> value = ReplyFields::decimal(reply, first, last);
    if (expected < 0) {
        QVERIFY2(!value, qPrintable(QString::number(value.value_or(-1))));
    } else {
        QVERIFY(value);
        QCOMPARE(*value, expected);
    }
}

void TestReplyFields::byteAt()
{
    const QByteArray reply("\x07\xFF\x80", 3);
    QCOMPARE(ReplyFields::byteAt(reply, 1), std::optional<int>(7));
    QCOMPARE(ReplyFields::byteAt(reply, 2), std::optional<int>(255));
    QCOMPARE(ReplyFields::byteAt(reply, 3), std::optional<int>(128));
    QVERIFY(!ReplyFields::byteAt(reply, 4));
    QVERIFY(!ReplyFields::byteAt(reply, 0));
}

void TestReplyFields::endsWithCloseBracket_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("expected");
    QTest::newRow("closed") << QByteArray("[abc]") << true;
    QTest::newRow("bracket alone") << QByteArray("]") << true;
    QTest::newRow("open bracket last") << QByteArray("[abc[") << false;
    QTest::newRow("line end last") << QByteArray("[abc]\r\n") << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void TestReplyFields::endsWithCloseBracket()
{
    QFETCH(QByteArray, reply);
    QFETCH(bool, expected);
    QCOMPARE(ReplyFields::endsWithCloseBracket(reply), expected);
}

QTEST_GUILESS_MAIN(TestReplyFields)
#include "tst_ReplyFields.moc"
