// SPDX-License-Identifier: MIT
#include "link/PortInfo.h"

#include <QSerialPortInfo>

QList<PortInfo> systemPorts()
{
    QList<PortInfo> ports;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        ports << PortInfo{info.systemLocation(), info.description(), info.manufacturer(), info.serialNumber(),
                          info.hasVendorIdentifier()};
    return ports;
}
