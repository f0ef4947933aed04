// SPDX-License-Identifier: MIT
#include "FakeSerialLink.h"

bool FakeSerialLink::open()
{
    ++openCount;
    m_open = !failOpen;
    return m_open;
}

void FakeSerialLink::close()
{
    m_open = false;
    received.clear();
    arriving.clear();
}

QByteArray FakeSerialLink::readAll()
{
    QByteArray bytes;
    bytes.swap(received);
    return bytes;
}

void FakeSerialLink::write(const QByteArray &bytes)
{
    written << bytes;
    if (!responder)
        return;
    QList<QByteArray> pieces = responder(bytes);
    if (pieces.isEmpty())
        return;
    received += pieces.takeFirst();
    arriving += pieces;
}

bool FakeSerialLink::waitForMoreBytes(int, bool)
{
    if (!noise.isEmpty()) {
        received += arriving.isEmpty() ? noise : arriving.takeFirst();
        return true;
    }
    if (arriving.isEmpty())
        return false;
    const QByteArray piece = arriving.takeFirst();
    received += piece;
    return !piece.isEmpty();
}
