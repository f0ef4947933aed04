// SPDX-License-Identifier: MIT
#include "app/SerialPorts.h"

#include "link/QtSerialLink.h"

PortFactory serialPorts(const StopRequest &stop)
{
    return [&stop](qint64 readBufferSize) -> std::unique_ptr<SerialLink> {
        return std::make_unique<QtSerialLink>(readBufferSize, &stop);
    };
}
