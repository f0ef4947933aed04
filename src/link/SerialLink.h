// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

// The serial operations the program uses to talk to a meter. Everything the
// windows do with a port goes through this, so tests can put an in-memory
// meter behind it. Line settings are fixed: 19200 baud, 8 data bits, no
// parity, 1 stop bit.
class SerialLink
{
public:
    // Receive buffer sizes the windows ask for: the detection window's, and
    // the meter windows', which hold the longest heat-run-test reply.
    static constexpr qint64 probeBufferSize = 1024;
    static constexpr qint64 meterBufferSize = 16768;

    virtual ~SerialLink() = default;

    // COM port number, 1 to 32; set while the port is closed.
    virtual void setPortNumber(int number) = 0;
    virtual int portNumber() const = 0;

    virtual bool isOpen() const = 0;
    // Opens the numbered port. On failure returns false and errorString()
    // tells the system's reason.
    virtual bool open() = 0;
    virtual QString errorString() const = 0;
    virtual void close() = 0;

    // Received bytes not yet read; never blocks.
    virtual qint64 bytesWaiting() = 0;
    // Every waiting byte; empties the receive buffer; never blocks.
    virtual QByteArray readAll() = 0;
    // Drops every received byte, also those the system still holds for us.
    virtual void discardInput() = 0;
    // Queues the request and starts sending it.
    virtual void write(const QByteArray &bytes) = 0;

    // Blocks until more bytes have arrived or msecs have passed. Returns false
    // when nothing new came (time-out or a device that has gone away). With
    // handleEvents the wait runs a local event loop, so the user interface
    // stays live; without, it blocks on the port itself.
    virtual bool waitForMoreBytes(int msecs, bool handleEvents) = 0;

    // The same, for a reader that has part of a reply and needs at least
    // `missing` more bytes. A link on a real line may sleep while all but the
    // last of them are still on the wire instead of waking for every byte;
    // this one simply waits for more.
    virtual bool waitForMissingBytes(qint64 missing, int msecs, bool handleEvents)
    {
        Q_UNUSED(missing);
        return waitForMoreBytes(msecs, handleEvents);
    }

    // The same with a finer limit, for the short quiet-line checks between
    // requests, which last a few character times. This one rounds up to
    // whole milliseconds.
    virtual bool waitForMoreBytesWithin(qint64 nsecs, bool handleEvents)
    {
        return waitForMoreBytes(int((nsecs + 999'999) / 1'000'000), handleEvents);
    }

    // True once the device has disappeared (unplugged adapter, closed pty),
    // until the port has been opened on it again.
    virtual bool deviceLost() const = 0;
};
