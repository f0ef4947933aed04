// SPDX-License-Identifier: MIT
#include "link/LowLatency.h"

#include <QFileInfo>

#ifdef Q_OS_LINUX
#include <linux/serial.h>
#include <sys/ioctl.h>
#endif

bool isUsbSerialDevice(const QString &device)
{
    const QString canonical = QFileInfo(device).canonicalFilePath();
    const QString name = QFileInfo(canonical.isEmpty() ? device : canonical).fileName();
    return name.startsWith(QLatin1String("ttyUSB")) || name.startsWith(QLatin1String("ttyACM"));
}

bool setLowLatency(qintptr handle)
{
#ifdef Q_OS_LINUX
    serial_struct serial{};
    if (handle < 0 || ioctl(int(handle), TIOCGSERIAL, &serial) != 0)
        return false;
    if (serial.flags & ASYNC_LOW_LATENCY)
        return true;
    serial.flags |= ASYNC_LOW_LATENCY;
    return ioctl(int(handle), TIOCSSERIAL, &serial) == 0;
#else
    Q_UNUSED(handle);
    return false;
#endif
}
