// SPDX-License-Identifier: MIT
#include "protocol/ReplyFields.h"

namespace ReplyFields {

QByteArray slice(const QByteArray &reply, int first, int last)
{
    if (first < 1 || last < first || first > reply.size())
        return {};
    const int end = qMin(last, int(reply.size()));
    return reply.mid(first - 1, end - first + 1);
}

std::optional<int> decimal(const QByteArray &reply, int first, int last)
{
    if (first < 1 || last < first || last > reply.size())
        return std::nullopt;
    const QByteArray digits = slice(reply, first, last).trimmed();
    // Ten digits could overflow an int; the meters never send more than four.
    if (digits.isEmpty() || digits.size() > 9)
        return std::nullopt;
    int value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<int> byteAt(const QByteArray &reply, int position)
{
    if (position < 1 || position > reply.size())
        return std::nullopt;
    return int(static_cast<unsigned char>(reply.at(position - 1)));
}

bool endsWithCloseBracket(const QByteArray &reply)
{
    return !reply.isEmpty() && reply.back() == ']';
}

} // namespace ReplyFields
