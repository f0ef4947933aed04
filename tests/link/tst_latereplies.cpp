// SPDX-License-Identifier: MIT
// A late or repeated reply looks exactly like a fresh one: whatever the line
// does, each record is handed over as its own file's reply or as failed.
#include "FakeSerialLink.h"
#include "link/MeterLoad.h"
#include "link/StopRequest.h"

#include <QTest>

#include <functional>

namespace {

constexpr int files = 5;

// Every slot's record differs, so a reply given for the wrong slot shows.
QByteArray record(int index)
{
    return "[" + QByteArray::number(index).rightJustified(4, '0') + QByteArray(32, 'x') + "]";
}

struct Told
{
    int index;
    ExchangeOutcome outcome;
    QByteArray reply;
};

class Recorder : public MeterLoad::Listener
{
public:
    QList<Told> told;
    void fileCountRead(int, const RecordFormat &) override { }
    bool beforeRecord(int, int) override { return true; }
    MeterLoad::Step recordFetched(int index, ExchangeOutcome outcome, const QByteArray &reply) override
    {
        told.append({index, outcome, reply});
        return MeterLoad::Step::GoOn;
    }
};

// The pieces the meter sends for slot `index` when asked for the `asked`-th time (from 1).
using Script = std::function<QList<QByteArray>(int index, int asked)>;

const QStringList cleanRequests{"{03}", "{110000}", "{110001}", "{110002}", "{110003}", "{110004}"};

} // namespace

Q_DECLARE_METATYPE(Script)

class TestLateReplies : public QObject
{
    Q_OBJECT
private slots:
    void everyRecordIsItsOwnOrFailed_data()
    {
        QTest::addColumn<Script>("script");
        QTest::addColumn<QList<int>>("failed");
        QTest::addColumn<bool>("requestsAsOnACleanLine");

        const auto each = [](std::function<QList<QByteArray>(int)> pieces) {
            return Script([pieces](int index, int) { return pieces(index); });
        };
        QTest::newRow("clean line") << each([](int i) { return QList<QByteArray>{record(i)}; }) << QList<int>{}
                                    << true;
        QTest::newRow("CR LF behind every reply")
            << each([](int i) { return QList<QByteArray>{record(i) + "\r\n"}; }) << QList<int>{} << true;
        QTest::newRow("CR LF behind replies that are all alike (empty slots)")
            << each([](int) { return QList<QByteArray>{record(9) + "\r\n"}; }) << QList<int>{} << true;
        QTest::newRow("a record cut off mid-load")
            << each([](int i) { return QList<QByteArray>{i == 2 ? record(i).left(20) : record(i)}; }) << QList<int>{2}
            << true;
        QTest::newRow("every reply twice at once")
            << each([](int i) { return QList<QByteArray>{record(i) + record(i)}; }) << QList<int>{} << false;
        QTest::newRow("every reply again after a pause")
            << each([](int i) { return QList<QByteArray>{record(i), "", record(i)}; }) << QList<int>{} << false;
        QTest::newRow("every reply again after a pause, two slots alike")
            << each([](int i) {
                   const QByteArray reply = i == 1 || i == 2 ? record(9) : record(i);
                   return QList<QByteArray>{reply, "", reply};
               })
            << QList<int>{} << false;
        QTest::newRow("junk with an end mark behind every reply")
            << each([](int i) { return QList<QByteArray>{record(i) + "JUNK]"}; }) << QList<int>{} << false;
        QTest::newRow("a reply comes just after its time-out")
            << each([](int i) { return i == 2 ? QList<QByteArray>{"", "", record(i)} : QList<QByteArray>{record(i)}; })
            << QList<int>{2} << false;
        QTest::newRow("a late reply ahead of the next slot's, a pause apart")
            << Script([](int i, int asked) {
                   if (i == 2 && asked == 1)
                       return QList<QByteArray>{""};
                   if (i == 3 && asked == 1)
                       return QList<QByteArray>{record(2), "", record(3)};
                   return QList<QByteArray>{record(i)};
               })
            << QList<int>{2} << false;
        // The meter falls one reply behind after a time-out and stays there:
        // each reply lands alone in the next slot's wait, the last one only
        // once the load is over.
        QTest::newRow("every reply one slot late after a time-out")
            << Script([](int i, int asked) {
                   if (asked > 1)
                       return QList<QByteArray>{record(i)};
                   if (i == 2)
                       return QList<QByteArray>{""};
                   if (i == files - 1)
                       return QList<QByteArray>{record(i - 1), "", record(i)};
                   return i > 2 ? QList<QByteArray>{record(i - 1)} : QList<QByteArray>{record(i)};
               })
            << QList<int>{2} << false;
        // Once a time-out has put every record alone, a reply just like the
        // one before is asked for again when its window has closed.
        QTest::newRow("after a time-out, the reply before again in place of the next")
            << Script([](int i, int asked) {
                   if (i == 1 && asked == 1)
                       return QList<QByteArray>{""};
                   return QList<QByteArray>{i == 3 && asked == 1 ? record(2) : record(i)};
               })
            << QList<int>{1} << false;
        QTest::newRow("a reply behind the last record")
            << Script([](int i, int asked) {
                   return i == files - 1 && asked == 1 ? QList<QByteArray>{record(i), "", record(1)}
                                                       : QList<QByteArray>{record(i)};
               })
            << QList<int>{} << false;
    }
    void everyRecordIsItsOwnOrFailed()
    {
        QFETCH(Script, script);
        QFETCH(QList<int>, failed);
        QFETCH(bool, requestsAsOnACleanLine);

        FakeSerialLink port;
        port.open();
        QHash<int, int> asked;
        port.responder = [&](const QByteArray &request) {
            if (request == "{03}")
                return QList<QByteArray>{"[" + QByteArray::number(files).rightJustified(4, '0') + "]"};
            const int index = request.mid(3, 4).toInt();
            return script(index, ++asked[index]);
        };
        StopRequest stop;
        Exchange exchange(port, stop);
        Recorder recorder;
        QCOMPARE(MeterLoad::load(MeterFamily::Contact, exchange, stop, recorder).end, MeterLoad::End::Completed);

        QList<int> failedNow;
        QList<int> toldOf;
        for (const Told &told : recorder.told) {
            toldOf << told.index;
            if (told.outcome != ExchangeOutcome::Reply)
                failedNow << told.index;
            // record(9) stands for the empty slot of the row whose slots are all alike.
            else if (told.reply != record(9))
                QCOMPARE(told.reply, record(told.index));
        }
        QCOMPARE(toldOf, (QList<int>{0, 1, 2, 3, 4})); // each once, in order
        QCOMPARE(failedNow, failed);
        QStringList requests;
        for (const QByteArray &request : port.written)
            requests << QString::fromLatin1(request);
        if (requestsAsOnACleanLine)
            QCOMPARE(requests, cleanRequests);
    }

