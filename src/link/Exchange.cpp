// SPDX-License-Identifier: MIT
#include "link/Exchange.h"

#include "link/SerialLink.h"
#include "link/StopRequest.h"
#include "protocol/HeatRunReply.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <algorithm>

namespace {

constexpr qint64 nsPerMs = 1'000'000;

// The shortest reply a meter sends: a count, "[12]" at the least.
constexpr int shortestReply = 4;

} // namespace

bool couldHoldReply(const QByteArray &bytes)
{
    return bytes.size() >= shortestReply && bytes.contains(']');
}

bool repeatsReply(const QByteArray &after, const QByteArray &reply)
{
    if (reply.isEmpty())
        return false;
    for (qsizetype i = 0; i < after.size(); ++i) {
        if (after.at(i) != reply.at(i % reply.size()))
            return false;
    }
    return true;
}

qint64 Exchange::guardNs(const ReplyRule &rule)
{
    const int longest = std::max({rule.longest, rule.needed, rule.awaited});
    return std::max(shortestGuardCharacters, longest + 4) * characterNs;
}

qint64 Exchange::longGuardNs()
{
    return guardNs(heatRunNamesRule(heatRunSlotCount));
}

Exchange::Exchange(SerialLink &port, const StopRequest &stop, const MeterTiming &timing)
    : m_port(port)
    , m_stop(stop)
    , m_timing(timing)
{
}

qint64 Exchange::answerWindowNs() const
{
    return qint64(m_timing.replyTimeoutMs + m_timing.lateReplyGraceMs) * nsPerMs;
}

void Exchange::discardWaiting()
{
    m_port.discardInput();
}

void Exchange::send(const QByteArray &request)
{
    discardWaiting();
    m_port.write(request);
    m_answerWindowCloses.setPreciseRemainingTime(0, answerWindowNs(), Qt::PreciseTimer);
}

void Exchange::noteStray()
{
    m_noisy = true;
    m_strayInThisExchange = true;
    m_cleanExchanges = 0;
}

qint64 Exchange::quietBeforeNs(qint64 guard) const
{
    if (m_afterTimeout)
        return std::max(guard, m_timing.lateReplyGraceMs * nsPerMs);
    return m_noisy ? guard : cleanQuietNs;
}

Exchange::Settled Exchange::settleLine(qint64 quietNs, bool handleEvents, qint64 quietOnStrayNs,
                                      const QDeadlineTimer &notBefore)
{
    Settled settled;
    const auto limitFrom = [&] {
        return QDeadlineTimer(std::max<qint64>(0, notBefore.remainingTime()) + m_timing.settleLimitMs
                              + quietNs / nsPerMs);
    };
    QDeadlineTimer limit = limitFrom();
    for (;;) {
        // Take in what the system holds first: after a long pass (the program
        // may not have run for a while) bytes may wait there unseen.
        m_port.waitForMoreBytesWithin(0, handleEvents);
        if (m_port.bytesWaiting() > 0) {
            settled.dropped += m_port.readAll();
            noteBytesSeen();
            // A copy of what just came may follow it: the line must now stay
            // quiet for the longer time.
            if (quietOnStrayNs > quietNs) {
                quietNs = quietOnStrayNs;
                limit = limitFrom();
            }
        }
        const qint64 quietLeftNs = m_lastByte.isValid() ? quietNs - m_lastByte.nsecsElapsed() : 0;
        const qint64 leftNs = std::max(quietLeftNs, notBefore.remainingTimeNSecs());
        if (leftNs <= 0)
            return settled;
        if (limit.hasExpired() || m_port.deviceLost() || (handleEvents && m_stop.isRequested())) {
            settled.quiet = false;
            return settled;
        }
        const qint64 waitNs = std::min(leftNs, std::max<qint64>(0, limit.remainingTimeNSecs()));
        if (!m_port.waitForMoreBytesWithin(waitNs, handleEvents) && m_port.bytesWaiting() == 0)
            return settled; // nothing came for the rest of the quiet time
    }
}

