// SPDX-License-Identifier: MIT
#pragma once

#include "link/PortInfo.h"

#include <QMap>
#include <QSerialPort>
#include <QString>
#include <QStringList>

#include <optional>

// Which serial device stands behind each COM number 1 to 32.
//
// On Windows COM n is simply "COMn". Elsewhere COM n is the device that the
// symbolic link COMn in $XDG_CONFIG_HOME/kestrix/ports points to, where such a
// link exists; the numbers left over take the system's serial devices in a
// stable order, USB adapters (ttyUSB*, ttyACM*; cu.usbserial*, cu.usbmodem* on
// macOS) first, each device once. So a single USB adapter is COM 1 without
// any set-up.
class PortMap
{
public:
    static constexpr int firstPort = 1;
    static constexpr int lastPort = 32;

    // The pure rule: `links` maps COM numbers to link targets, `systemPorts`
    // are the ports as the system lists them (any order).
    static PortMap fromPorts(const QMap<int, QString> &links, const QList<PortInfo> &systemPorts);
    // The same for bare device paths.
    static PortMap build(const QMap<int, QString> &links, const QStringList &systemDevices);
    // Windows-style naming, where COM n is the device "COMn"; `systemPorts`
    // name the adapters behind some of them.
    static PortMap comNamed(const QList<PortInfo> &systemPorts = {});

    // The map as the machine has it now (links on disk, the ports `source` lists).
    static PortMap current(const PortSource &source = systemPorts);
    // current().deviceFor(number), but a number with a COMn link is answered
    // from the link alone: listing the system's devices takes milliseconds.
    static QString currentDeviceFor(int number);

    // $XDG_CONFIG_HOME/kestrix/ports, or ~/.config/kestrix/ports.
    static QString linkFolder();
    // Reads the COMn links of linkFolder(): number -> absolute target path.
    static QMap<int, QString> readLinks(const QString &folder);

    // Empty when no device stands behind the number.
    QString deviceFor(int number) const;
    // The port list's entry for a number: it starts with the number itself,
    // names the device where the devices are not called COMn and the adapter
    // where the system names it, cut short: "3 (ttyUSB0, FT232R USB UART)",
    // "5 (USB Serial Port)".
    QString entryFor(int number) const;
    // The same with everything the system tells, uncut, for the tool tip and
    // screen readers: "3 (ttyUSB0, FT232R USB UART, FTDI, serial number A10K3)".
    QString fullEntryFor(int number) const;

    // The numbers a search for the meter may ask, in order: the USB serial
    // adapters and the user's own COMn links, never another kind of port
    // (a modem or a built-in port could take "{00}" for a command).
    QList<int> searchable() const;

    // USB adapters first (ttyUSB*, ttyACM*, and macOS's cu.usbserial*,
    // cu.usbmodem*), then the rest; numbers within a name compare as numbers.
    // macOS's tty.* twins of its cu.* ports and its Bluetooth ports are left out.
    static QStringList orderDevices(QStringList devices);

    // The system's reason for a failed open, with a hint where one helps.
    // The port reports a permission error both for a device node that this
    // user may not open and for a device that another program holds (its lock
    // file, or exclusive mode): `userMayOpen` (see userMayOpen()) tells them apart.
    static QString describeOpenFailure(const QString &device, QSerialPort::SerialPortError error,
                                       const QString &systemText, bool userMayOpen);

    // Whether the device node's permissions let this process read and write
    // it. True where the system cannot tell (Windows, where a denied COM port
    // is one that another program has open).
    static bool userMayOpen(const QString &device);

private:
    struct Port
    {
        PortInfo info;
        bool linked = false; // a COMn link the user made
    };
    // "FT232R USB UART", else the maker; the texts made fit for one line.
    static QString adapterName(const PortInfo &info);

    QMap<int, Port> m_ports;
    bool m_comNamed = false;
};

// The COM number in a text of the port list, as chosen or typed: the list's
// own entries ("12", "12 (ttyUSB0)") and the port's usual name ("COM12",
// "com 12"), blanks around allowed. Nothing when the text does not start with
// a number, with or without "COM" before it. The number is not checked
// against the range: opening an unknown port fails with its own reason.
std::optional<int> portNumberIn(const QString &text);
