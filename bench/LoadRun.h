// SPDX-License-Identifier: MIT
#pragma once

#include "BenchReport.h"

#include <QStringList>

// One run of the benchmark: a fresh simulator, the real detection window and
// family window load against it, then the list, export and scroll timings.
namespace bench {

struct RunSpec
{
    QString family;      // winding, contact, ratio, cable
    int files = 100;
    bool paced = true;   // 19200 baud; else the simulator answers at once
};

// The simulator's command line for this run (without its log).
QStringList simArgumentsFor(const RunSpec &spec);

// Runs one load in this process (a QApplication must exist). Returns false
// with the reason when the load failed or showed other rows than the
// simulator holds.
bool runLoad(const RunSpec &spec, RunValues *values, QString *error);

} // namespace bench
