// SPDX-License-Identifier: MIT
#pragma once

#include "link/LowLatency.h"
#include "link/SerialLink.h"

#include <QSerialPort>

#include <functional>

class PortMap;
class StopRequest;

// A meter port on a real serial device (or a pseudo-terminal), 19200 8N1.
// The COM number is turned into a device through the port map when the port
// is opened, so a link made after start-up is still found.
class QtSerialLink : public SerialLink
{
public:
    static constexpr int writeTimeoutMs = 1000;
    // One character on the line: start bit, 8 data bits, stop bit at 19200 baud.
    static constexpr qint64 characterNs = 10 * 1'000'000'000LL / 19200;

    // A wait that handles events also ends when `stop` (if given) is requested.
    explicit QtSerialLink(qint64 readBufferSize, const StopRequest *stop = nullptr);
    ~QtSerialLink() override;

    void setPortNumber(int number) override;
    int portNumber() const override;
    bool isOpen() const override;
    bool open() override;
    QString errorString() const override;
    void close() override;
    qint64 bytesWaiting() override;
    QByteArray readAll() override;
    void discardInput() override;
    void write(const QByteArray &bytes) override;
    bool waitForMoreBytes(int msecs, bool handleEvents) override;
    bool waitForMissingBytes(qint64 missing, int msecs, bool handleEvents) override;
    bool waitForMoreBytesWithin(qint64 nsecs, bool handleEvents) override;
    bool deviceLost() const override;

    // After the device was lost, opens the same device again: the one the COM
    // number led to when the port was opened (a link's target then), never
    // the one it maps to now, which may be another device altogether.
    // write() does this for each request. False while the device is still
    // gone; errorString() says why.
    bool reopenIfLost();

    QString deviceName() const { return m_port.portName(); }

    // What open() does for a USB adapter on Linux: whether a device is one,
    // and the call that sets its low-latency flag (LowLatency.h). Tests give their own.
    struct LowLatencyCalls
    {
        std::function<bool(const QString &device)> applies = isUsbSerialDevice;
        std::function<bool(int fd)> set = setLowLatency;
    };
    void setLowLatencyCalls(LowLatencyCalls calls) { m_lowLatency = std::move(calls); }

private:
    QSerialPort m_port;
    const StopRequest *m_stop = nullptr;
    // Opens `device` with the line settings.
    bool openDevice(const QString &device);

    int m_number = 0;
    QString m_openedDevice; // what open() found behind the number
    QString m_error;
    bool m_lost = false;
    LowLatencyCalls m_lowLatency;
};
