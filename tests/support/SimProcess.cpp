// SPDX-License-Identifier: MIT
#include "SimProcess.h"

#include <QFile>
#include <QTextStream>

SimProcess::SimProcess(QStringList arguments)
    : m_arguments(std::move(arguments))
{
}

SimProcess::~SimProcess()
{
    stop();
}

bool SimProcess::start()
{
    QStringList arguments = m_arguments;
    arguments << QStringLiteral("--log") << logPath();
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral(KESTRIX_SIM_PATH), arguments);
    if (!m_process.waitForStarted(10000))
        return false;
    // Its first line, once the link is in place, is the device path.
    while (!m_process.canReadLine()) {
        if (!m_process.waitForReadyRead(10000))
            return false;
    }
    m_device = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    return !m_device.isEmpty();
}

void SimProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(10000)) {
        m_process.kill();
        m_process.waitForFinished(10000);
    }
}

QStringList SimProcess::requests() const
{
    QStringList requests;
    QFile log(logPath());
    if (!log.open(QIODevice::ReadOnly | QIODevice::Text))
        return requests;
    QTextStream stream(&log);
    while (!stream.atEnd()) {
        const QString line = stream.readLine();
        const qsizetype space = line.indexOf(QLatin1Char(' '));
        if (space > 0)
            requests << line.mid(space + 1);
    }
    return requests;
}
