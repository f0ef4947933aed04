// SPDX-License-Identifier: MIT
#include "LoadSplit.h"

#include "ReplySchedule.h"

#include <algorithm>

namespace bench {

QList<LoggedRequest> parseRequestLog(const QByteArray &text)
{
    QList<LoggedRequest> requests;
    for (const QByteArray &line : text.split('\n')) {
        const qsizetype blank = line.indexOf(' ');
        if (blank <= 0)
            continue;
        bool ok = false;
        const qint64 ns = line.left(blank).toLongLong(&ok);
        if (ok)
            requests << LoggedRequest{ns, line.mid(blank + 1)};
    }
    return requests;
}

qint64 wireNs(const Link &link, qint64 bytes)
{
    return link.paced ? sim::characterTimeNs(bytes) : 0;
}

qint64 exchangeFloorNs(const LinkExchange &exchange, const Link &link, bool withRequestWire)
{
    const qint64 request = withRequestWire ? wireNs(link, exchange.requestBytes) : 0;
    const qint64 line = request + link.latencyNs + wireNs(link, exchange.replyBytes);
    // A fixed wait starts when the request is written; the reply arrives inside it.
    return std::max(line, exchange.waitFromRequestNs) + exchange.waitAfterReplyNs;
}

LoadSplit splitLoad(qint64 armedNs, qint64 timerNs, const QList<LinkExchange> &exchanges, qint64 shownNs,
                    const Link &link)
{
    LoadSplit split;
    split.loadNs = shownNs - armedNs;
    split.floorNs = timerNs;
    qint64 linkFloor = timerNs;
    for (const LinkExchange &exchange : exchanges) {
        split.floorNs += exchangeFloorNs(exchange, link, true);
        linkFloor += exchangeFloorNs(exchange, link, false);
    }
    split.requestWireNs = split.floorNs - linkFloor;
    split.overheadNs = split.loadNs - linkFloor;
    if (exchanges.isEmpty()) {
        split.startNs = split.overheadNs;
        return split;
    }

    split.startNs = exchanges.first().arrivalNs - armedNs - timerNs;
    for (qsizetype i = 0; i + 1 < exchanges.size(); ++i) {
        const qint64 ready = exchanges[i].arrivalNs + exchangeFloorNs(exchanges[i], link, false);
        const qint64 gap = exchanges[i + 1].arrivalNs - ready;
        if (i == 0)
            split.windowNs = gap;
        else
            split.exchangeGapsNs << gap;
    }
    split.finishNs = shownNs - exchanges.last().arrivalNs - exchangeFloorNs(exchanges.last(), link, false);
    return split;
}

} // namespace bench
