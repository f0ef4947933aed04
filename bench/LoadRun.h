// SPDX-License-Identifier: MIT
#pragma once

#include "BenchReport.h"
#include "LoadSplit.h"
#include "MeterEmulator.h"

#include <QStringList>
#include <optional>

// One run of the benchmark: a fresh simulator, the real detection window and
// family window load against it, then the list, export and scroll timings.
namespace bench {

struct RunSpec
{
    QString family;      // winding, contact, ratio, cable
    int files = 100;
    bool paced = true;   // 19200 baud; else the simulator answers at once
    int adapterLatencyMs = 0; // through a USB adapter with this latency timer
};

// The simulator's command line for this run (without its log).
QStringList simArgumentsFor(const RunSpec &spec);

// The simulator's meter for that command line, to know every reply.
std::optional<sim::MeterEmulator> emulatedMeter(const QStringList &simArguments, QString *error);

// The fixed waits around each logged request of a load: the identification
// waits the probe time from the request on and pauses as long after it; the
// winding start-up pauses after its heat-run count and after the heat-run names.
QList<LinkExchange> linkExchanges(const QList<LoggedRequest> &requests, const sim::MeterEmulator &meter);

// Floor, load, overhead and its parts, as the tables show them.
void addLoadSplit(const LoadSplit &split, RunValues *values);

// Runs one load in this process (a QApplication must exist). Returns false
// with the reason when the load failed or showed other rows than the
// simulator holds.
bool runLoad(const RunSpec &spec, RunValues *values, QString *error);

} // namespace bench
