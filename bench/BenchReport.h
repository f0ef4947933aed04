// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

// The numbers of one benchmark run, their medians over several runs and the
// Markdown tables they end up in.
namespace bench {

// Measured values by name, e.g. "load_s" or "cpu_pct".
using RunValues = QMap<QString, double>;

// Names of the values a run reports.
namespace key {
inline const QString floor = QStringLiteral("floor_s");
inline const QString load = QStringLiteral("load_s");
inline const QString overhead = QStringLiteral("overhead_ms");
inline const QString overheadShare = QStringLiteral("overhead_pct");
inline const QString exchangeMedian = QStringLiteral("exchange_median_ms");
inline const QString exchangeMax = QStringLiteral("exchange_max_ms");
inline const QString exchangesTotal = QStringLiteral("exchanges_total_ms");
inline const QString timerLate = QStringLiteral("timer_late_ms");
inline const QString start = QStringLiteral("start_ms");
inline const QString window = QStringLiteral("window_ms");
inline const QString finish = QStringLiteral("finish_ms");
inline const QString requestWire = QStringLiteral("request_wire_ms");
inline const QString cpu = QStringLiteral("cpu_pct");
inline const QString cpuFetching = QStringLiteral("cpu_fetching_pct");
inline const QString peakRss = QStringLiteral("peak_rss_mb");
inline const QString listBuild = QStringLiteral("list_build_ms");
inline const QString exportAll = QStringLiteral("export_ms");
inline const QString scrollStep = QStringLiteral("scroll_step_ms");
} // namespace key

// One "name=value" line per value, the way a run hands its numbers over.
QByteArray formatValues(const RunValues &values);
// Lines that are not "name=number" are skipped.
RunValues parseValues(const QByteArray &text);

// The middle value; the mean of the two middle ones for an even count; 0 for none.
double median(QList<double> values);
// Each value's median over the runs that report it.
RunValues medianOf(const QList<RunValues> &runs);

// One line of the tables: a family, a file count and how the line was paced.
struct TableRow
{
    QString family;
    int files = 0;
    bool paced = true;
    int runs = 0;
    RunValues values;   // medians
    int adapterLatencyMs = 0; // through a simulated USB adapter with this latency timer
};

// Files, floor, load, overhead, CPU, memory, list build, export, scroll step.
QString resultTable(const QList<TableRow> &rows);
// Where the overhead of each load goes.
QString breakdownTable(const QList<TableRow> &rows);
// kestrix-download's runs: floor, download time, overhead and its parts.
QString commandLineTable(const QList<TableRow> &rows);

} // namespace bench
