// SPDX-License-Identifier: MIT
#include "CommandLineRun.h"

#include "MonotonicClock.h"
#include "SimChild.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace bench {

namespace {

constexpr int processLimitMs = 30 * 60 * 1000;

} // namespace

bool runCommandLine(const RunSpec &spec, RunValues *values, QString *error)
{
    const QStringList simArguments = simArgumentsFor(spec);
    const std::optional<sim::MeterEmulator> meter = emulatedMeter(simArguments, error);
    if (!meter)
        return false;

    // The simulator publishes COM 1 here, and the download looks for it here.
    const QTemporaryDir configHome;
    const QTemporaryDir output;
    if (!configHome.isValid() || !output.isValid()) {
        *error = QStringLiteral("no temporary folder");
        return false;
    }
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    SimChild simulator(simArguments);
    if (!simulator.start(error))
        return false;

    const QString csv = output.filePath(QStringLiteral("files.csv"));
    QProcess download;
    download.setProgram(QStringLiteral(KESTRIX_DOWNLOAD_PATH));
    download.setArguments(
        {QStringLiteral("--port"), QStringLiteral("1"), QStringLiteral("--quiet"), QStringLiteral("--output"), csv});
    const qint64 startNs = sim::monotonicNs();
    download.start();
    const bool finished = download.waitForFinished(processLimitMs);
    const qint64 endNs = sim::monotonicNs();
    if (!finished || download.exitStatus() != QProcess::NormalExit || download.exitCode() != 0) {
        *error = QStringLiteral("kestrix-download failed: ") + QString::fromLocal8Bit(download.readAllStandardError());
        return false;
    }

    const QList<LoggedRequest> requests = parseRequestLog(simulator.requestLog());
    if (requests.isEmpty() || requests.first().request != "{00}") {
        *error = QStringLiteral("expected the identification first in the simulator's log");
        return false;
    }
    QFile table(csv);
    const int expectedLines = 1 + meter->fileCount(); // the plan has no empty slots
    if (!table.open(QIODevice::ReadOnly) || table.readAll().count("\r\n") != expectedLines) {
        *error = QStringLiteral("the CSV does not hold one line per stored file");
        return false;
    }
    // No timer before the first request: the process's start-up is the program's own time.
    addLoadSplit(splitLoad(startNs, 0, linkExchanges(requests, *meter), endNs, Link{spec.paced, 0}), values);
    return true;
}

} // namespace bench
