// SPDX-License-Identifier: MIT
#pragma once

#include "link/SerialLink.h"

#include <QList>
#include <functional>

// An in-memory meter behind the SerialLink interface. The responder answers
// each written request with the pieces of its reply: the first piece is
// waiting at once, each later one arrives at the next wait; an empty piece is
// a wait that passes with nothing. Pieces not yet delivered stay on the wire
// across requests, as a late reply does. A wait with nothing left to deliver
// returns at once as a time-out, so tests never sleep.
class FakeSerialLink : public SerialLink
{
public:
    using Responder = std::function<QList<QByteArray>(const QByteArray &request)>;

    Responder responder;
    QList<QByteArray> written;     // every request, in order
    QByteArray received;           // bytes waiting to be read
    QList<QByteArray> arriving;    // pieces still on the wire
    bool failOpen = false;
    int openCount = 0;

    void setPortNumber(int number) override { m_number = number; }
    int portNumber() const override { return m_number; }
    bool isOpen() const override { return m_open; }
    bool open() override;
    QString errorString() const override { return failOpen ? QStringLiteral("fake: cannot open") : QString(); }
    void close() override;
    qint64 bytesWaiting() override { return received.size(); }
    QByteArray readAll() override;
    void discardInput() override { received.clear(); }
    void write(const QByteArray &bytes) override;
    bool waitForMoreBytes(int msecs, bool handleEvents) override;
    bool deviceLost() const override { return lost; }

    bool lost = false;             // the device has gone away
    QByteArray noise;              // when set, every wait brings these bytes: a line that is never quiet

private:
    int m_number = 0;
    bool m_open = false;
};
