// SPDX-License-Identifier: MIT
#include "link/PortMap.h"

#include "link/LowLatency.h"

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

// Linux names USB serial adapters ttyUSB*/ttyACM* (isUsbSerialDevice), macOS cu.usbserial*/cu.usbmodem*.
bool isUsbAdapter(const QString &device)
{
    const QString name = QFileInfo(device).fileName();
    return isUsbSerialDevice(device) || name.startsWith(QLatin1String("cu.usbserial"))
           || name.startsWith(QLatin1String("cu.usbmodem"));
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

// The adapter's texts on one line: its control characters and line breaks as blanks.
QString oneLine(const QString &text)
{
    QString line = text;
    for (QChar &c : line) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            c = u' ';
    }
    return line.simplified();
}

// The list shows this much of an adapter's name; the tool tip has it all.
constexpr qsizetype longestShownName = 24;

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

PortMap PortMap::fromPorts(const QMap<int, QString> &links, const QList<PortInfo> &systemPorts)
{
    // Each system port by its path and by the path its links resolve to.
    QMap<QString, PortInfo> byDevice;
    for (const PortInfo &info : systemPorts) {
        byDevice.insert(info.device, info);
        const QString canonical = QFileInfo(info.device).canonicalFilePath();
        if (!canonical.isEmpty())
            byDevice.insert(canonical, info);
    }

    PortMap map;
    QStringList taken;
    for (auto it = links.begin(); it != links.end(); ++it) {
        if (it.key() < firstPort || it.key() > lastPort)
            continue;
        const QString canonical = QFileInfo(it.value()).canonicalFilePath();
        PortInfo info = byDevice.value(it.value(), byDevice.value(canonical));
        info.device = it.value();
        map.m_ports.insert(it.key(), Port{info, true});
        taken << canonical << it.value();
    }
    QStringList devices;
    for (const PortInfo &info : systemPorts)
        devices << info.device;
    QStringList free;
    for (const QString &device : orderDevices(devices)) {
        const QString canonical = QFileInfo(device).canonicalFilePath();
        if (!taken.contains(device) && (canonical.isEmpty() || !taken.contains(canonical)))
            free << device;
    }
    int next = 0;
    for (int number = firstPort; number <= lastPort && next < free.size(); ++number) {
        if (!map.m_ports.contains(number))
            map.m_ports.insert(number, Port{byDevice.value(free.at(next++)), false});
    }
    return map;
}

PortMap PortMap::build(const QMap<int, QString> &links, const QStringList &systemDevices)
{
    QList<PortInfo> ports;
    for (const QString &device : systemDevices)
        ports << PortInfo{device, {}, {}, {}, isUsbAdapter(device)};
    return fromPorts(links, ports);
}

PortMap PortMap::comNamed(const QList<PortInfo> &systemPorts)
{
    static const QRegularExpression comName(QStringLiteral("^COM([0-9]{1,2})$"), QRegularExpression::CaseInsensitiveOption);
    PortMap map;
    map.m_comNamed = true;
    for (int number = firstPort; number <= lastPort; ++number)
        map.m_ports.insert(number, Port{PortInfo{QStringLiteral("COM%1").arg(number), {}, {}, {}, false}, false});
    for (const PortInfo &info : systemPorts) {
        const QRegularExpressionMatch match = comName.match(QFileInfo(info.device).fileName());
        const int number = match.hasMatch() ? match.captured(1).toInt() : 0;
        if (map.m_ports.contains(number))
            map.m_ports[number].info = PortInfo{QStringLiteral("COM%1").arg(number), info.description,
                                                info.manufacturer, info.serialNumber, info.usbAdapter};
    }
    return map;
}

PortMap PortMap::current(const PortSource &source)
{
#ifdef Q_OS_WIN
    return comNamed(source());
#else
    return fromPorts(readLinks(linkFolder()), source());
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
    return m_ports.value(number).info.device;
}

QString PortMap::adapterName(const PortInfo &info)
{
    const QString description = oneLine(info.description);
    return description.isEmpty() ? oneLine(info.manufacturer) : description;
}

QString PortMap::entryFor(int number) const
{
    const PortInfo info = m_ports.value(number).info;
    QStringList parts;
    if (!m_comNamed && !info.device.isEmpty())
        parts << shortName(info.device);
    QString name = adapterName(info);
    if (name.size() > longestShownName)
        name = name.left(longestShownName - 1).trimmed() + u'\u2026';
    if (!name.isEmpty())
        parts << name;
    if (parts.isEmpty())
        return QString::number(number);
    return QStringLiteral("%1 (%2)").arg(number).arg(parts.join(QStringLiteral(", ")));
}

QString PortMap::fullEntryFor(int number) const
{
    const PortInfo info = m_ports.value(number).info;
    QStringList parts;
    if (!m_comNamed && !info.device.isEmpty())
        parts << shortName(info.device);
    const QString description = oneLine(info.description);
    const QString manufacturer = oneLine(info.manufacturer);
    const QString serialNumber = oneLine(info.serialNumber);
    if (!description.isEmpty())
        parts << description;
    if (!manufacturer.isEmpty() && manufacturer != description)
        parts << manufacturer;
    if (!serialNumber.isEmpty())
        parts << QStringLiteral("serial number %1").arg(serialNumber);
    if (parts.isEmpty())
        return QString::number(number);
    return QStringLiteral("%1 (%2)").arg(number).arg(parts.join(QStringLiteral(", ")));
}

QList<int> PortMap::searchable() const
{
    QList<int> numbers;
    for (auto it = m_ports.begin(); it != m_ports.end(); ++it) {
        const Port &port = it.value();
        if (port.linked || port.info.usbAdapter || isUsbAdapter(port.info.device))
            numbers << it.key();
    }
    return numbers;
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
