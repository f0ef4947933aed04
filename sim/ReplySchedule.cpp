// SPDX-License-Identifier: MIT
#include "ReplySchedule.h"

#include <algorithm>

namespace sim {

QList<ScheduledWrite> scheduleReply(const QByteArray &reply, qint64 startNs, const Pacing &pacing)
{
    QList<ScheduledWrite> writes;
    if (reply.isEmpty())
        return writes;
    const qsizetype pieces = std::clamp<qsizetype>(pacing.pieces, 1, reply.size());
    const qsizetype base = reply.size() / pieces;
    const qsizetype longer = reply.size() % pieces;   // the first pieces take one byte more
    qint64 pieceStart = startNs + pacing.latencyNs;
    qsizetype offset = 0;
    for (qsizetype piece = 0; piece < pieces; ++piece) {
        const qsizetype size = base + (piece < longer ? 1 : 0);
        const QByteArray bytes = reply.mid(offset, size);
        offset += size;
        if (!pacing.paced) {
            writes << ScheduledWrite{pieceStart, bytes};
        } else {
            for (qsizetype k = 0; k < size; ++k)
                writes << ScheduledWrite{pieceStart + characterTimeNs(k + 1), bytes.mid(k, 1)};
        }
        pieceStart = writes.last().dueNs + pacing.gapNs;
    }
    return writes;
}

QList<ScheduledWrite> throughAdapter(const QList<ScheduledWrite> &writes, qint64 latencyNs)
{
    if (latencyNs <= 0)
        return writes;
    const auto nextTick = [latencyNs](qint64 ns) { return (ns + latencyNs - 1) / latencyNs * latencyNs; };
    QList<ScheduledWrite> delivered;
    QByteArray held;
    qint64 heldUntil = 0;
    for (const ScheduledWrite &write : writes) {
        const qint64 tick = nextTick(write.dueNs);
        for (const char byte : write.bytes) {
            if (!held.isEmpty() && tick != heldUntil) {
                delivered << ScheduledWrite{heldUntil, held};
                held.clear();
            }
            held += byte;
            heldUntil = tick;
            if (held.size() == adapterPacketBytes) {
                delivered << ScheduledWrite{write.dueNs, held};
                held.clear();
            }
        }
    }
    if (!held.isEmpty())
        delivered << ScheduledWrite{heldUntil, held};
    return delivered;
}

QList<QByteArray> separateCopies(const QByteArray &reply, int copies, const Pacing &pacing)
{
    if (pacing.repeatGapNs <= 0 || copies < 2 || reply.size() % copies != 0)
        return {reply};
    return QList<QByteArray>(copies, reply.left(reply.size() / copies));
}

bool isLateReply(int faultedAnswer, const Pacing &pacing)
{
    return pacing.lateNs > 0 && faultedAnswer % std::max(1, pacing.lateEvery) == 0;
}

} // namespace sim
