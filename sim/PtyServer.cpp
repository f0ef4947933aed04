// SPDX-License-Identifier: MIT
#include "PtyServer.h"

#include "MonotonicClock.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace sim {

namespace {

constexpr qint64 nsPerMs = 1'000'000;

QString systemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(strerror(errno)));
}

} // namespace

PtyServer::PtyServer(MeterEmulator &emulator, ServerSettings settings)
    : m_emulator(emulator), m_settings(std::move(settings))
{
}

PtyServer::~PtyServer()
{
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
}

bool PtyServer::open(QString *error)
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        *error = systemError("cannot open a pseudo-terminal");
        return false;
    }
    const char *name = ptsname(m_master);
    if (!name) {
        *error = systemError("ptsname");
        return false;
    }
    m_devicePath = QString::fromLocal8Bit(name);
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_slave < 0) {
        *error = systemError("cannot open the pseudo-terminal's slave side");
        return false;
    }
    termios settings{};
    tcgetattr(m_slave, &settings);
    cfmakeraw(&settings);
    cfsetispeed(&settings, B19200);
    cfsetospeed(&settings, B19200);
    tcsetattr(m_slave, TCSANOW, &settings);
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    fcntl(m_master, F_SETFD, FD_CLOEXEC);
    fcntl(m_slave, F_SETFD, FD_CLOEXEC);
    if (!m_settings.logPath.isEmpty()) {
        m_log.setFileName(m_settings.logPath);
        if (!m_log.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            *error = QStringLiteral("cannot write %1: %2").arg(m_settings.logPath, m_log.errorString());
            return false;
        }
    }
    return true;
}

bool PtyServer::serve(int stopFd, QString *error)
{
    const qint64 start = monotonicNs();
    m_lineFreeNs = start;
    if (!m_settings.stale.isEmpty())
        schedule(m_settings.stale, start, Pacing{m_settings.pacing.paced, 0, 1, 0});
    for (;;) {
        qint64 now = monotonicNs();
        if (!writeDue(now, error))
            return false;
        const qint64 due = nextDueNs();
        // Closer than poll()'s millisecond: look at the line and the stop
        // request without waiting, then sleep to the exact moment. A line
        // that is never idle (paced bytes back to back) still hears both.
        const bool sleepToDue = due >= 0 && due - now < nsPerMs && m_unwritten.isEmpty();
        // While the pty is full, due bytes only pile up behind the unwritten
        // ones: wait for room (POLLOUT) rather than for the schedule.
        const bool waitForTimer = due >= 0 && m_unwritten.isEmpty();
        const int timeoutMs =
            sleepToDue ? 0 : waitForTimer ? int(std::max<qint64>(0, (due - now) / nsPerMs)) : -1;
        pollfd fds[2] = {{m_master, short(POLLIN | (m_unwritten.isEmpty() ? 0 : POLLOUT)), 0},
                         {stopFd, POLLIN, 0}};
        if (poll(fds, 2, timeoutMs) < 0) {
            if (errno == EINTR)
                continue;
            *error = systemError("poll");
            return false;
        }
        if (fds[1].revents)
            return true;
        if (fds[0].revents & POLLIN)
            readRequests(monotonicNs());
        else if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) {
            // Cannot happen while we hold the slave side; never spin on it.
            *error = QStringLiteral("the pseudo-terminal failed");
            return false;
        } else if (sleepToDue) {
            sleepUntil(due);
        }
    }
}

void PtyServer::readRequests(qint64 now)
{
    char buffer[4096];
    const ssize_t count = ::read(m_master, buffer, sizeof buffer);
    if (count <= 0)
        return;
    for (const QByteArray &request : m_framer.feed(QByteArray(buffer, count))) {
        logRequest(request, now);
        m_staleDueNs = -1;   // a new request cancels the pending stale text
        answer(request, now);
    }
}

