// SPDX-License-Identifier: MIT
#pragma once

#include "ui/MeterWindow.h"

class StopRequest;

// The program's own ports: QSerialPort through the port map, their waits
// ended by `stop`.
PortFactory serialPorts(const StopRequest &stop);
