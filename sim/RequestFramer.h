// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QList>

namespace sim {

// Cuts the byte stream from the program into requests "{...}". Bytes before a
// "{" are line noise and dropped; a second "{" before the "}" starts over, so
// "{0{00}" yields "{00}". An unclosed request longer than any real one is dropped.
class RequestFramer
{
public:
    static constexpr int maxRequestSize = 32;

    QList<QByteArray> feed(const QByteArray &bytes);

private:
    QByteArray m_pending;   // "{" and what followed it, or empty
};

} // namespace sim
