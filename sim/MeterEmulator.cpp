// SPDX-License-Identifier: MIT
#include "MeterEmulator.h"

#include "RecordLayout.h"

namespace sim {

namespace {

// A request is "{", two digits of command code, an argument of 0, 2 or 4
// digits, and "}". Anything else is not understood by any meter.
struct ParsedRequest
{
    QByteArray code;
    QByteArray argument;
};

bool parseRequest(const QByteArray &request, ParsedRequest &parsed)
{
    if (request.size() < 4 || !request.startsWith('{') || !request.endsWith('}'))
        return false;
    const QByteArray inner = request.mid(1, request.size() - 2);
    if (inner.size() != 2 && inner.size() != 4 && inner.size() != 6)
        return false;
    for (char c : inner) {
        if (c < '0' || c > '9')
            return false;
    }
    parsed.code = inner.left(2);
    parsed.argument = inner.mid(2);
    return true;
}

// Every second digit of the count field becomes a letter: "[0012]" -> "[0A1B]".
QByteArray spoilCount(QByteArray reply)
{
    char letter = 'A';
    for (qsizetype i = 2; i + 1 < reply.size(); i += 2)
        reply[i] = letter++;
    return reply;
}

} // namespace

MeterEmulator::MeterEmulator(MeterContent content, Faults faults)
    : m_content(std::move(content)), m_faults(std::move(faults))
{
}

QByteArray MeterEmulator::cleanReplyTo(const QByteArray &request, ReplyKind *kind) const
{
    ReplyKind found = ReplyKind::None;
    QByteArray reply;
    ParsedRequest parsed;
    if (parseRequest(request, parsed)) {
        const QByteArray &code = parsed.code;
        const int argument = parsed.argument.toInt();
        const qsizetype width = parsed.argument.size();
        const bool winding = m_content.family == Family::Winding;
        const bool contact = m_content.family == Family::Contact || m_content.family == Family::Ratio;
        const bool cable = m_content.family == Family::Cable;
        if (code == "00" && width == 0) {
            found = ReplyKind::Identification;
            reply = m_content.model;
        } else if (code == "01" && width == 0 && winding) {
            found = ReplyKind::Count;
            reply = layout::countReply(m_content.heatRunCount, 2);
        } else if (code == "02" && width == 0 && winding) {
            found = ReplyKind::HeatRunNames;
            reply = m_content.heatRunNamesReply();
        } else if (code == "03" && width == 0 && (winding || contact)) {
            found = ReplyKind::Count;
            reply = layout::countReply(m_content.fileCount, 4);
        } else if (code == "01" && width == 0 && cable) {
            found = ReplyKind::Count;
            reply = layout::countReply(m_content.fileCount, 4);
        } else if (code == "11" && winding && (width == 4 || width == 2)) {
            found = ReplyKind::Record;
            reply = width == 4 ? m_content.recordFor(argument) : m_content.shortRecordFor(argument);
        } else if (code == "10" && winding && width == 2) {
            found = ReplyKind::HeatRunFile;
            reply = m_content.heatRunReplyFor(argument - 1);
        } else if (code == "11" && contact && width == 4) {
            found = ReplyKind::Record;
            reply = m_content.recordFor(argument);
        } else if (code == "10" && cable && width == 4) {
            found = ReplyKind::Record;
            reply = m_content.recordFor(argument);
        }
    }
    if (kind)
        *kind = found;
    return reply;
}

QByteArray MeterEmulator::replyTo(const QByteArray &request)
{
    ReplyKind kind = ReplyKind::None;
    const QByteArray reply = cleanReplyTo(request, &kind);
    if (!m_faults.appliesTo(request))
        return reply;
    ++m_faultedRequests;
    if (m_faults.silent || (m_faults.silentAfter >= 0 && m_faultedRequests > m_faults.silentAfter))
        return QByteArray();
    if (kind == ReplyKind::None)
        return QByteArray();
    return applyFaults(reply, kind);
}

QByteArray MeterEmulator::applyFaults(QByteArray reply, ReplyKind kind) const
{
    if (m_faults.badCount && kind == ReplyKind::Count)
        reply = spoilCount(reply);
    if (m_faults.truncate > 0 && kind != ReplyKind::Identification)
        reply.chop(m_faults.truncate);
    const bool record = kind == ReplyKind::Record || kind == ReplyKind::HeatRunFile;
    if (m_faults.badEnd && record && !reply.isEmpty())
        reply[reply.size() - 1] = '[';
    return (reply + m_faults.extra).repeated(m_faults.repeat);
}

} // namespace sim
