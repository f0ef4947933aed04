// SPDX-License-Identifier: MIT
#pragma once

#include "Faults.h"
#include "MeterContent.h"

#include <QByteArray>

namespace sim {

// The meter's side of every exchange, without any I/O: a request in, the
// reply bytes out.
class MeterEmulator
{
public:
    // What a request asks for; decides which faults touch the reply.
    enum class ReplyKind { None, Identification, Count, HeatRunNames, Record, HeatRunFile };

    explicit MeterEmulator(MeterContent content, Faults faults = {});

    // The complete reply to one framed request ("{...}"), faults applied;
    // empty means the meter stays silent. Counts the request for --silent-after.
    QByteArray replyTo(const QByteArray &request);

    // The reply a healthy meter gives, and what kind of reply it is.
    QByteArray cleanReplyTo(const QByteArray &request, ReplyKind *kind = nullptr) const;

    // Whether the faults apply to this request (used for faults in timing too).
    bool faultsApplyTo(const QByteArray &request) const { return m_faults.appliesTo(request); }

    const MeterContent &content() const { return m_content; }
    const Faults &faults() const { return m_faults; }
    Family family() const { return m_content.family; }
    int fileCount() const { return m_content.fileCount; }
    int heatRunCount() const { return m_content.heatRunCount; }
    // Record reply of a measurement slot (winding: long form) and the winding short form.
    QByteArray recordBytes(int slot) const { return m_content.recordFor(slot); }
    QByteArray shortRecordBytes(int slot) const { return m_content.shortRecordFor(slot); }
    // Heat-run slot (0-based): its 12-byte name in the names reply and its CSV content.
    QByteArray heatRunName(int slot) const { return m_content.heatRunNameFor(slot); }
    QByteArray heatRunContent(int slot) const { return m_content.heatRunFiles.value(slot).content; }

private:
    QByteArray applyFaults(QByteArray reply, ReplyKind kind) const;

    MeterContent m_content;
    Faults m_faults;
    int m_faultedRequests = 0;
};

} // namespace sim
