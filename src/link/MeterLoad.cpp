// SPDX-License-Identifier: MIT
#include "link/MeterLoad.h"

#include "link/StopRequest.h"
#include "protocol/HeatRunReply.h"
#include "protocol/ReplyFields.h"
#include "protocol/Request.h"

namespace MeterLoad {

namespace {

// The count a start-up request gives; nothing when the load cannot go on.
std::optional<int> startupCount(Exchange &exchange, const char *command, int lastDigit, Result &result)
{
    const Count count = requestCount(exchange, Request::command(command), 2, lastDigit);
    if (count.ok())
        return count.value;
    result.end = count.outcome == ExchangeOutcome::Ended ? End::Ended : End::StartupFailed;
    return std::nullopt;
}

// Winding meters tell their heat-run tests first. False when the load cannot go on.
bool readHeatRuns(Exchange &exchange, Listener &listener, Result &result)
{
    const std::optional<int> heatRuns = startupCount(exchange, "01", 3, result);
    if (!heatRuns)
        return false;
    listener.heatRunCountRead(*heatRuns);

    Exchange::pause(exchange.timing().startupPauseMs);
    QByteArray reply;
    const ExchangeOutcome outcome =
        exchange.request(Request::command("02"), heatRunNamesRule(*heatRuns), WaitEvents::Handled, &reply);
    if (outcome != ExchangeOutcome::Reply) {
        result.end = outcome == ExchangeOutcome::Ended ? End::Ended : End::StartupFailed;
        return false;
    }
    listener.heatRunNamesRead(heatRunNames(reply, *heatRuns));
    Exchange::pause(exchange.timing().startupPauseMs);
    return true;
}

} // namespace

ExchangeOutcome identify(Exchange &exchange, QByteArray *reply)
{
    return exchange.requestWithFixedWait(Request::command("00"), exchange.timing().probeWaitMs, reply);
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
    count.outcome = exchange.request(request, ReplyRule{4, lastDigit, true}, WaitEvents::Handled, &reply);
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

Result load(MeterKind family, Exchange &exchange, const StopRequest &stop, Listener &listener)
{
    Result result;
    if (family == MeterKind::Winding && !readHeatRuns(exchange, listener, result))
        return result;

    // Cable meters tell their file count on "{01}", the others on "{03}".
    const std::optional<int> files = startupCount(exchange, family == MeterKind::Cable ? "01" : "03", 5, result);
    if (!files)
        return result;
    const RecordFormat format = recordFormatFor(family, *files);
    listener.fileCountRead(*files, format);

    for (int index = 0; index < *files; ++index) {
        if (!listener.beforeRecord(index, *files))
            continue;
        if (stop.isRequested()) {
            result.end = End::Ended;
            return result;
        }
        QByteArray reply;
        const ExchangeOutcome outcome =
            exchange.request(format.request(index), format.rule, WaitEvents::Ignored, &reply);
        if (listener.recordFetched(index, outcome, reply) == Step::Stop) {
            result.end = stop.isRequested() ? End::Ended : End::Stopped;
            result.stoppedAt = index;
            return result;
        }
    }
    result.end = End::Completed;
    return result;
}

} // namespace MeterLoad
