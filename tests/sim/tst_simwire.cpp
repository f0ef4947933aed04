// SPDX-License-Identifier: MIT
#include "ReplySchedule.h"
#include "RequestFramer.h"

#include <QTest>

using namespace sim;

class TestSimWire : public QObject
{
    Q_OBJECT

private slots:
    void framing_data()
    {
        QTest::addColumn<QByteArrayList>("chunks");
        QTest::addColumn<QByteArrayList>("requests");
        QTest::newRow("one") << QByteArrayList{"{00}"} << QByteArrayList{"{00}"};
        QTest::newRow("junk before") << QByteArrayList{"\r\nxx{03}"} << QByteArrayList{"{03}"};
        QTest::newRow("restart at brace") << QByteArrayList{"{0{00}"} << QByteArrayList{"{00}"};
        QTest::newRow("two in one read") << QByteArrayList{"{00}{03}"} << QByteArrayList{"{00}", "{03}"};
        QTest::newRow("split over reads") << QByteArrayList{"{11", "00", "07}"} << QByteArrayList{"{110007}"};
        QTest::newRow("stray close") << QByteArrayList{"}}{01}"} << QByteArrayList{"{01}"};
        QTest::newRow("overlong dropped") << QByteArrayList{"{" + QByteArray(40, '1') + "}{02}"} << QByteArrayList{"{02}"};
    }
    void framing()
    {
        QFETCH(QByteArrayList, chunks);
        QFETCH(QByteArrayList, requests);
        RequestFramer framer;
        QByteArrayList found;
        for (const QByteArray &chunk : chunks)
            found << framer.feed(chunk);
        QCOMPARE(found, requests);
    }

    void pacedBytesStandOnAnAbsoluteSchedule()
    {
        QCOMPARE(characterTimeNs(1), 520833);
        QCOMPARE(characterTimeNs(19200), 10'000'000'000);
        const QList<ScheduledWrite> writes = scheduleReply("[03]", 1000, Pacing{true, 5'000'000, 1, 0});
        QCOMPARE(writes.size(), 4);
        for (int k = 0; k < 4; ++k) {
            QCOMPARE(writes.at(k).bytes, QByteArray(1, "[03]"[k]));
            QCOMPARE(writes.at(k).dueNs, 1000 + 5'000'000 + characterTimeNs(k + 1));
        }
    }

    void unpacedPiecesWithGaps()
    {
        const QList<ScheduledWrite> writes = scheduleReply("[KX-C1]", 0, Pacing{false, 0, 3, 120'000'000});
        const QList<ScheduledWrite> expected = {{0, "[KX"}, {120'000'000, "-C"}, {240'000'000, "1]"}};
        QCOMPARE(writes, expected);
    }

    void pacedPiecesAddTheGapAfterTheLastByte()
    {
        const QList<ScheduledWrite> writes = scheduleReply("abcd", 0, Pacing{true, 0, 2, 1'000'000});
        QCOMPARE(writes.size(), 4);
        QCOMPARE(writes.at(1).dueNs, characterTimeNs(2));
        QCOMPARE(writes.at(2).dueNs, characterTimeNs(2) + 1'000'000 + characterTimeNs(1));
    }

    // A 16 ms adapter: what came in before a tick goes at the tick, a full
    // packet goes at once, the rest waits for the next tick.
    void adapterHoldsBytesUntilItsTimerFires()
    {
        constexpr qint64 ms = 1'000'000;
        const QList<ScheduledWrite> paced = scheduleReply("[0123456789]", 10 * ms, Pacing{});
        // Bytes due 10.5 ms to 16 ms go at 16 ms, the rest at 32 ms.
        const QList<ScheduledWrite> expected{{16 * ms, "[0123456789"}, {32 * ms, "]"}};
        QCOMPARE(throughAdapter(paced, 16 * ms), expected);

        const QByteArray longReply(100, 'x');
        const QList<ScheduledWrite> unpaced = scheduleReply(longReply, 3 * ms, Pacing{false});
        QCOMPARE(throughAdapter(unpaced, 16 * ms),
                 (QList<ScheduledWrite>{{3 * ms, QByteArray(adapterPacketBytes, 'x')},
                                        {16 * ms, QByteArray(100 - adapterPacketBytes, 'x')}}));
        QCOMPARE(throughAdapter(paced, 0), paced);
    }

    void morePiecesThanBytes()
    {
        const QList<ScheduledWrite> writes = scheduleReply("ab", 0, Pacing{false, 0, 5, 10});
        QCOMPARE(writes, (QList<ScheduledWrite>{{0, "a"}, {10, "b"}}));
        QVERIFY(scheduleReply(QByteArray(), 0, Pacing{}).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSimWire)
#include "tst_simwire.moc"
