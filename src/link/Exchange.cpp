// SPDX-License-Identifier: MIT
#include "link/Exchange.h"

#include "link/StopRequest.h"
#include "link/SerialLink.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <algorithm>

Exchange::Exchange(SerialLink &port, const StopRequest &stop, const MeterTiming &timing)
    : m_port(port)
    , m_stop(stop)
    , m_timing(timing)
{
}

void Exchange::discardWaiting()
{
    m_port.discardInput();
}

void Exchange::send(const QByteArray &request)
{
    discardWaiting();
    m_port.write(request);
}

bool Exchange::settleLine(bool handleEvents)
{
    const QDeadlineTimer limit(m_timing.settleLimitMs);
    for (;;) {
        // Take in what the system holds first: after a long pass (the program
        // may not have run for a while) bytes may wait there unseen.
        m_port.waitForMoreBytesWithin(0, handleEvents);
        if (m_port.bytesWaiting() > 0) {
            m_port.readAll();
            m_noisy = true;
            m_strayInThisExchange = true;
            noteBytesSeen();
        }
        if (!m_lastByte.isValid())
            return true; // nothing has come since the port opened
        const qint64 quietNs = m_noisy ? noisyQuietNs : cleanQuietNs;
        const qint64 leftNs = quietNs - m_lastByte.nsecsElapsed();
        if (leftNs <= 0)
            return true;
        if (limit.hasExpired() || m_port.deviceLost())
            return false;
        if (handleEvents && m_stop.isRequested())
            return false;
        const qint64 waitNs = std::min(leftNs, std::max<qint64>(0, limit.remainingTimeNSecs()));
        if (!m_port.waitForMoreBytesWithin(waitNs, handleEvents) && m_port.bytesWaiting() == 0)
            return true; // nothing came for the rest of the quiet time
    }
}

ExchangeOutcome Exchange::request(const QByteArray &request, const ReplyRule &rule, WaitEvents events,
                                  QByteArray *reply)
{
    reply->clear();
    m_strayInThisExchange = false;
    const bool handleEvents = events == WaitEvents::Handled;
    const bool quietBefore = settleLine(handleEvents);
    if (handleEvents && m_stop.isRequested())
        return ExchangeOutcome::Ended;
    // A device found gone is not written to: the link would open the COM
    // number again, which may now lead to another device.
    if (m_port.deviceLost())
        return ExchangeOutcome::Lost;
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
        if (received.size() < rule.awaited)
            return ExchangeOutcome::TimedOut;
        // Enough bytes, but no reply of the expected form among them.
        m_noisy = true;
        m_cleanExchanges = 0;
        settleLine(handleEvents);
        *reply = received;
        return ExchangeOutcome::Garbled;
    }
    if (length < received.size()) {
        m_noisy = true; // bytes after the reply's end mark
        m_strayInThisExchange = true;
    }
    // On a line that has shown stray bytes, a reply counts only if the line
    // falls quiet after it as well: on a line that never does, its bytes may
    // be mixed with others.
    const bool quietAfter = !m_noisy || settleLine(handleEvents);
    if (handleEvents && m_stop.isRequested())
        return ExchangeOutcome::Ended;
    if (!quietBefore || !quietAfter) {
        *reply = received;
        return ExchangeOutcome::Garbled;
    }
    *reply = received.left(length);
    noteCleanExchange();
    return ExchangeOutcome::Reply;
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
