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
// a fresh one, and a record carries no file number.
//
// While the line has shown nothing amiss, records are asked back to back and
// a reply is handed to the listener once the line has been seen quiet for the
// guard time behind it: behind a confirmed exchange, in a quiet check after
// every `heldAtMost` replies, or in the quiet wait that ends the load. Until
// then it is held, and so is every outcome behind it, so that the listener
// hears of the slots in order. A reply just like the one before (two empty
// slots, or a copy standing in for a slow answer) makes the next quiet check
// last until every answer window has closed, so that a displaced answer shows.
//
// The first sign of a meter that answers late or twice (bytes that could be a
// reply and answer no request, a time-out, a garbled reply, a reply like the
// one before on a line that repeats) ends that trust, because a copy sent
// later than the guard time lands in the next request's wait. From then on
// each record is asked alone: the request goes out only once every answer
// window that may still bring an answer nobody has seen has closed, so what
// comes is its own answer or a copy of a reply already taken. When such a copy
// comes first, the one reply behind it is the request's own; a reply just like
// one whose window was open when the request went out is asked for once more
// when every window has closed. Replies asked alone are held like the others;
// held replies are asked for again alone when a sign puts them in doubt.
// After `calmAfter` records with nothing but their own reply on the line, the
// line is trusted again.
class RecordFetch
{
public:
    // Bounds what one stray reply costs in questions asked again, and lets
    // the list and the progress follow the load.
    static constexpr int heldAtMost = 32;
    static constexpr int calmAfter = 16;

    RecordFetch(Exchange &exchange, const RecordFormat &format, Listener &listener, const StopRequest &stop)
        : m_exchange(exchange), m_format(format), m_listener(listener), m_stop(stop)
    {
    }

