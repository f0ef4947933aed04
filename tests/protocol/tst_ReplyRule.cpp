// SPDX-License-Identifier: MIT
#include "protocol/ReplyRule.h"

#include <QTest>

Q_DECLARE_METATYPE(ReplyRule)

// How long the reply at the front of what came is: complete (stop waiting) and
// acceptable (decode it once the wait is over), at the exact bounds.
class TestReplyRule : public QObject
{
    Q_OBJECT
private slots:
    void lengths_data()
    {
        QTest::addColumn<ReplyRule>("rule");
        QTest::addColumn<QByteArray>("received");
        QTest::addColumn<int>("complete");
        QTest::addColumn<int>("acceptable");

        const ReplyRule names{18, 19, false};
        const ReplyRule contact{37, 38, true, 38};
        const int none = ReplyRule::none;
        QTest::newRow("no end mark, awaited") << names << QByteArray(18, 'n') << none << 18;
        QTest::newRow("no end mark, needed") << names << QByteArray(19, 'n') << 19 << 19;
        QTest::newRow("no end mark, one short") << names << QByteArray(17, 'n') << none << none;
        QTest::newRow("end mark at the awaited length") << contact << QByteArray(36, 'x') + ']' << none << 37;
        QTest::newRow("end mark at the needed length") << contact << QByteArray(37, 'x') + ']' << 38 << 38;
        QTest::newRow("end mark one short") << contact << QByteArray(35, 'x') + ']' << none << none;
        QTest::newRow("end mark beyond the longest") << contact << QByteArray(38, 'x') + ']' << none << none;
        QTest::newRow("no end mark at all") << contact << QByteArray(38, 'x') << none << none;
    }
    void lengths()
    {
        QFETCH(ReplyRule, rule);
        QFETCH(QByteArray, received);
        QFETCH(int, complete);
        QFETCH(int, acceptable);
        QCOMPARE(rule.completeLength(received), complete);
        QCOMPARE(rule.acceptableLength(received), acceptable);
    }
};

QTEST_GUILESS_MAIN(TestReplyRule)
#include "tst_ReplyRule.moc"
