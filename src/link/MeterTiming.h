// SPDX-License-Identifier: MIT
#pragma once

// Every fixed wait of the program in one place. The defaults are what the
// meters need; tests against an in-memory meter shorten them.
struct MeterTiming
{
    // Before the detection window's first probe, once it is on screen.
    int detectionStartMs = 500;
    // The meter gets one second to identify itself; a port that cannot be
    // opened is tried again after the same time, and the model line shows
    // this long before the family window loads.
    int probeWaitMs = 1000;
    // The winding meter needs a second between its start-up requests.
    int startupPauseMs = 1000;
    // A heat-run-test file is sent within five seconds.
    int heatRunWaitMs = 5000;
    // How long a standard request waits for its reply.
    int replyTimeoutMs = 1000;
    // A line that is not quiet within this (beyond the quiet time it must
    // show) is taken as never quiet.
    int settleLimitMs = 100;
    // After a time-out the meter may still answer: the next request waits
    // until the line has been quiet this long. A reply later than this after
    // its time-out is taken as never coming.
    int lateReplyGraceMs = 500;
};
