// SPDX-License-Identifier: MIT
#pragma once

#include "link/PortInfo.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Whether a process other than this one has `device` open (Linux: the file
// descriptors under /proc that this user may see); false where the system
// cannot tell. A port held that way, without a lock file or exclusive mode,
// could still be opened, and a request would land in another program's line.
bool openedByAnotherProcess(const QString &device);

// One round of a search for the meter, as the detection window's Search and
// kestrix-download --port auto run it: the USB serial adapters and the user's
// COMn links present when the round starts, each asked once, in order. Each
// port is checked again just before it is asked: still the same device behind
// its number, still an adapter or a link, and not open in another program
// (a pseudo-terminal behind a user's link is always held by its other side).
class PortSearch
{
public:
    using InUse = std::function<bool(const QString &device)>;
    explicit PortSearch(PortSource ports, InUse inUse = openedByAnotherProcess);

    // A new round; false when there is nothing to ask.
    bool start();
    void stop() { m_queue.clear(); m_running = false; }
    bool isRunning() const { return m_running; }
    // Whether the round has ports left to look at (they may yet be passed over).
    bool hasNext() const { return !m_queue.isEmpty(); }
    // The next port to ask, or nothing when the round has none left.
    std::optional<int> next();
    // The ports asked so far, in every round, as "COM 3".
    QStringList asked() const { return m_asked; }

private:
    PortSource m_ports;
    InUse m_inUse;
    QList<QPair<int, QString>> m_queue; // number, device
    QStringList m_asked;
    bool m_running = false;
};
