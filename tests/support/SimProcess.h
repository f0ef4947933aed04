// SPDX-License-Identifier: MIT
#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// The project's meter simulator, started as its own process on a fresh
// pseudo-terminal and published as a COM number in the port-map folder of
// the test's own configuration folder (XDG_CONFIG_HOME).
class SimProcess
{
public:
    explicit SimProcess(QStringList arguments);
    ~SimProcess();

    // Starts the simulator and waits until it has published its device.
    bool start();
    void stop();

    QString device() const { return m_device; }
    QString logPath() const { return m_logDir.filePath(QStringLiteral("requests.log")); }
    // The requests the simulator received, in order.
    QStringList requests() const;

private:
    QStringList m_arguments;
    QProcess m_process;
    QTemporaryDir m_logDir;
    QString m_device;
};
