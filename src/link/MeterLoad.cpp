// SPDX-License-Identifier: MIT
#include "link/MeterLoad.h"

#include "link/StopRequest.h"
#include "protocol/FamilyProtocol.h"
#include "protocol/HeatRunReply.h"
#include "protocol/MessageTexts.h"
#include "protocol/ReplyFields.h"
#include "protocol/Request.h"

#include <algorithm>
#include <utility>

namespace MeterLoad {

namespace {

// The outcome of asking again for a reply that was in doubt. An answer with
// more bytes behind it still counts when it is the same as the doubted one:
// asked twice, the meter said the same, so no other request's reply can have
// taken its place.
ExchangeOutcome judgeSecondAnswer(ExchangeOutcome outcome, const QByteArray &answer, const QByteArray &doubted)
{
    if (outcome != ExchangeOutcome::Suspect)
        return outcome;
    return answer == doubted ? ExchangeOutcome::Reply : ExchangeOutcome::Garbled;
}

// A start-up request: its reply counts only on a line that stays quiet behind
// it. A reply with another one behind it is asked for once more.
ExchangeOutcome startupRequest(Exchange &exchange, const QByteArray &request, const ReplyRule &rule,
                               QByteArray *reply)
{
    const ExchangeOutcome outcome =
        exchange.request(request, rule, WaitEvents::Handled, reply, Exchange::Trust::Confirmed);
    if (outcome != ExchangeOutcome::Suspect)
        return outcome;
    const QByteArray doubted = *reply;
    return judgeSecondAnswer(
        exchange.request(request, rule, WaitEvents::Handled, reply, Exchange::Trust::Confirmed), *reply, doubted);
}

// The count a start-up request gives; nothing when the load cannot go on.
std::optional<int> startupCount(Exchange &exchange, const char *command, int lastDigit, Result &result)
{
    const Count count = requestCount(exchange, Request::command(command), 2, lastDigit);
    if (count.ok())
        return count.value;
    result.end = count.outcome == ExchangeOutcome::Ended ? End::Ended : End::StartupFailed;
    return std::nullopt;
}

// The winding meter's second between its start-up requests, counted from
// the end of the reply: the quiet check behind the reply is part of it.
void pauseAfterReply(Exchange &exchange)
{
    Exchange::pause(int(std::max<qint64>(0, exchange.timing().startupPauseMs - exchange.msSinceLastByte())));
}

// Winding meters tell their heat-run tests first. False when the load cannot go on.
bool readHeatRuns(Exchange &exchange, Listener &listener, Result &result)
{
    const std::optional<int> heatRuns = startupCount(exchange, "01", 3, result);
    if (!heatRuns)
        return false;
    listener.heatRunCountRead(*heatRuns);

    pauseAfterReply(exchange);
    QByteArray reply;
    const ExchangeOutcome outcome = startupRequest(exchange, Request::command("02"), heatRunNamesRule(*heatRuns), &reply);
    if (outcome != ExchangeOutcome::Reply) {
        result.end = outcome == ExchangeOutcome::Ended ? End::Ended : End::StartupFailed;
        return false;
    }
    listener.heatRunNamesRead(heatRunNames(reply, *heatRuns));
    pauseAfterReply(exchange);
    return true;
}

// A reply the meter sent more than once in a row, as one copy.
QByteArray oneCopy(const QByteArray &reply)
{
    for (qsizetype copies = 2; copies <= reply.size() / 2; ++copies) {
        if (reply.size() % copies != 0)
            continue;
        const QByteArray copy = reply.left(reply.size() / copies);
        if (copy.repeated(copies) == reply)
            return copy;
    }
    return reply;
}

// The record exchanges of a load. A late or repeated reply looks exactly like
// a fresh one, so a reply is handed to the listener only once the line has
// been seen quiet for the guard time behind it: behind a confirmed exchange,
// through a time-out without a byte, in a quiet check after every
// `heldAtMost` replies, or in the quiet wait that ends the load. Until then it
// is held, and so is every outcome behind it, so that the listener hears of
// the slots in order. Bytes that could be a reply and answer no request put
// every held reply in doubt: each is asked for again on a quiet line and
// counts only if its answer comes on one.
class RecordFetch
{
public:
    // Bounds what one stray reply costs in questions asked again, and lets
    // the list and the progress follow the load.
    static constexpr int heldAtMost = 32;

    RecordFetch(Exchange &exchange, const RecordFormat &format, Listener &listener, const StopRequest &stop)
        : m_exchange(exchange), m_format(format), m_listener(listener), m_stop(stop)
    {
    }