ExchangeOutcome Exchange::request(const QByteArray &request, const ReplyRule &rule, WaitEvents events,
                                  QByteArray *reply, Trust trust, const QDeadlineTimer &notBefore)
{
    reply->clear();
    m_behindReply.clear();
    m_strayInThisExchange = false;
    m_earlierInDoubt = false;
    m_provedQuiet = false;
    const bool handleEvents = events == WaitEvents::Handled;
    const qint64 guard = guardNs(rule);
    const qint64 quietBefore = trust == Trust::Confirmed ? std::max(guard, quietBeforeNs(guard)) : quietBeforeNs(guard);
    const Settled before = settleLine(quietBefore, handleEvents, guard, notBefore);
    m_droppedBefore = before.dropped;
    m_afterTimeout = false;
    if (!before.dropped.isEmpty()) {
        noteStray();
        m_earlierInDoubt = couldHoldReply(before.dropped);
        m_repeatsSeen = m_repeatsSeen || (m_earlierInDoubt && repeatsReply(before.dropped, m_lastTaken));
    }
    if (handleEvents && m_stop.isRequested())
        return ExchangeOutcome::Ended;
    // A device found gone is not written to: the link would open the COM
    // number again, which may now lead to another device.
    if (m_port.deviceLost())
        return ExchangeOutcome::Lost;
    const bool confirm = trust == Trust::Confirmed || m_noisy;
    send(request);

    // Bytes are collected as they come so that the end-mark test looks at the
    // reply as a whole, however it was split on the wire.
    QByteArray received;
    const QDeadlineTimer deadline(m_timing.replyTimeoutMs);
    for (;;) {
        if (m_port.bytesWaiting() > 0) {
            received += m_port.readAll();
            noteBytesSeen();
        }
        if (rule.settled(received))
            break;
        if (handleEvents && m_stop.isRequested())
            return ExchangeOutcome::Ended;
        const qint64 remaining = deadline.remainingTime();
        if (remaining <= 0 || m_port.deviceLost())
            break;
        // Until the reply has begun nothing tells when it will; once it has,
        // the rest follows at line speed.
        const bool more = received.isEmpty()
                              ? m_port.waitForMoreBytes(int(remaining), handleEvents)
                              : m_port.waitForMissingBytes(rule.missingBytes(received), int(remaining), handleEvents);
        if (handleEvents && m_stop.isRequested())
            return ExchangeOutcome::Ended;
        if (!more && m_port.bytesWaiting() == 0)
            break; // the time-out ended the wait, or the device is gone
    }

    int length = rule.completeLength(received);
    if (length != ReplyRule::none && !rule.endMark) {
        // A reply without an end mark is read whole: what follows it within
        // a few character times is still its own.
        collectTail(received, handleEvents, deadline);
        length = int(received.size());
    }
    if (length == ReplyRule::none)
        length = rule.acceptableLength(received);
    if (length == ReplyRule::none) {
        if (m_port.deviceLost())
            return ExchangeOutcome::Lost;
        if (received.size() < rule.awaited) {
            // The answer may still come: the next request waits for it to pass.
            m_afterTimeout = true;
            m_lastByte.start();
            m_provedQuiet = received.isEmpty() && before.quiet && before.dropped.isEmpty();
            m_earlierInDoubt = m_earlierInDoubt || couldHoldReply(received);
            return ExchangeOutcome::TimedOut;
        }
        // Enough bytes, but no reply of the expected form among them.
        noteStray();
        m_earlierInDoubt = m_earlierInDoubt || couldHoldReply(received);
        settleLine(guard, handleEvents);
        *reply = received;
        return ExchangeOutcome::Garbled;
    }

    const QByteArray taken = received.left(length);
    QByteArray after = received.mid(length);
    if (!after.isEmpty())
        noteStray();
    if (confirm || !after.isEmpty()) {
        // The reply counts only if the line falls quiet behind it: on a line
        // that never does, its bytes may be mixed with others; and another
        // reply behind it means this one may be a late or repeated one.
        const Settled behind = settleLine(guard, handleEvents);
        if (handleEvents && m_stop.isRequested())
            return ExchangeOutcome::Ended;
        if (!behind.dropped.isEmpty()) {
            noteStray();
            after += behind.dropped;
        }
        if (!before.quiet || !behind.quiet) {
            *reply = received + behind.dropped;
            return ExchangeOutcome::Garbled;
        }
        if (couldHoldReply(after)) {
            if (!repeatsReply(after, taken)) {
                *reply = taken;
                m_behindReply = after;
                return ExchangeOutcome::Suspect;
            }
            m_repeatsSeen = true;
        }
        m_provedQuiet = true;
    } else if (!before.quiet) {
        *reply = received;
        return ExchangeOutcome::Garbled;
    }
    *reply = taken;
    m_lastTaken = taken;
    noteCleanExchange();
    return ExchangeOutcome::Reply;
}

