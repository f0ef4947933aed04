// SPDX-License-Identifier: MIT
#include "FakeSerialLink.h"
#include "link/Exchange.h"

#include <QTest>

Q_DECLARE_METATYPE(ExchangeOutcome)

namespace {

// The contact meter's record: 37 bytes awaited, 38 read, "]" last.
const ReplyRule contactRecord{37, 38, true};

QByteArray bytes(int count, char last)
{
    return QByteArray(count - 1, 'x') + last;
}

} // namespace

class TestExchange : public QObject
{
    Q_OBJECT
private slots:
    void waitsForACompleteReply_data()
    {
        QTest::addColumn<QList<QByteArray>>("pieces");
        QTest::addColumn<ExchangeOutcome>("outcome");
        QTest::addColumn<QByteArray>("reply");

        QTest::newRow("whole reply at once") << QList<QByteArray>{bytes(38, ']')} << ExchangeOutcome::Reply
                                             << bytes(38, ']');
        QTest::newRow("exactly the awaited length is accepted")
            << QList<QByteArray>{bytes(37, ']')} << ExchangeOutcome::Reply << bytes(37, ']');
        QTest::newRow("one short is a time-out") << QList<QByteArray>{bytes(36, ']')} << ExchangeOutcome::TimedOut
                                                 << QByteArray();
        QTest::newRow("nothing is a time-out") << QList<QByteArray>{} << ExchangeOutcome::TimedOut << QByteArray();
        QTest::newRow("wrong end mark is garbled, what came is handed over")
            << QList<QByteArray>{bytes(38, '[')} << ExchangeOutcome::Garbled << bytes(38, '[');
        QTest::newRow("end mark after the awaited count is waited for")
            << QList<QByteArray>{QByteArray(37, 'x'), QByteArray("]")} << ExchangeOutcome::Reply
            << QByteArray(37, 'x') + ']';
        QTest::newRow("pieces are read as one reply")
            << QList<QByteArray>{QByteArray(10, 'a'), QByteArray(20, 'b'), QByteArray(7, 'c') + ']'}
            << ExchangeOutcome::Reply << QByteArray(10, 'a') + QByteArray(20, 'b') + QByteArray(7, 'c') + ']';
    }
    void waitsForACompleteReply()
    {
        QFETCH(QList<QByteArray>, pieces);
        QFETCH(ExchangeOutcome, outcome);
        QFETCH(QByteArray, reply);

        FakeSerialLink port;
        port.open();
        port.responder = [&](const QByteArray &) { return pieces; };
        Exchange exchange(port);
        QByteArray received;
        QCOMPARE(exchange.request("{110000}", contactRecord, WaitEvents::Ignored, &received), outcome);
        QCOMPARE(received, reply);
    }

    void staleBytesAreFlushedBeforeTheRequest()
    {
        FakeSerialLink port;
        port.open();
        port.received = "stale]";
        port.responder = [&](const QByteArray &request) {
            // The meter only answers once the request is on the wire, and by
            // then nothing old may be waiting.
            return port.received.isEmpty() && request == "{03}" ? QList<QByteArray>{"[0042]"} : QList<QByteArray>{};
        };
        Exchange exchange(port);
        QByteArray reply;
        QCOMPARE(exchange.request("{03}", ReplyRule{4, 5, false}, WaitEvents::Ignored, &reply),
                 ExchangeOutcome::Reply);
        QCOMPARE(reply, QByteArray("[0042]"));
        QCOMPARE(port.written, QList<QByteArray>{"{03}"});
    }

    void countReplyReadsOnToItsLastDigit()
    {
        // "{03}" is awaited at 4 bytes but the count stands in bytes 2 to 5.
        FakeSerialLink port;
        port.open();
        port.responder = [](const QByteArray &) { return QList<QByteArray>{"[004", "2]"}; };
        Exchange exchange(port);
        QByteArray reply;
        QCOMPARE(exchange.request("{03}", ReplyRule{4, 5, false}, WaitEvents::Ignored, &reply),
                 ExchangeOutcome::Reply);
        QVERIFY(reply.startsWith("[0042"));
    }

    void zeroAwaitedNeedsNothing()
    {
        // "{02}" with no heat-run-test files awaits 0 bytes.
        FakeSerialLink port;
        port.open();
        Exchange exchange(port);
        QByteArray reply = "old";
        QCOMPARE(exchange.request("{02}", ReplyRule{0, 0, false}, WaitEvents::Ignored, &reply),
                 ExchangeOutcome::Reply);
        QVERIFY(reply.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestExchange)
#include "tst_exchange.moc"
