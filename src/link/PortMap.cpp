// SPDX-License-Identifier: MIT
#include "link/PortMap.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <QStandardPaths>
#include <QRegularExpression>

#include <algorithm>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// Linux names USB serial adapters ttyUSB*/ttyACM*, macOS cu.usbserial*/cu.usbmodem*.
bool isUsbAdapter(const QString &device)
{
    const QString name = QFileInfo(device).fileName();
    return name.startsWith(QLatin1String("ttyUSB")) || name.startsWith(QLatin1String("ttyACM"))
           || name.startsWith(QLatin1String("cu.usbserial")) || name.startsWith(QLatin1String("cu.usbmodem"));
}

// macOS lists every port twice: cu.* is the one to open, tty.* waits for a
// carrier that an adapter never raises. Its Bluetooth ports are no meter.
bool isUsable(const QString &device)
{
    const QString name = QFileInfo(device).fileName();
    return !name.startsWith(QLatin1String("tty.")) && !name.contains(QLatin1String("bluetooth"), Qt::CaseInsensitive);
}

// "ttyUSB10" sorts after "ttyUSB2": the trailing number compares as a number.
bool deviceLess(const QString &a, const QString &b)
{
    const auto split = [](const QString &name) {
        qsizetype digits = name.size();
        while (digits > 0 && name.at(digits - 1).isDigit())
            --digits;
        return std::pair{name.left(digits), name.mid(digits).toLongLong()};
    };
    const auto [stemA, numberA] = split(a);
    const auto [stemB, numberB] = split(b);
    if (stemA != stemB)
        return stemA < stemB;
    return numberA < numberB;
}

QString shortName(const QString &device)
{
    QString name = device;
    if (name.startsWith(QLatin1String("/dev/")))
        name.remove(0, 5);
    return name;
}

} // namespace

std::optional<int> portNumberIn(const QString &text)
{
    QStringView rest = QStringView(text).trimmed();
    if (rest.startsWith(QLatin1String("COM"), Qt::CaseInsensitive))
        rest = rest.mid(3).trimmed();
    int value = 0;
    int digits = 0;
    for (const QChar c : rest) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        if (++digits > 6)
            break; // far beyond any port number already
        value = value * 10 + (c.unicode() - '0');
    }
    if (digits == 0)
        return std::nullopt;
    return value;
}

QStringList PortMap::orderDevices(QStringList devices)
{
    devices.removeDuplicates();
    devices.removeIf([](const QString &device) { return !isUsable(device); });
    std::stable_sort(devices.begin(), devices.end(), [&](const QString &a, const QString &b) {
        const bool usbA = isUsbAdapter(a);
        const bool usbB = isUsbAdapter(b);
        if (usbA != usbB)
            return usbA;
        return deviceLess(a, b);
    });
    return devices;
}

PortMap PortMap::build(const QMap<int, QString> &links, const QStringList &systemDevices)
{
    PortMap map;
    QStringList taken;
    for (auto it = links.begin(); it != links.end(); ++it) {
        if (it.key() < firstPort || it.key() > lastPort)
            continue;
        map.m_devices.insert(it.key(), it.value());
        taken << QFileInfo(it.value()).canonicalFilePath() << it.value();
    }
    QStringList free;
    for (const QString &device : orderDevices(systemDevices)) {
        const QString canonical = QFileInfo(device).canonicalFilePath();
        if (!taken.contains(device) && (canonical.isEmpty() || !taken.contains(canonical)))
            free << device;
    }
    int next = 0;
    for (int number = firstPort; number <= lastPort && next < free.size(); ++number) {
        if (!map.m_devices.contains(number))
            map.m_devices.insert(number, free.at(next++));
    }
    return map;
}

PortMap PortMap::comNamed()
{
    PortMap map;
    map.m_comNamed = true;
    for (int number = firstPort; number <= lastPort; ++number)
        map.m_devices.insert(number, QStringLiteral("COM%1").arg(number));
    return map;
}

PortMap PortMap::current()
{
#ifdef Q_OS_WIN
    return comNamed();
#else
    QStringList devices;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        devices << info.systemLocation();
    return build(readLinks(linkFolder()), devices);
#endif
}

QString PortMap::currentDeviceFor(int number)
{
#ifndef Q_OS_WIN
    // Links take their numbers before any system device does (see build()).
    if (number >= firstPort && number <= lastPort) {
        const QMap<int, QString> links = readLinks(linkFolder());
        if (links.contains(number))
            return links.value(number);
    }
#endif
    return current().deviceFor(number);
}

QString PortMap::linkFolder()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = QDir::homePath() + QLatin1String("/.config");
    return config + QLatin1String("/kestrix/ports");
}

QMap<int, QString> PortMap::readLinks(const QString &folder)
{
    static const QRegularExpression comName(QStringLiteral("^COM([0-9]{1,2})$"));
    QMap<int, QString> links;
    const QDir dir(folder);
    for (const QFileInfo &entry : dir.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        const auto match = comName.match(entry.fileName());
        if (!match.hasMatch() || !entry.isSymLink())
            continue;
        const int number = match.captured(1).toInt();
        if (number >= firstPort && number <= lastPort)
            links.insert(number, entry.symLinkTarget());
    }
    return links;
}

QString PortMap::deviceFor(int number) const
{
    return m_devices.value(number);
}

QString PortMap::entryFor(int number) const
{
    const QString device = m_devices.value(number);
    if (m_comNamed || device.isEmpty())
        return QString::number(number);
    return QStringLiteral("%1 (%2)").arg(number).arg(shortName(device));
}

QString PortMap::describeOpenFailure(const QString &device, QSerialPort::SerialPortError error,
                                     const QString &systemText, bool userMayOpen)
{
    switch (error) {
    case QSerialPort::PermissionError:
        if (userMayOpen) {
            // The system's text speaks of permission here, which would send the
            // user to the wrong fix.
            return QStringLiteral("%1: in use by another program. Close that program, or choose another port.")
                .arg(device);
        }
        return QStringLiteral("%1: permission denied (%2). On Linux, add your user to the serial-port "
                              "group (usually \"dialout\": sudo usermod -aG dialout $USER) and log in again.")
            .arg(device, systemText);
    case QSerialPort::DeviceNotFoundError:
        return QStringLiteral("%1: no such device (%2). Check the cable and the port number.").arg(device, systemText);
    case QSerialPort::OpenError:
        return QStringLiteral("%1: already in use (%2). Close the other program that uses it.").arg(device, systemText);
    default:
        return QStringLiteral("%1: %2").arg(device, systemText);
    }
}

bool PortMap::userMayOpen(const QString &device)
{
#ifdef Q_OS_WIN
    Q_UNUSED(device);
    return true;
#else
    // Checked with the identity that opens files (AT_EACCESS), as open() would.
    const QByteArray path = QFile::encodeName(device);
    return faccessat(AT_FDCWD, path.constData(), R_OK | W_OK, AT_EACCESS) == 0;
#endif
}
