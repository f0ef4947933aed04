// SPDX-License-Identifier: MIT
// The benchmark's arithmetic: where the floor ends and the program's own
// time begins, medians, the hand-over between runs, the table and the plan.
#include "BenchOptions.h"
#include "BenchReport.h"
#include "LoadSplit.h"
#include "ReplySchedule.h"

#include <QTest>

using namespace bench;

Q_DECLARE_METATYPE(bench::LinkExchange)
Q_DECLARE_METATYPE(bench::Link)

namespace {

constexpr qint64 ms = 1'000'000;
constexpr qint64 second = 1000 * ms;

LinkExchange identification(qint64 arrival)
{
    return LinkExchange{arrival, 4, 7, second, second};
}

LinkExchange plain(qint64 arrival, int requestBytes, int replyBytes)
{
    return LinkExchange{arrival, requestBytes, replyBytes, 0, 0};
}

} // namespace

class TestBenchMath : public QObject
{
    Q_OBJECT
private slots:
    void requestLogLines_data()
    {
        QTest::addColumn<QByteArray>("log");
        QTest::addColumn<QList<LoggedRequest>>("expected");
        QTest::newRow("two requests") << QByteArray("100 {00}\n250 {110007}\n")
                                      << QList<LoggedRequest>{{100, "{00}"}, {250, "{110007}"}};
        QTest::newRow("no final line end") << QByteArray("7 {03}") << QList<LoggedRequest>{{7, "{03}"}};
        QTest::newRow("junk skipped") << QByteArray("\nabc {00}\n {01}\n42 {02}\n")
                                      << QList<LoggedRequest>{{42, "{02}"}};
        QTest::newRow("empty") << QByteArray() << QList<LoggedRequest>{};
    }
    void requestLogLines()
    {
        QFETCH(QByteArray, log);
        QFETCH(QList<LoggedRequest>, expected);
        QCOMPARE(parseRequestLog(log), expected);
    }

    void exchangeFloor_data()
    {
        QTest::addColumn<LinkExchange>("exchange");
        QTest::addColumn<Link>("link");
        QTest::addColumn<qint64>("onPty");
        QTest::addColumn<qint64>("onLine");
        const Link paced{true, 0};
        QTest::newRow("record, paced") << plain(0, 8, 35) << paced << sim::characterTimeNs(35)
                                       << sim::characterTimeNs(8) + sim::characterTimeNs(35);
        QTest::newRow("record, latency") << plain(0, 8, 35) << Link{true, 3 * ms} << 3 * ms + sim::characterTimeNs(35)
                                         << 3 * ms + sim::characterTimeNs(8) + sim::characterTimeNs(35);
        QTest::newRow("record, unpaced") << plain(0, 8, 35) << Link{false, 0} << qint64(0) << qint64(0);
        QTest::newRow("identification: reply inside its wait")
            << identification(0) << paced << 2 * second << 2 * second;
        QTest::newRow("winding count, then the pause")
            << LinkExchange{0, 4, 4, 0, second} << paced << second + sim::characterTimeNs(4)
            << second + 2 * sim::characterTimeNs(4);
    }
    void exchangeFloor()
    {
        QFETCH(LinkExchange, exchange);
        QFETCH(Link, link);
        QFETCH(qint64, onPty);
        QFETCH(qint64, onLine);
        QCOMPARE(exchangeFloorNs(exchange, link, false), onPty);
        QCOMPARE(exchangeFloorNs(exchange, link, true), onLine);
    }

