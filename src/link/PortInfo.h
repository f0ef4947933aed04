// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>

#include <functional>

// What the system tells of one of its serial ports. The texts come from the
// adapter itself (its USB descriptors): they are shown, never interpreted.
struct PortInfo
{
    QString device;       // the port as it is opened: "/dev/ttyUSB0", "COM5"
    QString description;  // "FT232R USB UART", "USB Serial Port"
    QString manufacturer; // "FTDI"
    QString serialNumber;
    bool usbAdapter = false; // it has a USB vendor id: a USB serial adapter
};

// The serial ports present, as a source the windows and the command line ask;
// tests give their own.
using PortSource = std::function<QList<PortInfo>()>;

// The system's serial ports now (QSerialPortInfo).
QList<PortInfo> systemPorts();