    // Asks for slot `index`. False when the load ends here (see `end`).
    bool fetch(int index)
    {
        QByteArray reply;
        const ExchangeOutcome outcome =
            m_exchange.request(m_format.request(index), m_format.rule, WaitEvents::Ignored, &reply);
        if (outcome == ExchangeOutcome::Ended || m_stop.isRequested())
            return endedHere(End::Ended, index);
        // What this exchange showed, before any question asked again changes it.
        const bool doubt = m_exchange.earlierReplyInDoubt() || outcome == ExchangeOutcome::Suspect;
        const bool provedQuiet = m_exchange.lineProvedQuiet();
        const bool copyOfTheLast = outcome == ExchangeOutcome::Reply && m_exchange.lineRepeatsReplies()
                                   && reply == m_lastReply;
        if (doubt) {
            if (!askAgainHeld())
                return false;
        } else if (provedQuiet || outcome == ExchangeOutcome::Lost) {
            if (!handOverHeld())
                return false;
        }
        switch (outcome) {
        case ExchangeOutcome::Reply:
            // On a line that repeats replies, a reply just like the one before
            // may be its copy standing in for an answer still to come.
            if (copyOfTheLast)
                return (m_held.isEmpty() || checkQuiet()) && askAgain(index, QByteArray());
            m_lastReply = reply;
            m_held.append({index, outcome, reply});
            if (provedQuiet)
                return handOverHeld();
            return heldCount() < heldAtMost || checkQuiet();
        case ExchangeOutcome::Suspect:
            return askAgain(index, reply);
        case ExchangeOutcome::Lost:
            tell(index, outcome, QByteArray());
            return endedHere(End::Stopped, index);
        case ExchangeOutcome::TimedOut:
        case ExchangeOutcome::Garbled:
        case ExchangeOutcome::Ended:
            break;
        }
        if (m_held.isEmpty())
            return tell(index, outcome, reply);
        m_held.append({index, outcome, reply});
        return true;
    }

    // The line must stay quiet behind the last reply before the load counts
    // as done: what is held is settled.
    bool finish() { return m_held.isEmpty() || checkQuiet(); }

    // On Exit there is no time for the quiet wait: the window closes, and
    // nothing is written from what it shows.
    void handOverUnsettled()
    {
        const End how = end;
        const int at = stoppedAt;
        handOverHeld();
        end = how;
        stoppedAt = at;
    }

    End end = End::Completed;
    int stoppedAt = -1;

private:
    struct Held
    {
        int index;
        ExchangeOutcome outcome; // Reply, or a failure held to keep the order
        QByteArray reply;
    };

    int heldCount() const { return int(m_held.size()); }

    bool checkQuiet()
    {
        switch (m_exchange.awaitQuietLine(Exchange::guardNs(m_format.rule), WaitEvents::Ignored)) {
        case Exchange::Quiet::Quiet:
        case Exchange::Quiet::Lost:
            return handOverHeld();
        case Exchange::Quiet::Stray:
            return askAgainHeld();
        case Exchange::Quiet::NeverQuiet:
            return failHeld();
        case Exchange::Quiet::Ended:
            break;
        }
        return endedHere(End::Ended, m_held.isEmpty() ? 0 : m_held.first().index);
    }

    bool endedHere(End how, int index)
    {
        end = how;
        stoppedAt = m_held.isEmpty() ? index : std::min(index, m_held.first().index);
        return false;
    }

    // Tells the listener; false when it, or Exit, stops the load.
    bool tell(int index, ExchangeOutcome outcome, const QByteArray &reply)
    {
        if (m_listener.recordFetched(index, outcome, reply) == Step::GoOn && !m_stop.isRequested())
            return true;
        end = m_stop.isRequested() ? End::Ended : End::Stopped;
        stoppedAt = index;
        return false;
    }

    bool handOverHeld()
    {
        const QList<Held> held = std::exchange(m_held, {});
        for (const Held &record : held) {
            if (!tell(record.index, record.outcome, record.reply))
                return false;
        }
        return true;
    }

    // Held replies count as failed; held failures stay what they were.
    bool failHeld()
    {
        const QList<Held> held = std::exchange(m_held, {});
        for (const Held &record : held) {
            const ExchangeOutcome outcome =
                record.outcome == ExchangeOutcome::Reply ? ExchangeOutcome::Garbled : record.outcome;
            if (!tell(record.index, outcome, record.reply))
                return false;
        }
        return true;
    }

    // Held replies are asked for again; held failures stay what they were.
    bool askAgainHeld()
    {
        const QList<Held> held = std::exchange(m_held, {});
        for (const Held &record : held) {
            const bool goOn = record.outcome == ExchangeOutcome::Reply
                                  ? askAgain(record.index, record.reply)
                                  : tell(record.index, record.outcome, record.reply);
            if (!goOn)
                return false;
        }
        return true;
    }

    // Once, on a line quiet before the request and behind the answer. An
    // answer with more behind it still counts when it is the `doubted` reply
    // again; with no doubted reply (a possible copy of the last one) it does not.
    bool askAgain(int index, const QByteArray &doubted)
    {
        if (m_stop.isRequested())
            return endedHere(End::Ended, index);
        QByteArray reply;
        ExchangeOutcome outcome = m_exchange.request(m_format.request(index), m_format.rule, WaitEvents::Ignored,
                                                     &reply, Exchange::Trust::Confirmed);
        if (outcome == ExchangeOutcome::Ended || m_stop.isRequested())
            return endedHere(End::Ended, index);
        outcome = doubted.isEmpty() && outcome == ExchangeOutcome::Suspect
                      ? ExchangeOutcome::Garbled
                      : judgeSecondAnswer(outcome, reply, doubted);
        if (outcome == ExchangeOutcome::Reply)
            m_lastReply = reply;
        if (!tell(index, outcome, reply))
            return false;
        return outcome != ExchangeOutcome::Lost || endedHere(End::Stopped, index);
    }

