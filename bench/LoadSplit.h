// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QList>
#include <QtGlobal>

// Splits one measured load into what the line and the fixed waits take (the
// floor) and what the program adds, from the simulator's request log.
namespace bench {

// One line of the simulator's request log: when the request's "}" came in
// (CLOCK_MONOTONIC nanoseconds) and the request itself.
struct LoggedRequest
{
    qint64 ns = 0;
    QByteArray request;

    bool operator==(const LoggedRequest &other) const = default;
};

// Lines that do not start with a number and a blank are skipped.
QList<LoggedRequest> parseRequestLog(const QByteArray &text);

// One exchange of a load, as the line carried it.
struct LinkExchange
{
    qint64 arrivalNs = 0;          // the request is in at the meter
    int requestBytes = 0;
    int replyBytes = 0;
    qint64 waitFromRequestNs = 0;  // fixed wait that starts with the request (identification: 1 s)
    qint64 waitAfterReplyNs = 0;   // fixed pause after the reply is read (1 s, winding start-up)
};

struct Link
{
    bool paced = true;             // 19200 baud, 10 bits a byte; else replies come at once
    qint64 latencyNs = 0;          // the meter's delay before its reply starts
};

// The time the line needs for this many bytes (none on an unpaced link).
qint64 wireNs(const Link &link, qint64 bytes);

// From the request's arrival until the next request can arrive, if the
// program took no time at all: the reply on the wire (or the fixed wait it
// falls into), then the fixed pause. With `withRequestWire` the request's own
// wire time is counted as well, as on a real line; a pseudo-terminal hands
// the program's requests over at once.
qint64 exchangeFloorNs(const LinkExchange &exchange, const Link &link, bool withRequestWire);

struct LoadSplit
{
    qint64 loadNs = 0;             // timer armed -> window shown
    qint64 floorNs = 0;            // fixed waits + wire time of requests and replies + latency
    qint64 requestWireNs = 0;      // the part of floorNs a pseudo-terminal does not spend
    qint64 overheadNs = 0;         // loadNs - (floorNs - requestWireNs): the program's own time
    qint64 startNs = 0;            // timer fired -> port opened, first request written
    qint64 windowNs = 0;           // after the identification: port closed, family window made, port opened
    qint64 finishNs = 0;           // last reply in -> window shown
    QList<qint64> exchangeGapsNs;  // program time before each later family request
};

// `armedNs` is where the detection window's timer of `timerNs` counts from
// (its firing minus `timerNs`), `shownNs` when the family window was on screen; the first exchange is the
// identification. Every term of overheadNs is one of the parts listed.
LoadSplit splitLoad(qint64 armedNs, qint64 timerNs, const QList<LinkExchange> &exchanges, qint64 shownNs,
                    const Link &link);

} // namespace bench