    void loadSplitsIntoItsParts()
    {
        // Timer armed at 0; the identification 3 ms after the timer; the
        // count 20 ms after the identification's two seconds; two records,
        // each asked for 0.4 ms after the previous reply was in; shown 5 ms
        // after the last reply.
        const Link link{true, 0};
        const qint64 timer = 500 * ms;
        const qint64 id = timer + 3 * ms;
        const qint64 count = id + 2 * second + 20 * ms;
        const qint64 record1 = count + sim::characterTimeNs(6) + 400'000;
        const qint64 record2 = record1 + sim::characterTimeNs(35) + 400'000;
        const qint64 shown = record2 + sim::characterTimeNs(35) + 5 * ms;
        const QList<LinkExchange> exchanges{identification(id), plain(count, 4, 6), plain(record1, 8, 35),
                                            plain(record2, 8, 35)};

        const LoadSplit split = splitLoad(0, timer, exchanges, shown, link);

        QCOMPARE(split.loadNs, shown);
        QCOMPARE(split.startNs, 3 * ms);
        QCOMPARE(split.windowNs, 20 * ms);
        QCOMPARE(split.exchangeGapsNs, (QList<qint64>{400'000, 400'000}));
        QCOMPARE(split.finishNs, 5 * ms);
        const qint64 requestWire = sim::characterTimeNs(4) + 2 * sim::characterTimeNs(8);
        QCOMPARE(split.requestWireNs, requestWire);
        QCOMPARE(split.floorNs,
                 timer + 2 * second + sim::characterTimeNs(6) + 2 * sim::characterTimeNs(35) + requestWire);
        QCOMPARE(split.overheadNs, 3 * ms + 20 * ms + 800'000 + 5 * ms);
        QCOMPARE(split.overheadNs, split.loadNs - (split.floorNs - split.requestWireNs));
    }

    void windingPausesAreFloorNotOverhead()
    {
        const Link link{false, 0};
        const qint64 id = 500 * ms;
        const QList<LinkExchange> exchanges{identification(id), LinkExchange{id + 2 * second, 4, 4, 0, second},
                                            LinkExchange{id + 3 * second + ms, 4, 57, 0, second},
                                            plain(id + 4 * second + 2 * ms, 4, 6)};
        const LoadSplit split = splitLoad(0, 500 * ms, exchanges, id + 4 * second + 2 * ms, link);
        QCOMPARE(split.floorNs, 500 * ms + 4 * second);
        QCOMPARE(split.exchangeGapsNs, (QList<qint64>{ms, ms}));
        QCOMPARE(split.overheadNs, 2 * ms);
    }

    void noExchangesIsAllStart()
    {
        const LoadSplit split = splitLoad(10, 500 * ms, {}, 10 + 600 * ms, Link{});
        QCOMPARE(split.overheadNs, 100 * ms);
        QCOMPARE(split.startNs, 100 * ms);
        QVERIFY(split.exchangeGapsNs.isEmpty());
    }

    void medians_data()
    {
        QTest::addColumn<QList<double>>("values");
        QTest::addColumn<double>("expected");
        QTest::newRow("odd, unsorted") << QList<double>{5, 1, 3} << 3.0;
        QTest::newRow("even") << QList<double>{4, 1, 3, 2} << 2.5;
        QTest::newRow("one") << QList<double>{7} << 7.0;
        QTest::newRow("none") << QList<double>{} << 0.0;
    }
    void medians()
    {
        QFETCH(QList<double>, values);
        QFETCH(double, expected);
        QCOMPARE(median(values), expected);
    }

    void valuesCrossBetweenProcesses()
    {
        const RunValues values{{key::load, 4.8123456789}, {key::cpu, 0.25}, {key::scrollStep, 0.0421}};
        QCOMPARE(parseValues(formatValues(values)), values);
        QCOMPARE(parseValues("load_s=1.5\nnoise\ncpu_pct=abc\n=3\n"), (RunValues{{key::load, 1.5}}));
    }

    void mediansPerValue()
    {
        const QList<RunValues> runs{{{key::load, 3}, {key::cpu, 1}}, {{key::load, 1}}, {{key::load, 2}, {key::cpu, 3}}};
        QCOMPARE(medianOf(runs), (RunValues{{key::load, 2}, {key::cpu, 2}}));
    }

    void resultTableLine()
    {
        const RunValues values{{key::floor, 4.7}, {key::load, 4.75}, {key::overhead, 50}, {key::overheadShare, 1.0638},
                               {key::exchangeMedian, 0.25}, {key::exchangeMax, 1.5}, {key::cpu, 0.8}, {key::cpuFetching, 0.5},
                               {key::peakRss, 61.24}, {key::listBuild, 0.5}, {key::exportAll, 1.25}};
        const QString table = resultTable({TableRow{QStringLiteral("cable"), 100, true, 3, values}});
        const QStringList lines = table.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines[0].startsWith(QLatin1String("| Family | Files | Line | Runs | Floor (s) |")));
        QCOMPARE(lines[1].count(QLatin1Char('|')), lines[0].count(QLatin1Char('|')));
        QCOMPARE(lines[2], QStringLiteral("| cable | 100 | 19200 baud | 3 | 4.700 | 4.750 | 50.0 | 1.06 % | "
                                          "0.250 / 1.500 | 0.80 / 0.50 | 61.2 | 0.50 | 1.25 | – |"));
    }

