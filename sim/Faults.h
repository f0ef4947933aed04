// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

namespace sim {

// Misbehaviour that changes the bytes of a reply. All of them together obey
// `onlyPrefix`: when it is set, a request that does not start with it is
// answered correctly and does not count for `silentAfter`.
struct Faults
{
    bool silent = false;          // never answers
    int silentAfter = -1;         // answers the first N requests only (-1: always)
    int truncate = 0;             // drops the last N bytes of every reply but the identification
    bool badEnd = false;          // the last byte of record and heat-run-file replies becomes '['
    bool badCount = false;        // count fields carry letters: "[0012]" becomes "[0A1B]"
    QByteArray extra;             // appended right after every reply
    int repeat = 1;               // every reply (with its extra bytes) is sent this many times
    QByteArray onlyPrefix;        // restricts all of the above to matching requests

    bool appliesTo(const QByteArray &request) const { return request.startsWith(onlyPrefix); }
};

} // namespace sim
