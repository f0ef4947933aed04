// SPDX-License-Identifier: MIT
#pragma once

#include "link/Exchange.h"
#include "protocol/MeterFamily.h"
#include "protocol/RecordFormat.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

class StopRequest;

// What a meter is asked, in which order and with which waits, from its
// identification to its last record. The windows and the command line both
// drive these, so the meter sees the same conversation from either.
namespace MeterLoad {

// An identification shorter than this is no answer.
constexpr int shortestIdentification = 4; // "KXT1" is the shortest one

// "{00}": the meter gets the probe wait to identify itself; whatever came by
// then is the reply. Events are handled during the wait.
ExchangeOutcome identify(Exchange &exchange, QByteArray *reply);
bool isIdentification(const QByteArray &reply);

// How a front end follows the search for a meter on one port.
struct IdentifyHooks
{
    // The COM number to try next; none when the user's entry is no number.
    std::function<std::optional<int>()> portNumber;
    // Each try, once the port was opened or could not be: the port's
    // errorString() then tells why.
    std::function<void(bool opened)> portTried;
    // After a try that found no meter (the port closed again): false gives up.
    std::function<bool(bool opened)> noMeterYet;
    // Whether an identification (4 bytes or more) counts; empty: every one
    // does. A search takes only the models it knows.
    std::function<bool(const QByteArray &model)> accepts;
};

struct Identified
{
    ExchangeOutcome outcome = ExchangeOutcome::TimedOut; // Reply, Ended, or TimedOut when given up
    QByteArray model;
};

// Until a meter identifies itself: opens the port and asks "{00}" (a port
// that cannot be opened is tried again after the probe wait). On Reply the
// port is left open on the meter.
Identified identifyMeter(SerialLink &port, Exchange &exchange, const IdentifyHooks &hooks);

// What the user is told of a record or file exchange that did not give a
// reply: "Communication Error" when none came in time, "Error downloading the
// file" when one came but cannot be trusted, the lost-meter text when the
// port went away.
QString failureText(ExchangeOutcome outcome);

struct Count
{
    ExchangeOutcome outcome = ExchangeOutcome::TimedOut;
    int value = 0;
    bool ok() const { return outcome == ExchangeOutcome::Reply; }
};

// A count request ("{01}", "{03}"): awaited at 4 bytes and read once the
// closing "]" is in (or at the time-out); the count is the decimal number in
// bytes firstDigit to lastDigit. A count field that is not a number is handled
// like no answer at all: the outcome is TimedOut.
Count requestCount(Exchange &exchange, const QByteArray &request, int firstDigit, int lastDigit);

enum class Step { GoOn, Stop };

enum class End {
    Completed,     // every wanted slot was fetched (some may have failed)
    Stopped,       // the listener stopped the load, or the meter was lost
    Ended,         // the stop request came
    StartupFailed, // a start-up request got no usable reply: there is no list
};

// Told of each stage of a load, in order. It decides which records are
// fetched and whether the load goes on after a failed one.
class Listener
{
public:
    virtual ~Listener() = default;

    // Winding meters only: the heat-run count ("{01}"), then the names ("{02}").
    virtual void heatRunCountRead(int count) { Q_UNUSED(count); }
    virtual void heatRunNamesRead(const QList<std::optional<QString>> &names) { Q_UNUSED(names); }

    // The measurement file count and the record format the meter uses for it.
    virtual void fileCountRead(int count, const RecordFormat &format) = 0;

    // Before the request for slot `index` of `count`; false skips the slot.
    // Runs before the stop request is looked at, so a listener may handle
    // events here.
    virtual bool beforeRecord(int index, int count) = 0;

    // The record exchange of slot `index` ended with `outcome`; `reply` holds
    // the reply when the outcome is Reply.
    virtual Step recordFetched(int index, ExchangeOutcome outcome, const QByteArray &reply) = 0;
};

struct Result
{
    End end = End::StartupFailed;
    // Stopped: the last slot asked for; every later one was not.
    int stoppedAt = -1;
};

// The family's start-up and one record exchange per wanted slot, on an open
// port. Winding meters: "{01}" heat-run count, a pause, "{02}" heat-run
// names, a pause, "{03}" file count, then "{11...}" per slot. Contact and
// ratio meters: "{03}" file count, then "{11nnnn}"; cable meters: "{01}",
// then "{10nnnn}". Start-up waits handle events; record waits do not.
Result load(MeterFamily family, Exchange &exchange, const StopRequest &stop, Listener &listener);

// The longest heat-run-test reply taken: what the meter window's port holds.
constexpr int longestHeatRunReply = int(SerialLink::meterBufferSize);

// "{10nn}" for heat-run slot `slot` (0-based): the file between "[" and "]"
// with a line end, as it is saved, waited for the heat-run time while
// handling events. The download counts only once the line has stayed quiet
// behind the reply. Reply with `content`;
// TimedOut when nothing came; Garbled when the brackets are missing, the line
// did not fall quiet, or the reply is longer than the port holds; Lost; Ended.
ExchangeOutcome fetchHeatRun(Exchange &exchange, int slot, QByteArray *content);

} // namespace MeterLoad
