// SPDX-License-Identifier: MIT
#pragma once

#include "link/SerialLink.h"

#include "MeterEmulator.h"
#include "RequestFramer.h"
#include "SimOptions.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

// The simulator's meter, in this process: it takes the simulator's command
// line and answers with the same bytes, with the faults of the same options.
// There is no clock: a reply is waiting at once, or, sent in pieces, one piece
// more arrives at each wait or pass of the event loop; a wait with nothing
// left returns at once as a time-out. Stale text waits when a port opens (its
// repeats after replies need the simulator's clock); noise arrives at every
// wait once the first faulted reply is out. A late reply (--late-ms) lets its
// own wait time out and comes at the next wait, whatever was asked meanwhile.
class MemoryMeter
{
public:
    explicit MemoryMeter(const QStringList &simArguments);

    // Empty when the arguments were good.
    QString error() const { return m_error; }

    // A port as the program's port factory gives it.
    std::unique_ptr<SerialLink> makePort();

    // The device goes away: open ports find it lost, and it cannot be opened again.
    void unplug() { m_unplugged = true; }
    bool unplugged() const { return m_unplugged; }

    // Every request the meter received, in order.
    QStringList requests;
    // Ports open on the meter right now.
    int openPorts = 0;
    // Called with each request before the meter answers it.
    std::function<void(const QByteArray &request)> onRequest;

private:
    friend class MemoryMeterLink;

    sim::SimOptions m_options;
    std::optional<sim::MeterEmulator> m_emulator;
    QString m_error;
    bool m_unplugged = false;
    bool m_noisy = false;
    int m_faultedAnswers = 0;
};
