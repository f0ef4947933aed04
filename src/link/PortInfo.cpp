// SPDX-License-Identifier: MIT
#include "link/PortInfo.h"

#include <QSerialPortInfo>

namespace {

// Linux and macOS give a vendor id to USB devices only. Windows gives one to
// PCI cards too (a PCI serial card, a laptop's management port), and lists
// modems: there an adapter is one whose driver calls it USB (FTDI's "USB
// Serial Port", "USB-SERIAL CH340", "Prolific USB-to-Serial Comm Port",
// "CP210x USB to UART Bridge") and no modem.
bool isUsbAdapter(const QSerialPortInfo &info)
{
    if (!info.hasVendorIdentifier())
        return false;
#ifdef Q_OS_WIN
    const QString names = info.description() + u' ' + info.manufacturer();
    return (names.contains(QLatin1String("USB"), Qt::CaseInsensitive)
            || info.manufacturer().contains(QLatin1String("FTDI"), Qt::CaseInsensitive))
           && !names.contains(QLatin1String("modem"), Qt::CaseInsensitive);
#else
    return true;
#endif
}

} // namespace

QList<PortInfo> systemPorts()
{
    QList<PortInfo> ports;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        ports << PortInfo{info.systemLocation(), info.description(), info.manufacturer(), info.serialNumber(),
                          isUsbAdapter(info)};
    return ports;
}
