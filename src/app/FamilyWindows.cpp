// SPDX-License-Identifier: MIT
#include "ui/MeterWindow.h"

#include "link/QtSerialLink.h"
#include "ui/CableMeterWindow.h"
#include "ui/ContactMeterWindow.h"
#include "ui/WindingMeterWindow.h"

std::unique_ptr<MeterWindow> createFamilyWindow(const MeterWindowContext &context)
{
    switch (context.state.family) {
    case MeterKind::Contact:
        return createContactMeterWindow(context);
    case MeterKind::Ratio:
        return createRatioMeterWindow(context);
    case MeterKind::Cable:
        return createCableMeterWindow(context);
    case MeterKind::Winding:
        break;
    }
    return std::make_unique<WindingMeterWindow>(context);
}

PortFactory serialPorts(const StopRequest &stop)
{
    return [&stop](qint64 readBufferSize) -> std::unique_ptr<SerialLink> {
        return std::make_unique<QtSerialLink>(readBufferSize, &stop);
    };
}