void PtyServer::answer(const QByteArray &request, qint64 now)
{
    const QByteArray reply = m_emulator.replyTo(request);
    if (reply.isEmpty())
        return;
    const bool faulted = m_emulator.faultsApplyTo(request);
    Pacing pacing = m_settings.pacing;
    if (!faulted) {
        pacing.pieces = 1;
        pacing.gapNs = 0;
        pacing.repeatGapNs = 0;
    }
    const bool late = faulted && isLateReply(++m_faultedAnswers, pacing);
    if (late) {
        const qint64 due = now + pacing.lateNs;
        qsizetype at = 0;
        while (at < m_late.size() && m_late[at].dueNs <= due)
            ++at;
        m_late.insert(at, {due, reply, pacing});
    } else {
        scheduleCopies(reply, now, pacing);
    }
    if (!m_settings.noise.isEmpty() && m_noiseDueNs < 0 && faulted)
        m_noiseDueNs = m_lineFreeNs;
    if (!m_settings.stale.isEmpty())
        m_staleDueNs = m_lineFreeNs + m_settings.staleDelayNs;
}

void PtyServer::scheduleCopies(const QByteArray &reply, qint64 now, const Pacing &pacing)
{
    const QList<QByteArray> copies = separateCopies(reply, m_emulator.faults().repeat, pacing);
    schedule(copies.first(), now, pacing);
    for (qsizetype more = 1; more < copies.size(); ++more)
        schedule(copies[more], m_lineFreeNs + pacing.repeatGapNs, pacing);
}

void PtyServer::schedule(const QByteArray &bytes, qint64 now, const Pacing &pacing)
{
    const QList<ScheduledWrite> writes = scheduleReply(bytes, std::max(now, m_lineFreeNs), pacing);
    if (writes.isEmpty())
        return;
    // The line is free when the meter has sent the last byte, whenever the adapter passes it on.
    m_queue << throughAdapter(writes, m_settings.pacing.adapterLatencyNs);
    m_lineFreeNs = writes.last().dueNs;
}

bool PtyServer::writeDue(qint64 now, QString *error)
{
    if (m_staleDueNs >= 0 && m_staleDueNs <= now) {
        m_staleDueNs = -1;
        schedule(m_settings.stale, now, Pacing{m_settings.pacing.paced, 0, 1, 0});
    }
    if (m_noiseDueNs >= 0 && m_noiseDueNs <= now) {
        schedule(m_settings.noise, now, Pacing{m_settings.pacing.paced, 0, 1, 0});
        m_noiseDueNs = std::max(now, m_lineFreeNs) + m_settings.noiseEveryNs;
    }
    while (!m_late.isEmpty() && m_late.first().dueNs <= now) {
        const LateReply late = m_late.takeFirst();
        scheduleCopies(late.bytes, now, late.pacing);
    }
    while (!m_queue.isEmpty() && m_queue.first().dueNs <= now)
        m_unwritten += m_queue.takeFirst().bytes;
    if (m_unwritten.isEmpty())
        return true;
    const ssize_t written = ::write(m_master, m_unwritten.constData(), size_t(m_unwritten.size()));
    if (written < 0) {
        if (errno == EAGAIN || errno == EINTR)
            return true;   // the pty is full; poll() tells when it takes more
        *error = systemError("write");
        return false;
    }
    m_unwritten.remove(0, written);
    return true;
}

qint64 PtyServer::nextDueNs() const
{
    qint64 due = m_queue.isEmpty() ? -1 : m_queue.first().dueNs;
    for (const qint64 timer : {m_staleDueNs, m_noiseDueNs, m_late.isEmpty() ? qint64(-1) : m_late.first().dueNs}) {
        if (timer >= 0 && (due < 0 || timer < due))
            due = timer;
    }
    return due;
}

void PtyServer::logRequest(const QByteArray &request, qint64 now)
{
    if (!m_log.isOpen())
        return;
    m_log.write(QByteArray::number(now) + ' ' + request + '\n');
    m_log.flush();
}

} // namespace sim
