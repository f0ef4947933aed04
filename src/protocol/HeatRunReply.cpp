// SPDX-License-Identifier: MIT
#include "protocol/HeatRunReply.h"

#include "protocol/Request.h"
#include "protocol/ReplyFields.h"

#include <QRegularExpression>

namespace {

constexpr int nameLength = 12;
const QByteArray emptySlotName(nameLength, '-');

} // namespace

int heatRunSlotsUsed(int count)
{
    return qBound(0, count, heatRunSlotCount);
}

ReplyRule heatRunNamesRule(int count)
{
    // The window has eight slots; a meter that reports more fills those eight.
    const int used = heatRunSlotsUsed(count);
    const int awaited = heatRunSlotBytes * used;
    return ReplyRule{awaited, used > 0 ? awaited + 1 : 0, false};
}

QList<std::optional<QString>> heatRunNames(const QByteArray &reply, int count)
{
    QList<std::optional<QString>> names(heatRunSlotCount);
    for (int slot = 0; slot < heatRunSlotsUsed(count); ++slot) {
        const int first = heatRunSlotBytes * slot + 3;
        const QByteArray name = ReplyFields::slice(reply, first, first + nameLength - 1);
        if (name.size() == nameLength && name != emptySlotName)
            names[slot] = QString::fromLatin1(name);
    }
    return names;
}

std::optional<QByteArray> heatRunContent(const QByteArray &reply)
{
    if (reply.size() < 2 || reply.front() != '[' || reply.back() != ']')
        return std::nullopt;
    return reply.mid(1, reply.size() - 2);
}

QByteArray heatRunRequest(int slotIndex)
{
    return Request::withArgument("10", slotIndex + 1, 2);
}

QStringList heatRunLongestNames()
{
    return {QStringLiteral("HRT-JOB-0001"), QStringLiteral("000000000000")};
}

QString heatRunFileName(const QString &meterName, int slot, const QStringList &taken)
{
    QString name;
    for (const QChar character : meterName) {
        const bool kept = (character.unicode() < 0x80 && character.isLetterOrNumber()) || character == u' '
                          || character == u'.' || character == u'_' || character == u'-';
        name += kept ? character : QChar(u'_');
    }
    static const QRegularExpression edges(QStringLiteral("^[ .]+|[ .]+$"));
    name.remove(edges);
    if (name.isEmpty())
        name = QStringLiteral("heat-run-%1").arg(slot + 1);
    static const QRegularExpression reserved(QStringLiteral("^(CON|PRN|AUX|NUL|COM[1-9]|LPT[1-9])(\\..*)?$"),
                                             QRegularExpression::CaseInsensitiveOption);
    if (reserved.match(name).hasMatch())
        name.prepend(u'_');

    const auto isTaken = [&taken](const QString &candidate) { return taken.contains(candidate, Qt::CaseInsensitive); };
    QString fileName = name + QStringLiteral(".csv");
    for (int copy = 2; isTaken(fileName); ++copy)
        fileName = QStringLiteral("%1 (%2).csv").arg(name).arg(copy);
    return fileName;
}
