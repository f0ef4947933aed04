// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

// A pseudo-terminal standing in for a meter's serial line: the program opens
// the slave device, the test reads and writes the meter's side on the master.
// Destroying it is the adapter being pulled.
class PtyMeter
{
public:
    PtyMeter()
    {
        m_master = posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0)
            return;
        m_device = QString::fromLocal8Bit(ptsname(m_master));
        // Held open so the line keeps its raw settings between opens.
        m_slave = ::open(ptsname(m_master), O_RDWR | O_NOCTTY | O_NONBLOCK);
        termios settings{};
        tcgetattr(m_slave, &settings);
        cfmakeraw(&settings);
        tcsetattr(m_slave, TCSANOW, &settings);
    }
    ~PtyMeter()
    {
        if (m_slave >= 0)
            ::close(m_slave);
        if (m_master >= 0)
            ::close(m_master);
    }
    PtyMeter(const PtyMeter &) = delete;
    PtyMeter &operator=(const PtyMeter &) = delete;

    QString device() const { return m_device; }
    int masterFd() const { return m_master; }

    bool send(const QByteArray &bytes) const
    {
        return ::write(m_master, bytes.constData(), size_t(bytes.size())) == bytes.size();
    }

    // What the program has written, once `count` bytes are in or nothing more
    // came for `msecs`.
    QByteArray receive(qsizetype count, int msecs) const
    {
        QByteArray bytes;
        pollfd ready{m_master, POLLIN, 0};
        while (bytes.size() < count && poll(&ready, 1, msecs) > 0 && (ready.revents & POLLIN)) {
            char buffer[256];
            const ssize_t got = ::read(m_master, buffer, sizeof buffer);
            if (got <= 0)
                break;
            bytes.append(buffer, got);
        }
        return bytes;
    }

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_device;
};

// Publishes `target` as COM `number` in the port-map folder `folder`.
inline bool publishPort(const QString &folder, int number, const QString &target)
{
    QDir().mkpath(folder);
    const QString link = folder + QStringLiteral("/COM%1").arg(number);
    QFile::remove(link);
    return QFile::link(target, link);
}
