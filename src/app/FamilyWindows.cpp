#include "app/MeterWindow.h"

#include "app/PlaceholderWindow.h"
#include "link/QtSerialLink.h"

std::unique_ptr<MeterWindow> createFamilyWindow(const MeterWindowContext &context)
{
    return std::make_unique<PlaceholderWindow>(context);
}

std::unique_ptr<SerialLink> createSerialPort(qint64 readBufferSize)
{
    return std::make_unique<QtSerialLink>(readBufferSize);
}
