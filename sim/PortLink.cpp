// SPDX-License-Identifier: MIT
#include "PortLink.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace sim {

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