Exchange::Quiet Exchange::awaitQuietLine(qint64 guard, WaitEvents events, const QDeadlineTimer &notBefore)
{
    const bool handleEvents = events == WaitEvents::Handled;
    const Settled settled = settleLine(std::max(guard, quietBeforeNs(guard)), handleEvents, 0, notBefore);
    m_afterTimeout = false;
    if (handleEvents && m_stop.isRequested())
        return Quiet::Ended;
    if (m_port.deviceLost())
        return Quiet::Lost;
    if (!settled.dropped.isEmpty())
        noteStray();
    if (!settled.quiet)
        return Quiet::NeverQuiet;
    return couldHoldReply(settled.dropped) ? Quiet::Stray : Quiet::Quiet;
}

void Exchange::collectTail(QByteArray &received, bool handleEvents, const QDeadlineTimer &deadline)
{
    while (!deadline.hasExpired()) {
        if (!m_port.waitForMoreBytesWithin(cleanQuietNs, handleEvents) && m_port.bytesWaiting() == 0)
            return;
        received += m_port.readAll();
        noteBytesSeen();
    }
}

void Exchange::noteCleanExchange()
{
    // A single burst of stray bytes should not slow every later exchange:
    // after a run of exchanges without any, the short quiet time is enough again.
    if (!m_noisy)
        return;
    m_cleanExchanges = m_strayInThisExchange ? 0 : m_cleanExchanges + 1;
    if (m_cleanExchanges >= cleanExchangesToCalm) {
        m_noisy = false;
        m_cleanExchanges = 0;
    }
}

ExchangeOutcome Exchange::requestFile(const QByteArray &request, int waitMs, int longestBytes, QByteArray *reply)
{
    reply->clear();
    const qint64 guard = longGuardNs();
    const Settled before = settleLine(quietBeforeNs(guard), true);
    m_afterTimeout = false;
    if (!before.dropped.isEmpty())
        noteStray();
    if (m_stop.isRequested())
        return ExchangeOutcome::Ended;
    if (m_port.deviceLost())
        return ExchangeOutcome::Lost;
    send(request);

    // The file is taken in as it comes, so that the port's buffer never
    // fills, however long the file; the wait lasts the whole time all the same.
    QByteArray received;
    const QDeadlineTimer deadline(waitMs);
    while (!deadline.hasExpired()) {
        const bool more = m_port.waitForMoreBytes(int(std::max<qint64>(0, deadline.remainingTime())), true);
        if (m_stop.isRequested())
            return ExchangeOutcome::Ended;
        if (m_port.bytesWaiting() > 0) {
            received += m_port.readAll();
            noteBytesSeen();
        } else if (!more) {
            // Nothing more can come (a device gone, or a link with no clock):
            // the rest of the time is still waited, with the events handled.
            if (waitHandlingEvents(int(std::max<qint64>(0, deadline.remainingTime()))) == ExchangeOutcome::Ended)
                return ExchangeOutcome::Ended;
        }
    }
    // A file still arriving is read to its end; the download counts only once
    // the line has stayed quiet behind it, so a late one cannot become the
    // next slot's file.
    const Settled behind = settleLine(guard, true);
    received += behind.dropped;
    if (m_stop.isRequested())
        return ExchangeOutcome::Ended;
    if (m_port.deviceLost())
        return ExchangeOutcome::Lost;
    *reply = received;
    if (received.isEmpty()) {
        m_afterTimeout = true;
        m_lastByte.start();
        return ExchangeOutcome::TimedOut;
    }
    if (!before.quiet || !behind.quiet || received.size() > longestBytes)
        return ExchangeOutcome::Garbled;
    return ExchangeOutcome::Reply;
}

ExchangeOutcome Exchange::requestWithFixedWait(const QByteArray &request, int waitMs, QByteArray *reply)
{
    reply->clear();
    send(request);
    if (waitHandlingEvents(waitMs) == ExchangeOutcome::Ended)
        return ExchangeOutcome::Ended;
    m_port.waitForMoreBytes(0, false);
    *reply = m_port.readAll();
    if (!reply->isEmpty())
        noteBytesSeen();
    return ExchangeOutcome::Reply;
}

ExchangeOutcome Exchange::waitHandlingEvents(int msecs)
{
    if (m_stop.isRequested())
        return ExchangeOutcome::Ended;
    // The port object keeps reading into its own buffer while this loop runs.
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&m_stop, &StopRequest::requested, &loop, &QEventLoop::quit);
    timer.start(msecs);
    loop.exec();
    return m_stop.isRequested() ? ExchangeOutcome::Ended : ExchangeOutcome::Reply;
}

void Exchange::pause(int msecs)
{
    QThread::msleep(static_cast<unsigned long>(msecs));
}