    void aStopBeforeARecordEndsTheLoadThere()
    {
        FakeSerialLink port;
        port.open();
        port.responder = [](const QByteArray &request) {
            return QList<QByteArray>{request == "{03}" ? QByteArray("[0005]") : record(request.mid(3, 4).toInt())};
        };
        StopRequest stop;
        Exchange exchange(port, stop);
        struct StopAtTwo : Recorder
        {
            StopRequest *stop = nullptr;
            bool beforeRecord(int index, int) override
            {
                if (index == 2)
                    stop->request();
                return true;
            }
        } recorder;
        recorder.stop = &stop;
        const MeterLoad::Result result = MeterLoad::load(MeterFamily::Contact, exchange, stop, recorder);
        QCOMPARE(result.end, MeterLoad::End::Ended);
        QCOMPARE(result.stoppedAt, 2);
        QCOMPARE(port.written.size(), 3); // the count and two records
    }

    void aHeatRunFileIsItsSlotsOrFailed_data()
    {
        QTest::addColumn<QList<QByteArray>>("firstPieces");
        QTest::addColumn<QByteArray>("firstContent"); // empty: failed

        QTest::newRow("on time") << QList<QByteArray>{"[one]"} << QByteArray("one\r\n");
        QTest::newRow("comes just after the wait, read as its own")
            << QList<QByteArray>{"", "", "[one]"} << QByteArray("one\r\n");
        QTest::newRow("still arriving when the wait ends")
            << QList<QByteArray>{"[o", "", "ne]"} << QByteArray("one\r\n");
        QTest::newRow("sent twice") << QList<QByteArray>{"[one]", "[one]"} << QByteArray("one\r\n");
        QTest::newRow("junk behind it") << QList<QByteArray>{"[one]", "x"} << QByteArray();
        QTest::newRow("longer than the port holds")
            << QList<QByteArray>{"[" + QByteArray(MeterLoad::longestHeatRunReply, 'a') + "]"} << QByteArray();
    }
    void aHeatRunFileIsItsSlotsOrFailed()
    {
        QFETCH(QList<QByteArray>, firstPieces);
        QFETCH(QByteArray, firstContent);

        FakeSerialLink port;
        port.open();
        port.responder = [&](const QByteArray &request) {
            return request == "{1001}" ? firstPieces : QList<QByteArray>{"[two]"};
        };
        StopRequest stop;
        MeterTiming timing;
        timing.heatRunWaitMs = 1;
        Exchange exchange(port, stop, timing);
        QByteArray content;
        const ExchangeOutcome first = MeterLoad::fetchHeatRun(exchange, 0, &content);
        QCOMPARE(first == ExchangeOutcome::Reply, !firstContent.isEmpty());
        QCOMPARE(content, firstContent);
        QCOMPARE(MeterLoad::fetchHeatRun(exchange, 1, &content), ExchangeOutcome::Reply);
        QCOMPARE(content, QByteArray("two\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestLateReplies)
#include "tst_latereplies.moc"
