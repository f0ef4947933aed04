// SPDX-License-Identifier: MIT
#include "link/PortSearch.h"

#include "link/PortMap.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_LINUX
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

bool isPseudoTerminal(const QString &device)
{
    const QString canonical = QFileInfo(device).canonicalFilePath();
    return (canonical.isEmpty() ? device : canonical).startsWith(QLatin1String("/dev/pts/"));
}

#ifdef Q_OS_LINUX
bool isDigits(const char *name)
{
    if (!*name)
        return false;
    for (; *name; ++name) {
        if (*name < '0' || *name > '9')
            return false;
    }
    return true;
}

bool processHolds(const QByteArray &fdFolder, dev_t device)
{
    DIR *fds = opendir(fdFolder.constData());
    if (!fds)
        return false; // another user's process, or gone
    bool holds = false;
    while (const dirent *entry = readdir(fds)) {
        struct stat status{};
        if (isDigits(entry->d_name) && stat((fdFolder + '/' + entry->d_name).constData(), &status) == 0
            && S_ISCHR(status.st_mode) && status.st_rdev == device) {
            holds = true;
            break;
        }
    }
    closedir(fds);
    return holds;
}
#endif

} // namespace

bool openedByAnotherProcess(const QString &device)
{
#ifdef Q_OS_LINUX
    struct stat target{};
    if (stat(QFile::encodeName(device).constData(), &target) != 0 || !S_ISCHR(target.st_mode))
        return false;
    const QByteArray self = QByteArray::number(qint64(getpid()));
    DIR *processes = opendir("/proc");
    if (!processes)
        return false;
    bool held = false;
    while (const dirent *entry = readdir(processes)) {
        if (isDigits(entry->d_name) && self != entry->d_name
            && processHolds(QByteArray("/proc/") + entry->d_name + "/fd", target.st_rdev)) {
            held = true;
            break;
        }
    }
    closedir(processes);
    return held;
#else
    Q_UNUSED(device);
    return false;
#endif
}

PortSearch::PortSearch(PortSource ports, InUse inUse) : m_ports(std::move(ports)), m_inUse(std::move(inUse)) {}

bool PortSearch::start()
{
    const PortMap map = PortMap::current(m_ports);
    m_queue.clear();
    for (const int number : map.searchable())
        m_queue.append({number, map.deviceFor(number)});
    m_running = !m_queue.isEmpty();
    return m_running;
}

std::optional<int> PortSearch::next()
{
    while (!m_queue.isEmpty()) {
        const auto [number, device] = m_queue.takeFirst();
        const PortMap now = PortMap::current(m_ports);
        if (now.deviceFor(number) != device || !now.searchable().contains(number))
            continue; // unplugged, or another device took the number
        if (!isPseudoTerminal(device) && m_inUse(device))
            continue;
        const QString name = QStringLiteral("COM %1").arg(number);
        if (!m_asked.contains(name))
            m_asked << name;
        return number;
    }
    return std::nullopt;
}
