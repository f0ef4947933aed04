// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QtGlobal>

// Many USB serial adapters hold the tail of a short reply until their latency
// timer fires (16 ms on the common FTDI chips): about 8 ms lost on every
// record. Linux's low-latency flag makes the driver pass each byte on at once.

// Whether `device`, after its links, is a USB serial adapter on Linux
// (ttyUSB*, ttyACM*); never a pseudo-terminal or a built-in port.
bool isUsbSerialDevice(const QString &device);

// Sets the low-latency flag of the open serial port `fd` (Linux) and nothing
// else. False where the driver refuses it (a pseudo-terminal does) or the
// system has no such flag; the port works either way.
bool setLowLatency(int fd);
