// SPDX-License-Identifier: MIT
#include "RequestFramer.h"

namespace sim {

QList<QByteArray> RequestFramer::feed(const QByteArray &bytes)
{
    QList<QByteArray> requests;
    for (char byte : bytes) {
        if (byte == '{') {
            m_pending = "{";
        } else if (!m_pending.isEmpty()) {
            m_pending.append(byte);
            if (byte == '}') {
                requests << m_pending;
                m_pending.clear();
            } else if (m_pending.size() > maxRequestSize) {
                m_pending.clear();
            }
        }
    }
    return requests;
}

} // namespace sim
