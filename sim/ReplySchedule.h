// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QList>
#include <QtGlobal>

namespace sim {

// How the bytes of a reply are spread over time.
struct Pacing
{
    bool paced = true;            // one byte per character time, else each piece at once
    qint64 latencyNs = 0;         // before the first byte
    int pieces = 1;               // the reply is sent in this many pieces...
    qint64 gapNs = 0;             // ...with this pause between them
    // Faulted requests only: the reply starts this long after the request,
    // while the meter goes on answering later requests (every lateEvery-th
    // faulted request; 1 for all).
    qint64 lateNs = 0;
    int lateEvery = 1;
    // Faulted requests only, with --repeat: each copy follows the one before
    // after this pause instead of straight away.
    qint64 repeatGapNs = 0;
    // Every reply, through a USB serial adapter whose latency timer fires this
    // often (0: a plain serial line); see throughAdapter().
    qint64 adapterLatencyNs = 0;
};

// A USB packet of an FTDI-style adapter holds this many bytes of data.
inline constexpr int adapterPacketBytes = 62;

// 10 bits (start, 8 data, stop) at 19200 baud, as an exact fraction of a second.
inline constexpr qint64 characterTimeNs(qint64 characters)
{
    return characters * 10 * 1'000'000'000 / 19200;
}

struct ScheduledWrite
{
    qint64 dueNs = 0;             // absolute, on the monotonic clock
    QByteArray bytes;

    bool operator==(const ScheduledWrite &other) const = default;
};

// The writes that send `reply` when the line is free from `startNs` on. Paced
// bytes stand on an absolute schedule (byte k of a piece is due k + 1
// character times after the piece starts), so late wake-ups do not add up.
QList<ScheduledWrite> scheduleReply(const QByteArray &reply, qint64 startNs, const Pacing &pacing);

// The writes as a USB serial adapter hands them to the computer: each byte
// waits in the adapter until its latency timer next fires (every `latencyNs`
// on the monotonic clock) or until a full USB packet has come together. The
// order of the bytes never changes.
QList<ScheduledWrite> throughAdapter(const QList<ScheduledWrite> &writes, qint64 latencyNs);

// A reply the meter sends `copies` times: the copies one by one when they are
// to come a pause apart (--repeat-gap-ms), else the bytes as one piece.
QList<QByteArray> separateCopies(const QByteArray &reply, int copies, const Pacing &pacing);

// Whether the `faultedAnswer`-th faulted reply (from 1) is one of the late ones.
bool isLateReply(int faultedAnswer, const Pacing &pacing);

} // namespace sim
