// SPDX-License-Identifier: MIT
#pragma once

#include "MeterEmulator.h"
#include "ReplySchedule.h"
#include "RequestFramer.h"

#include <QFile>
#include <QList>
#include <QString>

namespace sim {

struct ServerSettings
{
    Pacing pacing;                 // pieces and gap only for requests the faults apply to
    QByteArray stale;              // unsolicited text, empty for none
    qint64 staleDelayNs = 300'000'000;
    QString logPath;               // empty for no request log
    QByteArray noise;              // junk sent again and again once a faulted reply is out
    qint64 noiseEveryNs = 2'000'000;
};

// The simulator's serial line: a pseudo-terminal whose slave side the program
// opens as its COM port. A single-threaded poll() loop reads requests from the
// master side and writes the emulator's replies on a monotonic schedule.
class PtyServer
{
public:
    PtyServer(MeterEmulator &emulator, ServerSettings settings);
    PtyServer(const PtyServer &) = delete;
    PtyServer &operator=(const PtyServer &) = delete;
    ~PtyServer();

    bool open(QString *error);
    QString devicePath() const { return m_devicePath; }

    // Serves until `stopFd` becomes readable; false with a message on an I/O failure.
    bool serve(int stopFd, QString *error);

private:
    void readRequests(qint64 now);
    void answer(const QByteArray &request, qint64 now);
    void schedule(const QByteArray &bytes, qint64 now, const Pacing &pacing);
    // A reply with its copies: with a repeat gap, each copy waits that long
    // behind the one before.
    void scheduleCopies(const QByteArray &reply, qint64 now, const Pacing &pacing);
    bool writeDue(qint64 now, QString *error);
    qint64 nextDueNs() const;
    void logRequest(const QByteArray &request, qint64 now);

    MeterEmulator &m_emulator;
    ServerSettings m_settings;
    RequestFramer m_framer;
    int m_master = -1;
    // Held open by us so the master never reads EIO while the program has
    // the port closed, and so the line settings survive its close.
    int m_slave = -1;
    QString m_devicePath;
    struct LateReply
    {
        qint64 dueNs;
        QByteArray bytes;
        Pacing pacing;
    };
    QList<LateReply> m_late;           // replies held back by --late-ms, in due order
    int m_faultedAnswers = 0;
    QList<ScheduledWrite> m_queue;     // in due order
    QByteArray m_unwritten;            // due bytes the pty did not take yet
    qint64 m_lineFreeNs = 0;           // when the last scheduled byte is out
    qint64 m_staleDueNs = -1;
    qint64 m_noiseDueNs = -1;          // the next junk write, -1 before it starts
    QFile m_log;
};

} // namespace sim
