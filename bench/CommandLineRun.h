// SPDX-License-Identifier: MIT
#pragma once

#include "BenchReport.h"
#include "LoadRun.h"

namespace bench {

// One run of kestrix-download against a fresh simulator: every file to CSV,
// timed from the process's start to its end, with the same floor as the
// window's load (the same requests and fixed waits).
bool runCommandLine(const RunSpec &spec, RunValues *values, QString *error);

} // namespace bench
