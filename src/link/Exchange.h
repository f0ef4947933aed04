// SPDX-License-Identifier: MIT
#pragma once

#include "link/MeterTiming.h"
#include "protocol/ReplyRule.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QElapsedTimer>

class SerialLink;
class StopRequest;

enum class WaitEvents { Handled, Ignored };

enum class ExchangeOutcome {
    Reply,    // a reply of the expected form came on a quiet line
    TimedOut, // fewer than `awaited` bytes by the time-out
    Garbled,  // bytes came, but not a reply that can be trusted: wrong end mark
              // or length, or a line that never fell quiet around it
    Lost,     // the device went away during the exchange
    Ended,    // the user pressed Exit during the wait
};

// The exchange rules every window follows: flush what is waiting, write the
// request, wait on a monotonic clock for the reply, read it all.
//
// Bytes that belong to no request (a meter or adapter that sends CR LF after
// a record, repeats a reply, or chatters) must never run into the next reply:
// a reply is only handed over when its length and end mark are right, and
// before each request the line must have been quiet for a few character
// times. Once stray bytes have been seen, the exchange waits longer for quiet
// and also checks the line after each reply; a line that never falls quiet
// makes every reply on it untrusted.
class Exchange
{
public:
    // One character at 19200 baud with start and stop bit.
    static constexpr qint64 characterNs = 10 * 1'000'000'000LL / 19200;
    // Quiet time before a request while the line has been clean: a stray byte
    // sent straight after a reply is in within one character time, so two
    // leave a margin for the machine's wake-up.
    static constexpr qint64 cleanQuietNs = 2 * characterNs;
    // Quiet time once stray bytes have been seen: bursts with gaps are caught too.
    static constexpr qint64 noisyQuietNs = 20 * characterNs;
    // Exchanges in a row without a stray byte after which a line counts as clean again.
    static constexpr int cleanExchangesToCalm = 16;

    // Waits that handle events end when `stop` is requested.
    Exchange(SerialLink &port, const StopRequest &stop, const MeterTiming &timing = {});

    const MeterTiming &timing() const { return m_timing; }

    // Reads and drops whatever is waiting, so stale bytes of an earlier,
    // abandoned exchange never mix into the next reply.
    void discardWaiting();

    // Standard exchange: flush, write, wait until the reply is complete or the
    // reply time-out ends, read all. `reply` gets the reply alone (Reply), what came
    // (Garbled), or nothing (TimedOut, Lost, Ended).
    ExchangeOutcome request(const QByteArray &request, const ReplyRule &rule, WaitEvents events,
                            QByteArray *reply);

    // Identification and heat-run-test download: flush, write, wait the whole
    // fixed time while handling events, then read whatever came.
    ExchangeOutcome requestWithFixedWait(const QByteArray &request, int waitMs, QByteArray *reply);

    // A wait of the full time that keeps the user interface live.
    ExchangeOutcome waitHandlingEvents(int msecs);

    // A pause that handles no events (the winding meter needs it between its
    // start-up requests). Sleeps; uses no CPU.
    static void pause(int msecs);

    // True once stray bytes have been seen on this line.
    bool lineNoisy() const { return m_noisy; }

private:
    void send(const QByteArray &request);
    // Drops stray bytes until the line has been quiet for the current quiet
    // time. False when it did not fall quiet within the settle limit.
    bool settleLine(bool handleEvents);
    void noteBytesSeen() { m_lastByte.start(); }
    // Reads on while bytes keep coming, a quiet time at most apart.
    void collectTail(QByteArray &received, bool handleEvents, const QDeadlineTimer &deadline);
    void noteCleanExchange();

    SerialLink &m_port;
    const StopRequest &m_stop;
    MeterTiming m_timing;
    QElapsedTimer m_lastByte; // since the last byte came in; invalid before the first
    bool m_noisy = false;
    bool m_strayInThisExchange = false;
    int m_cleanExchanges = 0; // in a row without stray bytes while the line counts as noisy
};