    // Asks for slot `index`. False when the load ends here (see `end`).
    bool fetch(int index)
    {
        if (m_alone)
            return fetchAlone(index);
        QByteArray reply;
        const ExchangeOutcome outcome =
            m_exchange.request(m_format.request(index), m_format.rule, WaitEvents::Ignored, &reply);
        if (outcome == ExchangeOutcome::Ended || m_stop.isRequested())
            return endedHere(End::Ended, index);
        // Nothing taken back to back is known to be its own before the line proves it.
        m_unknownUntil = m_exchange.answerWindowCloses();
        const bool doubt = m_exchange.earlierReplyInDoubt() || outcome == ExchangeOutcome::Suspect;
        const bool likeTheLast = outcome == ExchangeOutcome::Reply && reply == m_lastReply;
        // On a line that repeats replies, such a reply may be the copy of the
        // last one standing in for an answer still to come.
        const bool copyOfTheLast = likeTheLast && m_exchange.lineRepeatsReplies();
        if (doubt || copyOfTheLast || outcome == ExchangeOutcome::TimedOut || outcome == ExchangeOutcome::Garbled)
            return distrust(index, outcome, reply, doubt);
        if (outcome == ExchangeOutcome::Lost)
            return lostAt(index);
        if (likeTheLast)
            m_settleWhenWindowsClose = true;
        m_lastReply = reply;
        m_held.append({index, outcome, reply});
        if (m_exchange.lineProvedQuiet() && !m_settleWhenWindowsClose)
            return handOverHeld();
        return heldCount() < heldAtMost || checkQuiet();
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

    // A reply taken alone, while its answer window is open.
    struct Answered
    {
        int index;
        QByteArray reply;
        QDeadlineTimer windowCloses;
    };

    int heldCount() const { return int(m_held.size()); }

    // The sign of a meter that answers late or twice, seen in the exchange of
    // slot `index`: what is held is settled first; then a reply is asked for
    // alone, a failure is told.
    bool distrust(int index, ExchangeOutcome outcome, const QByteArray &reply, bool doubt)
    {
        m_alone = true;
        m_calmRecords = 0;
        const bool settled = doubt ? askAgainHeld() : m_held.isEmpty() || checkQuiet(m_unknownUntil);
        if (!settled)
            return false;
        if (outcome == ExchangeOutcome::Lost)
            return lostAt(index);
        if (outcome == ExchangeOutcome::Reply || outcome == ExchangeOutcome::Suspect)
            return fetchAlone(index);
        return tell(index, outcome, reply);
    }

    // The device went away in the exchange of slot `index`.
    bool lostAt(int index)
    {
        if (!handOverHeld())
            return false;
        tell(index, ExchangeOutcome::Lost, QByteArray());
        return endedHere(End::Stopped, index);
    }

    // A slot asked alone. The first time, its reply is held all the same: a
    // meter that has fallen one answer behind shows it only by an answer that
    // comes after the last request. Asked again, what comes is told (nothing
    // is held then).
    bool askAloneAt(int index, bool holdReply)
    {
        if (m_stop.isRequested())
            return endedHere(End::Ended, index);
        QByteArray reply;
        bool doubt = false;
        const ExchangeOutcome outcome = askAlone(index, &reply, &doubt);
        if (outcome == ExchangeOutcome::Ended)
            return endedHere(End::Ended, index);
        if (doubt && !askAgainHeld())
            return false;
        if (outcome == ExchangeOutcome::Lost)
            return lostAt(index);
        if (!holdReply || (outcome != ExchangeOutcome::Reply && m_held.isEmpty()))
            return tell(index, outcome, reply);
        m_held.append({index, outcome, reply});
        return outcome != ExchangeOutcome::Reply || heldCount() < heldAtMost || checkQuiet();
    }
    bool fetchAlone(int index) { return askAloneAt(index, true); }

    // Quiet for the guard time, or, with `notBefore` or after a reply like
    // the one before it, until every answer window has closed.
    bool checkQuiet(QDeadlineTimer notBefore = QDeadlineTimer())
    {
        if (std::exchange(m_settleWhenWindowsClose, false))
            notBefore = m_exchange.answerWindowCloses();
        switch (m_exchange.awaitQuietLine(Exchange::guardNs(m_format.rule), WaitEvents::Ignored, notBefore)) {
        case Exchange::Quiet::Quiet:
        case Exchange::Quiet::Lost:
            return handOverHeld();
        case Exchange::Quiet::Stray:
            m_alone = true;
            m_calmRecords = 0;
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

    // Held replies are asked for again alone; held failures stay what they were.
    bool askAgainHeld()
    {
        const QList<Held> held = std::exchange(m_held, {});
        for (const Held &record : held) {
            const bool goOn = record.outcome == ExchangeOutcome::Reply ? askAloneAt(record.index, false)
                                                                       : tell(record.index, record.outcome, record.reply);
            if (!goOn)
                return false;
        }
        return true;
    }

    ExchangeOutcome requestAlone(int index, const QDeadlineTimer &notBefore, QByteArray *reply)
    {
        const ExchangeOutcome outcome = m_exchange.request(m_format.request(index), m_format.rule, WaitEvents::Ignored,
                                                           reply, Exchange::Trust::Confirmed, notBefore);
        return m_stop.isRequested() ? ExchangeOutcome::Ended : outcome;
    }

    // Whether `bytes` is, or only repeats, a reply another slot took alone
    // while its window was open when this request went out.
    bool likeAnOpenAnswer(const QByteArray &bytes, int index) const
    {
        return std::any_of(m_answered.cbegin(), m_answered.cend(), [&](const Answered &answered) {
            return answered.index != index && repeatsReply(bytes, answered.reply);
        });
    }

    // The reply behind the copy of one taken alone, when nothing but its own
    // copies follows it and it is not like another open answer itself.
    std::optional<QByteArray> ownReplyBehind(int index) const
    {
        const QByteArray &behind = m_exchange.behindReply();
        const int length = m_format.rule.completeLength(behind);
        if (length == ReplyRule::none)
            return std::nullopt;
        const QByteArray own = behind.left(length);
        const QByteArray rest = behind.mid(length);
        if ((!rest.isEmpty() && !repeatsReply(rest, own)) || likeAnOpenAnswer(own, index))
            return std::nullopt;
        return own;
    }

    // One question alone, and once more when its answer cannot be told from
    // another's. `doubt`: the first one saw bytes that put held replies in doubt.
    ExchangeOutcome askAlone(int index, QByteArray *reply, bool *doubt)
    {
        // Only answers whose window is open when the request goes out can come in its wait.
        m_answered.removeIf([](const Answered &answered) { return answered.windowCloses.hasExpired(); });
        // Bytes dropped while an unknown answer may still come are that answer.
        const bool unknownAnswerDue = !m_unknownUntil.hasExpired();
        ExchangeOutcome outcome = requestAlone(index, m_unknownUntil, reply);
        const bool taken = outcome == ExchangeOutcome::Reply || outcome == ExchangeOutcome::Suspect;
        bool likeAnother = taken && likeAnOpenAnswer(*reply, index);
        if (outcome == ExchangeOutcome::Suspect && likeAnother) {
            // The copy of a reply taken alone came first; in a wait alone the
            // one reply behind it can only be this request's own.
            if (const std::optional<QByteArray> own = ownReplyBehind(index)) {
                *reply = *own;
                outcome = ExchangeOutcome::Reply;
                likeAnother = false;
            }
        } else if (outcome == ExchangeOutcome::Suspect && likeAnOpenAnswer(m_exchange.behindReply(), index)) {
            outcome = ExchangeOutcome::Reply; // its own reply, then a copy of another's
        }
        // Another reply behind the first means an answer is missing somewhere.
        *doubt = (outcome == ExchangeOutcome::Suspect && !likeAnother)
                 || (outcome != ExchangeOutcome::Ended && !unknownAnswerDue && droppedAnUnknownReply());
        bool calm = outcome == ExchangeOutcome::Reply && m_exchange.onlyTheReplyCame();
        if (outcome == ExchangeOutcome::Suspect || likeAnother) {
            // Once every window has closed, nothing but this request can be
            // answered. An answer with more behind it counts only as the same again.
            const QByteArray first = *reply;
            outcome = judgeSecondAnswer(requestAlone(index, m_exchange.answerWindowCloses(), reply), *reply, first);
            calm = false;
        }
        if (outcome == ExchangeOutcome::Ended)
            return outcome;
        if (outcome == ExchangeOutcome::Reply) {
            m_answered.append({index, *reply, m_exchange.answerWindowCloses()});
            m_lastReply = *reply;
        } else {
            m_unknownUntil = m_exchange.answerWindowCloses();
        }
        m_calmRecords = calm ? m_calmRecords + 1 : 0;
        if (m_calmRecords >= calmAfter) {
            m_alone = false;
            m_calmRecords = 0;
        }
        return outcome;
    }

    // Bytes dropped before a request alone put the held replies in doubt,
    // unless they only repeat a reply taken alone.
    bool droppedAnUnknownReply() const
    {
        const QByteArray &dropped = m_exchange.droppedBefore();
        return couldHoldReply(dropped) && !likeAnOpenAnswer(dropped, -1);
    }

    Exchange &m_exchange;
    const RecordFormat &m_format;
    Listener &m_listener;
    const StopRequest &m_stop;
    QList<Held> m_held;
    QByteArray m_lastReply;
    bool m_alone = false;                  // each record is asked alone
    bool m_settleWhenWindowsClose = false; // the next quiet check waits for every window to close
    int m_calmRecords = 0;                 // asked alone in a row with nothing but their reply
    QDeadlineTimer m_unknownUntil;         // until then an answer nobody has seen may still come
    QList<Answered> m_answered;
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
