// SPDX-License-Identifier: MIT
#include "MonotonicClock.h"

#include <cerrno>
#include <ctime>

namespace sim {

namespace {
constexpr qint64 nsPerSecond = 1'000'000'000;
}

qint64 monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * nsPerSecond + now.tv_nsec;
}

void sleepUntil(qint64 dueNs)
{
    timespec due{};
    due.tv_sec = time_t(dueNs / nsPerSecond);
    due.tv_nsec = long(dueNs % nsPerSecond);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &due, nullptr) == EINTR) {
    }
}

} // namespace sim
