// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

// What a reply must hold before it is decoded.
struct ReplyRule
{
    // Fewer bytes than this when the time-out ends means the meter did not answer.
    int awaited = 0;
    // The decoder reads this many bytes; the wait reads on until they are in.
    int needed = 0;
    // Record replies end with "]": the wait reads on until the last byte is one.
    bool endMark = false;
    // The longest reply the meter sends (0: no limit). A reply with an end
    // mark is only taken at a length from `awaited` to this, with the "]" as
    // its last byte: bytes before or after such a reply are stray, and a
    // reply of any other length would be decoded shifted.
    int longest = 0;

    static constexpr int none = -1;
    // Length of the reply at the front of `received` that is complete enough
    // to stop waiting (at least `needed` bytes), or `none`.
    int completeLength(const QByteArray &received) const;
    // Length of the reply at the front of `received` that may be decoded once
    // the wait is over (at least `awaited` bytes), or `none`.
    int acceptableLength(const QByteArray &received) const;
    // True when no byte still to come can change what the reply is: it is
    // complete, or as long as the longest reply.
    bool settled(const QByteArray &received) const;
    // How many more bytes an incomplete reply needs at least (1 when only the end mark is missing).
    qint64 missingBytes(const QByteArray &received) const;
};
