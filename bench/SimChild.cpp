// SPDX-License-Identifier: MIT
#include "SimChild.h"

#include <QFile>

namespace {

constexpr int startTimeoutMs = 10000;

} // namespace

SimChild::SimChild(QStringList arguments)
    : m_arguments(std::move(arguments))
{
}

SimChild::~SimChild()
{
    stop();
}

QString SimChild::logPath() const
{
    return m_logDir.filePath(QStringLiteral("requests.log"));
}

bool SimChild::start(QString *error)
{
    if (!m_logDir.isValid()) {
        *error = QStringLiteral("no temporary folder for the request log");
        return false;
    }
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral(KESTRIX_SIM_PATH), m_arguments + QStringList{QStringLiteral("--log"), logPath()});
    if (!m_process.waitForStarted(startTimeoutMs)) {
        *error = QStringLiteral("cannot start %1: %2").arg(QStringLiteral(KESTRIX_SIM_PATH), m_process.errorString());
        return false;
    }
    // The simulator prints its device once the COM link is in place.
    while (!m_process.canReadLine()) {
        if (!m_process.waitForReadyRead(startTimeoutMs)) {
            *error = QStringLiteral("the simulator did not report its device");
            return false;
        }
    }
    m_process.readLine();
    return true;
}

void SimChild::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(startTimeoutMs)) {
        m_process.kill();
        m_process.waitForFinished(startTimeoutMs);
    }
}

QByteArray SimChild::requestLog() const
{
    QFile log(logPath());
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return log.readAll();
}
