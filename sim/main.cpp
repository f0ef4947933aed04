// SPDX-License-Identifier: MIT
// kestrix-meter-sim: plays a meter on a pseudo-terminal for trying and
// testing the program without hardware. See --help.

#include "DataFile.h"
#include "MeterEmulator.h"
#include "PortLink.h"
#include "PtyServer.h"
#include "SimOptions.h"
#include "StopSignals.h"

#include "link/PortMap.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

namespace {

int fail(const QString &message, int code)
{
    std::fprintf(stderr, "kestrix-meter-sim: %s\n", qPrintable(message));
    return code;
}

bool writeFile(const QString &path, const QByteArray &bytes, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const sim::ParsedOptions parsed = sim::parseSimOptions(QCoreApplication::arguments());
    if (!parsed.error.isEmpty())
        return fail(parsed.error + QStringLiteral(" (see --help)"), 2);
    if (parsed.helpRequested) {
        std::fputs(qPrintable(sim::simHelpText()), stdout);
        return 0;
    }
    const sim::SimOptions &options = parsed.options;

    QString error;
    sim::MeterContent content;
    if (!sim::buildContent(options, content, &error))
        return fail(error, 2);
    if (!options.writeDataFile.isEmpty())
        return writeFile(options.writeDataFile, sim::writeDataFile(content), &error) ? 0 : fail(error, 1);

    sim::MeterEmulator emulator(content, options.faults);
    sim::PtyServer server(emulator, {options.pacing, options.stale, options.staleDelayNs, options.logFile, options.noise,
                                       options.noiseEveryNs});
    if (!server.open(&error))
        return fail(error, 1);
    const int stopFd = sim::installStopSignals();
    if (stopFd < 0)
        return fail(QStringLiteral("cannot set up signal handling"), 1);

    sim::PortLink link;
    if (!options.noLink && !link.publish(PortMap::linkFolder(), options.com, server.devicePath(), &error))
        return fail(error, 1);
    // The first line is what scripts and tests wait for.
    std::printf("%s\n%s\n", qPrintable(server.devicePath()),
                options.noLink ? "-" : qPrintable(QStringLiteral("COM%1").arg(options.com)));
    std::fflush(stdout);

    if (!server.serve(stopFd, &error))
        return fail(error, 1);
    return 0;
}