    void breakdownTableLine()
    {
        const RunValues values{{key::timerLate, -1.5}, {key::start, 3}, {key::window, 20.5}, {key::exchangesTotal, 12.26}, {key::finish, 5},
                               {key::requestWire, 417.7}};
        const QString table = breakdownTable({TableRow{QStringLiteral("winding"), 9999, false, 1, values}});
        QCOMPARE(table.split(QLatin1Char('\n'), Qt::SkipEmptyParts).last(),
                 QStringLiteral("| winding | 9999 | unpaced | -1.50 | 3.00 | 20.50 | 12.3 | 5.00 | 417.7 |"));
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("good");
        QTest::addColumn<QStringList>("plan"); // "family/files/paced"
        QTest::newRow("standard plan") << QStringList{} << true
                                       << QStringList{"winding/100/1", "contact/100/1", "ratio/100/1", "cable/100/1",
                                                      "winding/9999/0", "cable/9999/0"};
        QTest::newRow("families") << QStringList{"--families", "cable,ratio"} << true
                                  << QStringList{"cable/100/1", "ratio/100/1", "cable/9999/0"};
        QTest::newRow("quick") << QStringList{"--quick", "--families", "contact"} << true
                               << QStringList{"contact/42/0"};
        QTest::newRow("files unpaced") << QStringList{"--files", "500", "--unpaced", "--families", "winding"} << true
                                       << QStringList{"winding/500/0"};
        QTest::newRow("worker") << QStringList{"--worker", "--families", "ratio", "--files", "7"} << true
                                << QStringList{"ratio/7/1"};
        QTest::newRow("worker needs one family") << QStringList{"--worker", "--files", "7"} << false << QStringList{};
        QTest::newRow("unknown family") << QStringList{"--families", "scale"} << false << QStringList{};
        QTest::newRow("too many files") << QStringList{"--files", "10000"} << false << QStringList{};
        QTest::newRow("runs missing") << QStringList{"--runs"} << false << QStringList{};
        QTest::newRow("unpaced alone") << QStringList{"--unpaced"} << false << QStringList{};
        QTest::newRow("unknown option") << QStringList{"--fast"} << false << QStringList{};
    }
    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, good);
        QFETCH(QStringList, plan);
        const BenchOptions options = parseBenchOptions(arguments);
        QCOMPARE(options.error.isEmpty(), good);
        if (!good)
            return;
        QStringList planned;
        for (const RunSpec &spec : runPlan(options))
            planned << QStringLiteral("%1/%2/%3").arg(spec.family).arg(spec.files).arg(spec.paced ? 1 : 0);
        QCOMPARE(planned, plan);
    }

    void workerGetsTheRunBack()
    {
        const RunSpec spec{QStringLiteral("cable"), 9999, false};
        const QList<RunSpec> plan = runPlan(parseBenchOptions(workerArguments(spec)));
        QCOMPARE(plan.size(), 1);
        QCOMPARE(plan.first().family, spec.family);
        QCOMPARE(plan.first().files, spec.files);
        QCOMPARE(plan.first().paced, spec.paced);
        QCOMPARE(parseBenchOptions({QStringLiteral("--runs"), QStringLiteral("5")}).runs, 5);
    }
};

QTEST_GUILESS_MAIN(TestBenchMath)
#include "tst_benchmath.moc"
