#pragma once

#include <QByteArray>

class SerialLink;

// What a reply must hold before it is decoded.
struct ReplyRule
{
    // Fewer bytes than this when the time-out ends means the meter did not answer.
    int awaited = 0;
    // The decoder reads this many bytes; the wait reads on until they are in.
    int needed = 0;
    // Record replies end with "]": the wait reads on until the last byte is one.
    bool endMark = false;

    bool isComplete(const QByteArray &received) const;
    // How many more bytes an incomplete reply needs at least (1 when only the end mark is missing).
    qint64 missingBytes(const QByteArray &received) const;
};

enum class WaitEvents { Handled, Ignored };

enum class ExchangeOutcome {
    Reply,    // the reply is in (it may still fail its own checks)
    TimedOut, // fewer than `awaited` bytes by the time-out
    Ended,    // the user pressed Exit during the wait
};

// The exchange rules every window follows: flush what is waiting, write the
// request, wait on a monotonic clock for the reply, read it all.
class Exchange
{
public:
    static constexpr int standardTimeoutMs = 1000;

    explicit Exchange(SerialLink &port);

    // Reads and drops whatever is waiting, so stale bytes of an earlier,
    // abandoned exchange never mix into the next reply.
    void discardWaiting();

    // Standard exchange: flush, write, wait until the reply is complete or the
    // time-out ends, read all. With fewer than rule.awaited bytes by then the
    // outcome is TimedOut and `reply` is left empty.
    ExchangeOutcome request(const QByteArray &request, const ReplyRule &rule, WaitEvents events,
                            QByteArray *reply, int timeoutMs = standardTimeoutMs);

    // Identification and heat-run-test download: flush, write, wait the whole
    // fixed time while handling events, then read whatever came.
    ExchangeOutcome requestWithFixedWait(const QByteArray &request, int waitMs, QByteArray *reply);

    // A wait of the full time that keeps the user interface live.
    ExchangeOutcome waitHandlingEvents(int msecs);

    // A pause that handles no events (the winding meter needs it between its
    // start-up requests). Sleeps; uses no CPU.
    static void pause(int msecs);

private:
    void send(const QByteArray &request);

    SerialLink &m_port;
};
