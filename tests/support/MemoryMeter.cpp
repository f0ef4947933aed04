// SPDX-License-Identifier: MIT
#include "MemoryMeter.h"

#include "ReplySchedule.h"

#include <QObject>
#include <QTimer>

class MemoryMeterLink : public SerialLink
{
public:
    explicit MemoryMeterLink(MemoryMeter &meter)
        : m_meter(meter)
    {
    }
    ~MemoryMeterLink() override { close(); }

    void setPortNumber(int number) override { m_number = number; }
    int portNumber() const override { return m_number; }
    bool isOpen() const override { return m_open; }
    bool open() override
    {
        if (m_open)
            return true;
        if (m_meter.m_unplugged || m_number != m_meter.m_options.com) {
            m_error = QStringLiteral("COM %1: no such device").arg(m_number);
            return false;
        }
        m_open = true;
        ++m_meter.openPorts;
        // The meter's start-up chatter is on the line before the port opens.
        m_received = m_meter.m_options.stale;
        return true;
    }
    QString errorString() const override { return m_error; }
    void close() override
    {
        if (!m_open)
            return;
        m_open = false;
        --m_meter.openPorts;
        m_received.clear();
        m_arriving.clear();
        m_late.clear();
    }
    qint64 bytesWaiting() override { return m_received.size(); }
    QByteArray readAll() override
    {
        QByteArray bytes;
        bytes.swap(m_received);
        return bytes;
    }
    void discardInput() override { m_received.clear(); }
    void write(const QByteArray &bytes) override
    {
        if (!m_open || deviceLost())
            return;
        for (const QByteArray &request : m_framer.feed(bytes))
            answer(request);
    }
    bool waitForMoreBytes(int, bool) override
    {
        if (!m_open || deviceLost())
            return false;
        if (!m_arriving.isEmpty()) {
            m_received += m_arriving.takeFirst();
            return true;
        }
        // A late reply lets its own wait time out and comes at the next one.
        if (!m_late.isEmpty()) {
            if (m_late.first().waitsToSkip-- > 0)
                return false;
            m_received += m_late.takeFirst().bytes;
            return true;
        }
        if (m_meter.m_noisy && !m_meter.m_options.noise.isEmpty()) {
            m_received += m_meter.m_options.noise;
            return true;
        }
        return false;
    }
    bool deviceLost() const override { return m_open && m_meter.m_unplugged; }

private:
    void answer(const QByteArray &request)
    {
        m_meter.requests << QString::fromLatin1(request);
        if (m_meter.onRequest)
            m_meter.onRequest(request);
        m_arriving.clear();
        if (!m_open || deviceLost())
            return; // the hook closed the port or pulled the device
        const QByteArray reply = m_meter.m_emulator->replyTo(request);
        if (reply.isEmpty())
            return;
        const bool faulted = m_meter.m_emulator->faultsApplyTo(request);
        sim::Pacing pacing = m_meter.m_options.pacing;
        pacing.paced = false;
        if (!faulted)
            pacing.pieces = 1;
        if (faulted && sim::isLateReply(++m_meter.m_faultedAnswers, pacing)) {
            m_late.append({1, reply});
            m_meter.m_noisy = true;
            return;
        }
        // Each copy of a reply repeated after a pause comes one wait after the one before.
        const QList<QByteArray> copies =
            faulted ? sim::separateCopies(reply, m_meter.m_emulator->faults().repeat, pacing) : QList<QByteArray>{reply};
        QList<sim::ScheduledWrite> pieces;
        if (copies.size() > 1) {
            for (const QByteArray &copy : copies)
                pieces.append({0, copy});
        } else {
            pieces = sim::scheduleReply(reply, 0, pacing);
        }
        // A reply that starts late is not waiting yet when the request is out.
        const bool late = pacing.latencyNs > 0 || pieces.size() > 1;
        for (const sim::ScheduledWrite &piece : pieces)
            m_arriving << piece.bytes;
        if (!late)
            m_received += m_arriving.takeFirst();
        // While the program handles events (a fixed wait) the rest comes in
        // too, one piece per pass of the event loop.
        for (qsizetype piece = late ? 0 : 1; piece < pieces.size(); ++piece)
            QTimer::singleShot(0, &m_events, [this] {
                if (!m_arriving.isEmpty() && m_open && !deviceLost())
                    m_received += m_arriving.takeFirst();
            });
        if (faulted)
            m_meter.m_noisy = true;
    }

    MemoryMeter &m_meter;
    QObject m_events; // arrivals during event handling end with the port
    sim::RequestFramer m_framer;
    QByteArray m_received;
    QList<QByteArray> m_arriving;
    struct Late
    {
        int waitsToSkip;
        QByteArray bytes;
    };
    QList<Late> m_late;
    QString m_error;
    int m_number = 0;
    bool m_open = false;
};

MemoryMeter::MemoryMeter(const QStringList &simArguments)
{
    const sim::ParsedOptions parsed =
        sim::parseSimOptions(QStringList{QStringLiteral("kestrix-meter-sim")} + simArguments);
    m_error = parsed.error;
    if (!m_error.isEmpty())
        return;
    m_options = parsed.options;
    sim::MeterContent content;
    if (!sim::buildContent(m_options, content, &m_error))
        return;
    m_emulator.emplace(content, m_options.faults);
}

std::unique_ptr<SerialLink> MemoryMeter::makePort()
{
    return std::make_unique<MemoryMeterLink>(*this);
}
