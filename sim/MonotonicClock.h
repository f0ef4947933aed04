// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>

namespace sim {

// Nanoseconds on CLOCK_MONOTONIC: immune to changes of the time of day.
qint64 monotonicNs();

// Sleeps until the absolute monotonic time `dueNs` (no-op when it has passed).
void sleepUntil(qint64 dueNs);

} // namespace sim
