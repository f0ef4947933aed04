// SPDX-License-Identifier: MIT
#pragma once

#include "LoadRun.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace bench {

// The command line of kestrix-bench.
struct BenchOptions
{
    int runs = 3;                 // runs per table row; the table shows medians
    bool quick = false;           // CI: a few files, unpaced, one run
    QStringList families{QStringLiteral("winding"), QStringLiteral("contact"), QStringLiteral("ratio"),
                         QStringLiteral("cable")};
    int files = 0;                // 0: the standard plan
    bool unpaced = false;         // with --files
    bool commandLine = false;     // time kestrix-download instead of the window
    int adapterLatencyMs = 0;     // the simulator acts as a USB adapter with this latency timer
    bool worker = false;          // internal: one run in this process, numbers on stdout
    bool help = false;
    QString error;                // empty when the command line is good
};

// `arguments` without the program name.
BenchOptions parseBenchOptions(const QStringList &arguments);

// The runs the options ask for, one table row each. The standard plan: 100
// files at 19200 baud for every family, then 9999 files unpaced for the
// winding and the cable meter. --quick: 42 files unpaced for every family (a
// scroll bar shows from 41 on, so every measurement runs).
QList<RunSpec> runPlan(const BenchOptions &options);

// The worker's command line for one run.
QStringList workerArguments(const RunSpec &spec);

QString benchHelpText();

} // namespace bench
