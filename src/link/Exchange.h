// SPDX-License-Identifier: MIT
#pragma once

#include "link/MeterTiming.h"
#include "link/SerialLink.h"
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
    Suspect,  // a reply of the right form, but bytes that could be another
              // reply came with it: it may be a late or repeated one
    Lost,     // the device went away during the exchange
    Ended,    // the user pressed Exit during the wait
};

// The exchange rules every window follows: flush what is waiting, write the
// request, wait on a monotonic clock for the reply, read it all.
//
// A late or repeated reply looks exactly like a fresh one, so bytes that
// answer no request (a reply sent twice, one that comes after its time-out,
// CR LF behind a record, chatter) must never run into the next reply:
// - a reply is only handed over when its length and end mark are right;
// - before each request the line must have been quiet for a few character
//   times; after a time-out, for the late-reply grace; once stray bytes have
//   been seen, for the guard time (longer than the longest reply takes on the
//   wire), and each reply must then be followed by a quiet line too;
// - stray bytes that could hold a reply are reported, so that the caller
//   asks again for the record taken just before them.
class Exchange
{
public:
    // One character at 19200 baud with start and stop bit.
    static constexpr qint64 characterNs = 10 * 1'000'000'000LL / 19200;
    // Quiet time before a request while the line has been clean: a stray byte
    // sent straight after a reply is in within one character time, so two
    // leave a margin for the machine's wake-up.
    static constexpr qint64 cleanQuietNs = 2 * characterNs;
    // The guard is never shorter than a record reply (38 bytes, the longest
    // the meters send during a load) with a margin of a few characters.
    static constexpr int shortestGuardCharacters = 42;
    // Exchanges in a row without a stray byte after which a line counts as clean again.
    static constexpr int cleanExchangesToCalm = 16;

    // How long the line must stay quiet before no reply under `rule` can be
    // on its way: longer than the longest one takes on the wire.
    static qint64 guardNs(const ReplyRule &rule);
    // The guard for heat-run-test files and the start-up: the longest reply
    // that is not a file (the heat-run names) decides.
    static qint64 longGuardNs();

    // Waits that handle events end when `stop` is requested.
    Exchange(SerialLink &port, const StopRequest &stop, const MeterTiming &timing = {});

    // How long after a request its answer, late or sent again, may still
    // come: the reply time-out and the late-reply grace. Anything later is
    // taken as never coming.
    qint64 answerWindowNs() const;
    // When the answer window of the last request sent closes.
    QDeadlineTimer answerWindowCloses() const { return m_answerWindowCloses; }

    const MeterTiming &timing() const { return m_timing; }

    // Reads and drops whatever is waiting, so stale bytes of an earlier,
    // abandoned exchange never mix into the next reply.
    void discardWaiting();

    enum class Trust {
        Quick,     // the line counts as clean: the reply is handed over as soon as it is whole
        Confirmed, // the line must be quiet for the guard time before the request and after the reply
    };

    // Standard exchange: settle, flush, write, wait until the reply is complete
    // or the reply time-out ends, read all. `reply` gets the reply alone
    // (Reply, Suspect), what came (Garbled), or nothing (TimedOut, Lost, Ended).
    // On a line that has shown stray bytes every exchange is Confirmed.
    // The request is not sent before `notBefore`, and the line must have
    // been quiet until then too: it is how a caller waits for the answer
    // windows of earlier requests to close.
    ExchangeOutcome request(const QByteArray &request, const ReplyRule &rule, WaitEvents events, QByteArray *reply,
                            Trust trust = Trust::Quick, const QDeadlineTimer &notBefore = QDeadlineTimer());

    // After request(): bytes that could hold a reply and answer no request
    // came before this exchange's reply (dropped before the request went out,
    // or in place of a reply), so the reply taken before them is in doubt.
    bool earlierReplyInDoubt() const { return m_earlierInDoubt; }
    // After request(): what was dropped before the request went out.
    const QByteArray &droppedBefore() const { return m_droppedBefore; }
    // After request(): the line was seen quiet for the guard time after the
    // last reply taken (behind this reply, or through a time-out without a
    // byte): nothing taken so far can have been another request's reply.
    bool lineProvedQuiet() const { return m_provedQuiet; }
    // After a Suspect request(): what came behind the reply.
    const QByteArray &behindReply() const { return m_behindReply; }
    // After request(): nothing but the reply itself came, before or behind it.
    bool onlyTheReplyCame() const { return !m_strayInThisExchange; }

