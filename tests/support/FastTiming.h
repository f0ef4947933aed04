// SPDX-License-Identifier: MIT
#pragma once

#include "link/MeterTiming.h"

// The program's waits against an in-memory meter. No reply is ever late
// there, so only the fixed waits count, and they are cut short. The reply
// time-out stays: a wait there never lasts anyway, and a reply in pieces must
// not run out of time between them on a busy machine.
inline MeterTiming fastTiming()
{
    MeterTiming fast;
    fast.detectionStartMs = 0;
    fast.probeWaitMs = 1;
    fast.startupPauseMs = 0;
    fast.heatRunWaitMs = 1;
    fast.settleLimitMs = 20;
    return fast;
}