    Exchange &m_exchange;
    const RecordFormat &m_format;
    Listener &m_listener;
    const StopRequest &m_stop;
    QList<Held> m_held;
    QByteArray m_lastReply;
};

} // namespace

ExchangeOutcome identify(Exchange &exchange, QByteArray *reply)
{
    return exchange.requestWithFixedWait(Request::command("00"), exchange.timing().probeWaitMs, reply);
}

ExchangeOutcome fetchHeatRun(Exchange &exchange, int slot, QByteArray *content)
{
    content->clear();
    QByteArray reply;
    const ExchangeOutcome outcome =
        exchange.requestFile(heatRunRequest(slot), exchange.timing().heatRunWaitMs, longestHeatRunReply, &reply);
    if (outcome != ExchangeOutcome::Reply)
        return outcome;
    const std::optional<QByteArray> file = heatRunContent(oneCopy(reply));
    if (!file)
        return ExchangeOutcome::Garbled;
    *content = *file + "\r\n";
    return ExchangeOutcome::Reply;
}

Identified identifyMeter(SerialLink &port, Exchange &exchange, const IdentifyHooks &hooks)
{
    Identified identified;
    for (;;) {
        const std::optional<int> number = hooks.portNumber();
        port.setPortNumber(number.value_or(0));
        const bool opened = number && (port.isOpen() || port.open());
        hooks.portTried(opened);
        if (opened) {
            identified.outcome = identify(exchange, &identified.model);
            if (identified.outcome == ExchangeOutcome::Ended)
                return identified;
            if (isIdentification(identified.model) && (!hooks.accepts || hooks.accepts(identified.model))) {
                identified.outcome = ExchangeOutcome::Reply;
                return identified;
            }
            port.close();
        } else if (exchange.waitHandlingEvents(exchange.timing().probeWaitMs) == ExchangeOutcome::Ended) {
            // A port that cannot be opened takes the same path as a silent
            // meter, one attempt a probe wait.
            identified.outcome = ExchangeOutcome::Ended;
            return identified;
        }
        if (!hooks.noMeterYet(opened)) {
            identified.outcome = ExchangeOutcome::TimedOut;
            identified.model.clear();
            return identified;
        }
    }
}

QString failureText(ExchangeOutcome outcome)
{
    switch (outcome) {
    case ExchangeOutcome::Garbled:
    case ExchangeOutcome::Suspect:
        return MessageTexts::downloadFailed();
    case ExchangeOutcome::Lost:
        return MessageTexts::meterLost();
    case ExchangeOutcome::Reply:
    case ExchangeOutcome::TimedOut:
    case ExchangeOutcome::Ended:
        break;
    }
    return MessageTexts::communicationError();
}

bool isIdentification(const QByteArray &reply)
{
    return reply.size() >= shortestIdentification;
}

Count requestCount(Exchange &exchange, const QByteArray &request, int firstDigit, int lastDigit)
{
    QByteArray reply;
    Count count;
    // The reply is "[", the digits and "]". Reading on to that "]" keeps it
    // out of the next reply: a byte still on the line when the first record
    // request is sent would miss the flush and shift every field of that record.
    count.outcome = startupRequest(exchange, request, ReplyRule{4, lastDigit, true}, &reply);
    if (count.outcome != ExchangeOutcome::Reply)
        return count;
    const std::optional<int> value = ReplyFields::decimal(reply, firstDigit, lastDigit);
    if (!value) {
        count.outcome = ExchangeOutcome::TimedOut;
        return count;
    }
    count.value = *value;
    return count;
}

Result load(MeterFamily family, Exchange &exchange, const StopRequest &stop, Listener &listener)
{
    Result result;
    const FamilyProtocol &protocol = familyProtocol(family);
    if (protocol.hasHeatRuns && !readHeatRuns(exchange, listener, result))
        return result;

    const std::optional<int> files = startupCount(exchange, protocol.countCommand, 5, result);
    if (!files)
        return result;
    const RecordFormat format = protocol.recordFormat(*files);
    listener.fileCountRead(*files, format);

    RecordFetch fetch(exchange, format, listener, stop);
    for (int index = 0; index < *files; ++index) {
        if (!listener.beforeRecord(index, *files))
            continue;
        if (stop.isRequested()) {
            fetch.end = End::Ended;
            fetch.stoppedAt = index;
            break;
        }
        if (!fetch.fetch(index))
            break;
    }
    // A completed load counts as done only once what is held is settled. A
    // load the listener stopped has handed over everything before that slot;
    // on Exit what is held is shown as it is.
    if (fetch.end == End::Completed)
        fetch.finish();
    else if (fetch.end == End::Ended)
        fetch.handOverUnsettled();
    result.end = fetch.end;
    result.stoppedAt = fetch.stoppedAt;
    return result;
}
} // namespace MeterLoad
