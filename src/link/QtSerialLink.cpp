// SPDX-License-Identifier: MIT
#include "link/QtSerialLink.h"

#include "link/StopRequest.h"
#include "link/PortMap.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <thread>

QtSerialLink::QtSerialLink(qint64 readBufferSize, const StopRequest *stop)
    : m_stop(stop)
{
    m_port.setReadBufferSize(readBufferSize);
    QObject::connect(&m_port, &QSerialPort::errorOccurred, [this](QSerialPort::SerialPortError error) {
        // A resource error means the device has gone. So does a read error:
        // the port reads only when the system says bytes wait, and nothing to
        // read then is the end of the line (an adapter pulled, a pty whose
        // other side closed). Such a port stays readable for ever and would
        // wake every event loop at once, so it is closed, from the event loop
        // rather than inside the port's own signal, unless it has been opened
        // anew meanwhile. A pty also reports unsupported modem-line calls, and
        // a time-out is no loss either.
        if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError)
            return;
        m_lost = true;
        QMetaObject::invokeMethod(
            &m_port,
            [this] {
                if (m_lost)
                    close();
            },
            Qt::QueuedConnection);
    });
}

QtSerialLink::~QtSerialLink()
{
    close();
}

void QtSerialLink::setPortNumber(int number)
{
    m_number = number;
}

int QtSerialLink::portNumber() const
{
    return m_number;
}

bool QtSerialLink::isOpen() const
{
    return m_port.isOpen();
}

bool QtSerialLink::open()
{
    m_error.clear();
    m_lost = false;
    const QString device = PortMap::currentDeviceFor(m_number);
    if (device.isEmpty()) {
        m_error = QStringLiteral("COM %1 is not connected to any serial device").arg(m_number);
        return false;
    }
    if (!openDevice(device))
        return false;
    m_openedDevice = device;
    return true;
}

bool QtSerialLink::openDevice(const QString &device)
{
    m_port.setPortName(device);
    m_port.setBaudRate(QSerialPort::Baud19200);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port.open(QIODevice::ReadWrite)) {
        const QSerialPort::SerialPortError error = m_port.error();
        const bool userMayOpen = error != QSerialPort::PermissionError || PortMap::userMayOpen(device);
        m_error = PortMap::describeOpenFailure(device, error, m_port.errorString(), userMayOpen);
        m_port.clearError();
        return false;
    }
    m_port.clearError();
    // Replies come in whole without the adapter's latency timer. A driver
    // that refuses the flag costs only time: the port is used as it is.
#ifdef Q_OS_LINUX
    if (m_lowLatency.applies(device))
        m_lowLatency.set(m_port.handle());
#endif
    return true;
}

QString QtSerialLink::errorString() const
{
    return m_error;
}

void QtSerialLink::close()
{
    if (m_port.isOpen())
        m_port.close();
    m_port.clearError();
}

qint64 QtSerialLink::bytesWaiting()
{
    return m_port.isOpen() ? m_port.bytesAvailable() : 0;
}

QByteArray QtSerialLink::readAll()
{
    return m_port.isOpen() ? m_port.readAll() : QByteArray();
}

void QtSerialLink::discardInput()
{
    if (!m_port.isOpen())
        return;
    m_port.readAll();
    // Bytes the driver has not handed to us yet go too (tcflush).
    m_port.clear(QSerialPort::Input);
    m_port.clearError();
}

bool QtSerialLink::reopenIfLost()
{
    if (!m_lost)
        return true;
    close();
    if (m_openedDevice.isEmpty() || !openDevice(m_openedDevice)) {
        m_lost = true; // still gone: the next request tries again
        return false;
    }
    m_lost = false;
    // Nothing that came before this request belongs to its reply.
    discardInput();
    return true;
}

void QtSerialLink::write(const QByteArray &bytes)
{
    // Every exchange begins with a request. A device that went away (adapter
    // pulled and plugged back) is opened again here, so the exchange reaches
    // it instead of waiting out its time on a closed port.
    if (!reopenIfLost() || !m_port.isOpen())
        return;
    m_port.write(bytes);
    // write() only queues; push the request out now rather than at the next
    // event loop, so a wait that handles no events still sends it.
    m_port.flush();
    if (m_port.bytesToWrite() > 0)
        m_port.waitForBytesWritten(writeTimeoutMs);
}

bool QtSerialLink::waitForMoreBytes(int msecs, bool handleEvents)
{
    if (!m_port.isOpen() || m_lost)
        return false;
    const qint64 before = m_port.bytesAvailable();
    if (!handleEvents) {
        const bool arrived = m_port.waitForReadyRead(msecs);
        if (!arrived && m_port.error() == QSerialPort::TimeoutError)
            m_port.clearError();
        return arrived || m_port.bytesAvailable() > before;
    }
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&m_port, &QSerialPort::readyRead, &loop, &QEventLoop::quit);
    QObject::connect(&m_port, &QSerialPort::errorOccurred, &loop, &QEventLoop::quit);
    if (m_stop)
        QObject::connect(m_stop, &StopRequest::requested, &loop, &QEventLoop::quit);
    timer.start(msecs);
    loop.exec();
    return m_port.isOpen() && m_port.bytesAvailable() > before;
}

bool QtSerialLink::waitForMissingBytes(qint64 missing, int msecs, bool handleEvents)
{
    // The bytes of a reply follow each other one character time apart, so
    // the last of `missing` bytes cannot be here before (missing - 1)
    // character times have passed. Sleeping through that time costs one
    // wake-up where waiting would cost one per byte. A wait that keeps the
    // user interface live does not sleep.
    if (handleEvents || missing < 2 || !m_port.isOpen() || m_lost)
        return waitForMoreBytes(msecs, handleEvents);
    const QDeadlineTimer deadline(msecs);
    const qint64 sleepNs = std::min((missing - 1) * characterNs, deadline.remainingTimeNSecs());
    if (sleepNs > 0)
        std::this_thread::sleep_for(std::chrono::nanoseconds(sleepNs));
    // Whatever came meanwhile waits in the driver; this picks it up at once.
    return waitForMoreBytes(int(std::max<qint64>(0, deadline.remainingTime())), false);
}

bool QtSerialLink::waitForMoreBytesWithin(qint64 nsecs, bool handleEvents)
{
    // The quiet-line checks between records last a character time or two:
    // a millisecond poll would round them up several times over. A short one
    // sleeps through its time and then takes what came; a byte that arrived
    // meanwhile only makes the next quiet time start a little late.
    constexpr qint64 shortWaitNs = 2'000'000;
    if (handleEvents || nsecs >= shortWaitNs || !m_port.isOpen() || m_lost)
        return SerialLink::waitForMoreBytesWithin(nsecs, handleEvents);
    const qint64 before = m_port.bytesAvailable();
    if (nsecs > 0)
        std::this_thread::sleep_for(std::chrono::nanoseconds(nsecs));
    waitForMoreBytes(0, false);
    return m_port.isOpen() && m_port.bytesAvailable() > before;
}

bool QtSerialLink::deviceLost() const
{
    return m_lost;
}
