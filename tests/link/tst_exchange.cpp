// SPDX-License-Identifier: MIT
#include "FakeSerialLink.h"
#include "link/Exchange.h"
#include "link/StopRequest.h"

#include <QTest>

Q_DECLARE_METATYPE(ExchangeOutcome)
Q_DECLARE_METATYPE(ReplyRule)

namespace {

// The contact meter's record: 37 bytes awaited, 38 read, "]" last.
const ReplyRule contactRecord{37, 38, true, 38};
// The cable meter's: 34 bytes with "]" last, or 35.
const ReplyRule cableRecord{34, 34, true, 35};

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
        StopRequest stop;
        Exchange exchange(port, stop);
        QByteArray received;
        QCOMPARE(exchange.request("{110000}", contactRecord, WaitEvents::Ignored, &received), outcome);
        QCOMPARE(received, reply);
    }

    // Two record exchanges in a row on a line with bytes that belong to no
    // request: each reply is the meter's own or is not handed over at all.
    void strayBytesNeverReachAReply_data()
    {
        QTest::addColumn<ReplyRule>("rule");
        QTest::addColumn<QList<QByteArray>>("firstPieces");
        QTest::addColumn<ExchangeOutcome>("firstOutcome");
        QTest::addColumn<QByteArray>("firstReply");
        QTest::addColumn<ExchangeOutcome>("secondOutcome"); // the second reply is always `second`
        QTest::addColumn<bool>("noisy");

        const QByteArray first = bytes(38, ']');
        const QByteArray cable35 = QByteArray(34, '\x5d') + ']'; // raw bytes may be "]" too

        QTest::newRow("clean line") << contactRecord << QList<QByteArray>{first} << ExchangeOutcome::Reply << first
                                    << ExchangeOutcome::Reply << false;
        QTest::newRow("CR LF behind the reply") << contactRecord << QList<QByteArray>{first + "\r\n"}
                                                << ExchangeOutcome::Reply << first << ExchangeOutcome::Reply << true;
        QTest::newRow("CR LF arriving after the reply")
            << contactRecord << QList<QByteArray>{first, "\r", "\n"} << ExchangeOutcome::Reply << first
            << ExchangeOutcome::Reply << true;
        QTest::newRow("reply sent twice at once") << contactRecord << QList<QByteArray>{first + first}
                                                  << ExchangeOutcome::Reply << first << ExchangeOutcome::Reply << true;
        QTest::newRow("reply sent twice, the copy late")
            << contactRecord << QList<QByteArray>{first, first} << ExchangeOutcome::Reply << first
            << ExchangeOutcome::Reply << true;
        QTest::newRow("junk before the reply") << contactRecord << QList<QByteArray>{"\r\n" + first}
                                               << ExchangeOutcome::Garbled << "\r\n" + first
                                               << ExchangeOutcome::Reply << true;
        QTest::newRow("junk with an end mark before the reply")
            << contactRecord << QList<QByteArray>{"JUNK]" + first} << ExchangeOutcome::Garbled << "JUNK]" + first
            << ExchangeOutcome::Reply << true;
        QTest::newRow("cable reply of 35 bytes")
            << cableRecord << QList<QByteArray>{bytes(35, ']')} << ExchangeOutcome::Reply << bytes(35, ']')
            << ExchangeOutcome::Reply << false;
        QTest::newRow("cable reply of 34 bytes, one more behind it")
            << cableRecord << QList<QByteArray>{bytes(34, ']') + "x"} << ExchangeOutcome::Reply << bytes(34, ']')
            << ExchangeOutcome::Reply << true;
        QTest::newRow("cable reply of 36 bytes") << cableRecord << QList<QByteArray>{bytes(36, 'x') + ']'}
                                                 << ExchangeOutcome::Garbled << bytes(36, 'x') + ']'
                                                 << ExchangeOutcome::Reply << true;
        QTest::newRow("cable raw bytes that look like end marks")
            << cableRecord << QList<QByteArray>{cable35} << ExchangeOutcome::Reply << cable35.left(34)
            << ExchangeOutcome::Reply << true;
    }
    void strayBytesNeverReachAReply()
    {
        QFETCH(ReplyRule, rule);
        QFETCH(QList<QByteArray>, firstPieces);
        QFETCH(ExchangeOutcome, firstOutcome);
        QFETCH(QByteArray, firstReply);
        QFETCH(ExchangeOutcome, secondOutcome);
        QFETCH(bool, noisy);

        const QByteArray second = QByteArray(rule.needed - 1, 's') + ']';
        FakeSerialLink port;
        port.open();
        int requests = 0;
        port.responder = [&](const QByteArray &) {
            return ++requests == 1 ? firstPieces : QList<QByteArray>{second};
        };
        StopRequest stop;
        Exchange exchange(port, stop);
        QByteArray received;
        QCOMPARE(exchange.request("{110000}", rule, WaitEvents::Ignored, &received), firstOutcome);
        QCOMPARE(received, firstReply);
        QCOMPARE(exchange.request("{110001}", rule, WaitEvents::Ignored, &received), secondOutcome);
        QCOMPARE(received, second);
        QCOMPARE(exchange.lineNoisy(), noisy);
    }

    void bytesFromBeforeTheRequestNeverReachItsReply()
    {
        FakeSerialLink port;
        port.open();
        port.received = bytes(38, ']'); // a whole reply left from before
        const QByteArray fresh = QByteArray(37, 's') + ']';
        port.responder = [&](const QByteArray &) { return QList<QByteArray>{fresh}; };
        StopRequest stop;
        Exchange exchange(port, stop);
        QByteArray received;
        QCOMPARE(exchange.request("{110000}", contactRecord, WaitEvents::Ignored, &received), ExchangeOutcome::Reply);
        QCOMPARE(received, fresh);
    }

    // Only a time-out in which no byte came, on a line that was quiet before
    // the request, shows that no earlier reply is still on its way.
    void aTimeOutProvesTheLineQuietOnlyWithoutBytes_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QList<QByteArray>>("pieces");
        QTest::addColumn<bool>("quiet");
        QTest::newRow("nothing at all") << QByteArray() << QList<QByteArray>{} << true;
        QTest::newRow("part of a reply") << QByteArray() << QList<QByteArray>{QByteArray(10, 'x')} << false;
        QTest::newRow("bytes before the request") << QByteArray("[late]") << QList<QByteArray>{} << false;
    }
    void aTimeOutProvesTheLineQuietOnlyWithoutBytes()
    {
        QFETCH(QByteArray, before);
        QFETCH(QList<QByteArray>, pieces);
        QFETCH(bool, quiet);
        FakeSerialLink port;
        port.open();
        port.received = before;
        port.responder = [&](const QByteArray &) { return pieces; };
        StopRequest stop;
        Exchange exchange(port, stop);
        QByteArray received;
        QCOMPARE(exchange.request("{110000}", contactRecord, WaitEvents::Ignored, &received),
                 ExchangeOutcome::TimedOut);
        QCOMPARE(exchange.lineProvedQuiet(), quiet);
    }

    void aSecondReplyWhileOneIsConfirmedPutsItInDoubt()
    {
        FakeSerialLink port;
        port.open();
        const QByteArray reply = bytes(38, ']');
        port.responder = [&](const QByteArray &) { return QList<QByteArray>{reply, "", QByteArray(37, 'o') + ']'}; };
        StopRequest stop;
        Exchange exchange(port, stop);
        QByteArray received;
        QCOMPARE(exchange.request("{110000}", contactRecord, WaitEvents::Ignored, &received, Exchange::Trust::Confirmed),
                 ExchangeOutcome::Suspect);
    }

    void doubtIsJudgedPerExchange()
    {
        FakeSerialLink port;
        port.open();
        port.responder = [](const QByteArray &) { return QList<QByteArray>{bytes(38, ']')}; };
        port.received = "[late reply]"; // before the first request
        StopRequest stop;
        Exchange exchange(port, stop);
        QByteArray received;
        QCOMPARE(exchange.request("{110000}", contactRecord, WaitEvents::Ignored, &received), ExchangeOutcome::Reply);
        QVERIFY(exchange.earlierReplyInDoubt());
        QCOMPARE(exchange.request("{110001}", contactRecord, WaitEvents::Ignored, &received), ExchangeOutcome::Reply);
        QVERIFY(!exchange.earlierReplyInDoubt());
    }

    void noiseWhileAReplyIsConfirmedMakesTheLineNoisy()
    {
        FakeSerialLink port;
        port.open();
        const QByteArray reply = bytes(38, ']');
        port.responder = [&](const QByteArray &) { return QList<QByteArray>{reply, "", "\r\n"}; };
        StopRequest stop;
        Exchange exchange(port, stop);
        QByteArray received;
        QCOMPARE(exchange.request("{110000}", contactRecord, WaitEvents::Ignored, &received, Exchange::Trust::Confirmed),
                 ExchangeOutcome::Reply);
        QCOMPARE(received, reply);
        QVERIFY(exchange.lineNoisy());
    }

    void aLineCountsAsCleanAgainAfterARunOfCleanExchanges()
    {
        FakeSerialLink port;
        port.open();
        int requests = 0;
        port.responder = [&](const QByteArray &) {
            const QByteArray reply = bytes(38, ']');
            return ++requests == 1 ? QList<QByteArray>{reply + "\r\n"} : QList<QByteArray>{reply};
        };
        StopRequest stop;
        Exchange exchange(port, stop);
        QByteArray received;
        QCOMPARE(exchange.request("{110000}", contactRecord, WaitEvents::Ignored, &received), ExchangeOutcome::Reply);
        for (int clean = 1; clean <= Exchange::cleanExchangesToCalm; ++clean) {
            QVERIFY(exchange.lineNoisy());
            QCOMPARE(exchange.request("{110001}", contactRecord, WaitEvents::Ignored, &received),
                     ExchangeOutcome::Reply);
        }
        QVERIFY(!exchange.lineNoisy());
    }

    void aReplyWithoutEndMarkIsReadWhole()
    {
        // The heat-run-test names are awaited at 18 bytes a slot; the reply's
        // closing bytes that follow are part of it, not stray bytes.
        FakeSerialLink port;
        port.open();
        const QByteArray names = "[" + QByteArray(18, 'n') + "]";
        port.responder = [&](const QByteArray &) { return QList<QByteArray>{names.left(19), names.mid(19)}; };
        StopRequest stop;
        Exchange exchange(port, stop);
        QByteArray received;
        QCOMPARE(exchange.request("{02}", ReplyRule{18, 19, false}, WaitEvents::Ignored, &received),
                 ExchangeOutcome::Reply);
        QCOMPARE(received, names);
        QVERIFY(!exchange.lineNoisy());
    }

    void aLineThatNeverFallsQuietCarriesNoReply()
    {
        FakeSerialLink port;
        port.open();
        port.responder = [](const QByteArray &) { return QList<QByteArray>{bytes(38, ']')}; };
        port.received = "#";
        port.noise = "#";
        StopRequest stop;
        Exchange exchange(port, stop);
        QByteArray received;
        QCOMPARE(exchange.request("{110000}", contactRecord, WaitEvents::Ignored, &received), ExchangeOutcome::Garbled);
        QVERIFY(exchange.lineNoisy());
    }

    void aLostDeviceIsToldApart()
    {
        FakeSerialLink port;
        port.open();
        port.lost = true;
        StopRequest stop;
        Exchange exchange(port, stop);
        QByteArray received;
        QCOMPARE(exchange.request("{110000}", contactRecord, WaitEvents::Ignored, &received), ExchangeOutcome::Lost);
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
        StopRequest stop;
        Exchange exchange(port, stop);
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
        StopRequest stop;
        Exchange exchange(port, stop);
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
        StopRequest stop;
        Exchange exchange(port, stop);
        QByteArray reply = "old";
        QCOMPARE(exchange.request("{02}", ReplyRule{0, 0, false}, WaitEvents::Ignored, &reply),
                 ExchangeOutcome::Reply);
        QVERIFY(reply.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestExchange)
#include "tst_exchange.moc"
