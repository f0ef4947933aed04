// SPDX-License-Identifier: MIT
#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// The meter simulator as a child process on its own pseudo-terminal,
// published as COM 1 in the XDG_CONFIG_HOME this process has, and logging
// every request with its arrival time.
class SimChild
{
public:
    explicit SimChild(QStringList arguments);
    ~SimChild();
    SimChild(const SimChild &) = delete;
    SimChild &operator=(const SimChild &) = delete;

    // Starts it and waits until its device is in place.
    bool start(QString *error);
    void stop();

    // The request log: "<CLOCK_MONOTONIC ns> <request>" per line.
    QByteArray requestLog() const;

private:
    QString logPath() const;

    QStringList m_arguments;
    QProcess m_process;
    QTemporaryDir m_logDir;
};
