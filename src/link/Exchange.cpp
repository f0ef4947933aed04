#include "link/Exchange.h"

#include "app/Shutdown.h"
#include "link/SerialLink.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <algorithm>

bool ReplyRule::isComplete(const QByteArray &received) const
{
    const int size = int(received.size());
    if (size < awaited || size < needed)
        return false;
    return !endMark || (size > 0 && received.back() == ']');
}

qint64 ReplyRule::missingBytes(const QByteArray &received) const
{
    return std::max<qint64>(1, qint64(std::max(awaited, needed)) - received.size());
}

Exchange::Exchange(SerialLink &port)
    : m_port(port)
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

ExchangeOutcome Exchange::request(const QByteArray &request, const ReplyRule &rule, WaitEvents events,
                                  QByteArray *reply, int timeoutMs)
{
    reply->clear();
    send(request);

    // Bytes are collected as they come so that the end-mark test looks at the
    // reply as a whole, however it was split on the wire.
    QByteArray received;
    const QDeadlineTimer deadline(timeoutMs);
    const bool handleEvents = events == WaitEvents::Handled;
    for (;;) {
        if (m_port.bytesWaiting() > 0)
            received += m_port.readAll();
        if (rule.isComplete(received))
            break;
        if (handleEvents && Shutdown::isRequested())
            return ExchangeOutcome::Ended;
        const qint64 remaining = deadline.remainingTime();
        if (remaining <= 0 || m_port.deviceLost())
            break;
        // Until the reply has begun nothing tells when it will; once it has,
        // the rest follows at line speed.
        const bool more = received.isEmpty()
                              ? m_port.waitForMoreBytes(int(remaining), handleEvents)
                              : m_port.waitForMissingBytes(rule.missingBytes(received), int(remaining), handleEvents);
        if (handleEvents && Shutdown::isRequested())
            return ExchangeOutcome::Ended;
        if (!more && m_port.bytesWaiting() == 0)
            break; // the time-out ended the wait, or the device is gone
    }
    if (received.size() < rule.awaited)
        return ExchangeOutcome::TimedOut;
    *reply = received;
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
    return ExchangeOutcome::Reply;
}

ExchangeOutcome Exchange::waitHandlingEvents(int msecs)
{
    if (Shutdown::isRequested())
        return ExchangeOutcome::Ended;
    // The port object keeps reading into its own buffer while this loop runs.
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&Shutdown::instance(), &Shutdown::requested, &loop, &QEventLoop::quit);
    timer.start(msecs);
    loop.exec();
    return Shutdown::isRequested() ? ExchangeOutcome::Ended : ExchangeOutcome::Reply;
}

void Exchange::pause(int msecs)
{
    QThread::msleep(static_cast<unsigned long>(msecs));
}
