// SPDX-License-Identifier: MIT
#include "PortLink.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace sim {

QString PortLink::whyNotReplaceable(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat status;
    if (lstat(name.constData(), &status) != 0)
        return {}; // no such name yet
    if (!S_ISLNK(status.st_mode))
        return QStringLiteral("%1 exists and is not a link; it is left alone").arg(path);
    char target[4096];
    const ssize_t length = readlink(name.constData(), target, sizeof target);
    const QByteArray targetPath = length > 0 ? QByteArray(target, length) : QByteArray();
    // Only a simulator's own leftover goes: a link to a pseudo-terminal that
    // is no more. A link to anything else is the user's (an adapter pinned to
    // this number) or another running simulator's.
    if (targetPath.startsWith("/dev/pts/") && access(targetPath.constData(), F_OK) != 0)
        return {};
    return QStringLiteral("%1 already points to %2; it is left alone. Choose another number with --com")
        .arg(path, QFile::decodeName(targetPath));
}

PortLink::~PortLink()
{
    withdraw();
}

bool PortLink::publish(const QString &folder, int number, const QString &device, QString *error)
{
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("cannot create %1").arg(folder);
        return false;
    }
    const QString path = folder + QStringLiteral("/COM%1").arg(number);
    const QString refusal = whyNotReplaceable(path);
    if (!refusal.isEmpty()) {
        *error = refusal;
        return false;
    }
    // A fresh link under a private name, then renamed over the old one: the
    // name never points nowhere, and a stale link from a killed run goes away.
    const QString temporary = path + QStringLiteral(".%1.new").arg(getpid());
    const QByteArray temporaryPath = QFile::encodeName(temporary);
    unlink(temporaryPath.constData());
    if (symlink(QFile::encodeName(device).constData(), temporaryPath.constData()) != 0
        || std::rename(temporaryPath.constData(), QFile::encodeName(path).constData()) != 0) {
        *error = QStringLiteral("cannot create the link %1: %2").arg(path, QString::fromLocal8Bit(strerror(errno)));
        unlink(temporaryPath.constData());
        return false;
    }
    m_path = path;
    m_target = device;
    return true;
}

void PortLink::withdraw()
{
    if (m_path.isEmpty())
        return;
    const QByteArray path = QFile::encodeName(m_path);
    char target[4096];
    const ssize_t length = readlink(path.constData(), target, sizeof target);
    if (length > 0 && QByteArray(target, length) == QFile::encodeName(m_target))
        unlink(path.constData());
    m_path.clear();
}

} // namespace sim
