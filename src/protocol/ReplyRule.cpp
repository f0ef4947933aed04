// SPDX-License-Identifier: MIT
#include "protocol/ReplyRule.h"

#include <algorithm>

namespace {

bool endsAt(const QByteArray &received, int length)
{
    return length > 0 && length <= received.size() && received.at(length - 1) == ']';
}

// The shortest length from `from` on (up to the rule's longest) at which the
// received bytes end with "]", or ReplyRule::none.
int firstEndMarkFrom(const ReplyRule &rule, const QByteArray &received, int from)
{
    const int last = rule.longest > 0 ? std::min<int>(rule.longest, int(received.size())) : int(received.size());
    for (int length = std::max(from, 1); length <= last; ++length) {
        if (endsAt(received, length))
            return length;
    }
    return ReplyRule::none;
}

} // namespace

int ReplyRule::completeLength(const QByteArray &received) const
{
    const int from = std::max(awaited, needed);
    if (!endMark)
        return received.size() >= from ? int(received.size()) : none;
    return firstEndMarkFrom(*this, received, from);
}

int ReplyRule::acceptableLength(const QByteArray &received) const
{
    if (!endMark)
        return received.size() >= awaited ? int(received.size()) : none;
    return firstEndMarkFrom(*this, received, awaited);
}

bool ReplyRule::settled(const QByteArray &received) const
{
    return completeLength(received) != none || (endMark && longest > 0 && received.size() >= longest);
}

qint64 ReplyRule::missingBytes(const QByteArray &received) const
{
    return std::max<qint64>(1, qint64(std::max(awaited, needed)) - received.size());
}