    enum class Quiet { Quiet, Stray, NeverQuiet, Lost, Ended };
    // Waits until the line has been quiet for the guard time (or the
    // late-reply grace after a time-out), and at least until `notBefore`,
    // dropping what comes. Stray: bytes that could hold a reply came meanwhile.
    Quiet awaitQuietLine(qint64 guardNs, WaitEvents events, const QDeadlineTimer &notBefore = QDeadlineTimer());

    // Heat-run-test download: settle, flush, write, wait the whole fixed time
    // while handling events, then read on until the line has been quiet for
    // the long guard. `reply` gets all that came. Reply when the line fell
    // quiet behind it, Garbled when it did not, Ended, Lost.
    ExchangeOutcome requestFile(const QByteArray &request, int waitMs, int longestBytes, QByteArray *reply);

    // Identification: flush, write, wait the whole fixed time while handling
    // events, then read whatever came.
    ExchangeOutcome requestWithFixedWait(const QByteArray &request, int waitMs, QByteArray *reply);

    // A wait of the full time that keeps the user interface live.
    ExchangeOutcome waitHandlingEvents(int msecs);

    // A pause that handles no events (the winding meter needs it between its
    // start-up requests). Sleeps; uses no CPU.
    static void pause(int msecs);

    // Milliseconds since the last byte came in (0 before the first).
    qint64 msSinceLastByte() const { return m_lastByte.isValid() ? m_lastByte.elapsed() : 0; }

    // True once stray bytes have been seen on this line.
    bool lineNoisy() const { return m_noisy; }
    // True once a reply has been seen sent again on this line.
    bool lineRepeatsReplies() const { return m_repeatsSeen; }

private:
    struct Settled
    {
        bool quiet = true;       // the line fell quiet within the limit
        QByteArray dropped;      // what came meanwhile
    };
    void send(const QByteArray &request);
    // Drops what comes until the line has been quiet for `quietNs`, or for
    // `quietOnStrayNs` once something came, and `notBefore` has passed.
    Settled settleLine(qint64 quietNs, bool handleEvents, qint64 quietOnStrayNs = 0,
                       const QDeadlineTimer &notBefore = QDeadlineTimer());
    // Quiet time needed before the next request.
    qint64 quietBeforeNs(qint64 guard) const;
    void noteBytesSeen() { m_lastByte.start(); }
    void noteStray();
    // Reads on while bytes keep coming, a quiet time at most apart.
    void collectTail(QByteArray &received, bool handleEvents, const QDeadlineTimer &deadline);
    void noteCleanExchange();

    SerialLink &m_port;
    const StopRequest &m_stop;
    MeterTiming m_timing;
    // Since the last byte came in, or since a time-out after which a late
    // reply may still come; invalid before the first.
    QElapsedTimer m_lastByte;
    QDeadlineTimer m_answerWindowCloses; // expired before the first request
    bool m_afterTimeout = false;   // the last exchange got no reply: it may still come
    bool m_noisy = false;
    bool m_strayInThisExchange = false;
    bool m_earlierInDoubt = false;
    bool m_provedQuiet = false;
    bool m_repeatsSeen = false;
    QByteArray m_lastTaken; // the last reply handed over
    QByteArray m_droppedBefore;
    QByteArray m_behindReply;
    int m_cleanExchanges = 0; // in a row without stray bytes while the line counts as noisy
};

// Bytes that could be, or be part of, a reply a meter sends (a "]" among at
// least four bytes), as against line noise such as CR LF.
bool couldHoldReply(const QByteArray &bytes);
// Bytes behind a reply that only repeat it, whole or in part.
bool repeatsReply(const QByteArray &after, const QByteArray &reply);
