// SPDX-License-Identifier: MIT
// kestrix-bench: how far above the floor (fixed waits and wire time) the
// program loads each meter family's files, and what it costs in CPU and
// memory. See --help.

#include "BenchOptions.h"
#include "BenchReport.h"
#include "CommandLineRun.h"
#include "LoadRun.h"
#include "ui/ScreenFont.h"

#include <QApplication>
#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int workerTimeoutMs = 30 * 60 * 1000;

QString describe(const bench::RunSpec &spec)
{
    return QStringLiteral("%1, %2 files, %3")
        .arg(spec.family)
        .arg(spec.files)
        .arg(spec.paced ? QStringLiteral("19200 baud") : QStringLiteral("unpaced"));
}

void say(const QString &text)
{
    std::fprintf(stderr, "%s\n", qPrintable(text));
    std::fflush(stderr);
}

// One run in this process: a private configuration folder (where the
// simulator publishes COM 1), no display.
int runWorker(const bench::RunSpec &spec, int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QTemporaryDir configHome;
    if (!configHome.isValid()) {
        say(QStringLiteral("no temporary folder for the configuration"));
        return 1;
    }
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    QApplication app(argc, argv);
    // The windows as the program draws them.
    ScreenFont::use(ScreenFont::programChoice());

    bench::RunValues values;
    QString error;
    if (!bench::runLoad(spec, &values, &error)) {
        say(error);
        return 1;
    }
    const QByteArray text = bench::formatValues(values);
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    return 0;
}

// Every run in a fresh process, so that peak memory and start-up belong to that run alone.
bool runOnce(const bench::RunSpec &spec, bench::RunValues *values)
{
    QProcess worker;
    worker.start(QCoreApplication::applicationFilePath(), bench::workerArguments(spec));
    if (!worker.waitForFinished(workerTimeoutMs)) {
        worker.kill();
        worker.waitForFinished();
        say(QStringLiteral("  the run did not end"));
        return false;
    }
    if (worker.exitStatus() != QProcess::NormalExit || worker.exitCode() != 0) {
        say(QStringLiteral("  failed: ") + QString::fromLocal8Bit(worker.readAllStandardError()).trimmed());
        return false;
    }
    *values = bench::parseValues(worker.readAllStandardOutput());
    return true;
}

int runAll(const bench::BenchOptions &options)
{
    const int runs = options.quick ? 1 : options.runs;
    QList<bench::TableRow> rows;
    bool allGood = true;
    for (const bench::RunSpec &spec : bench::runPlan(options)) {
        QList<bench::RunValues> results;
        for (int run = 1; run <= runs; ++run) {
            say(QStringLiteral("%1: run %2 of %3").arg(describe(spec)).arg(run).arg(runs));
            bench::RunValues values;
            QString error;
            const bool ran = options.commandLine ? bench::runCommandLine(spec, &values, &error) : runOnce(spec, &values);
            if (!error.isEmpty())
                say(QStringLiteral("  failed: ") + error);
            if (!ran) {
                allGood = false;
                continue;
            }
            say(QStringLiteral("  load %1 s, overhead %2 ms")
                    .arg(values.value(bench::key::load), 0, 'f', 3)
                    .arg(values.value(bench::key::overhead), 0, 'f', 1));
            results << values;
        }
        if (!results.isEmpty())
            rows << bench::TableRow{spec.family, spec.files, spec.paced, int(results.size()), bench::medianOf(results),
                                    spec.adapterLatencyMs};
    }
    const QString report = options.commandLine
                               ? bench::commandLineTable(rows)
                               : bench::resultTable(rows) + QStringLiteral("\n") + bench::breakdownTable(rows);
    std::fputs(qPrintable(report), stdout);
    return allGood ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const bench::BenchOptions options = bench::parseBenchOptions(arguments);
    if (!options.error.isEmpty()) {
        say(QStringLiteral("kestrix-bench: ") + options.error + QStringLiteral(" (see --help)"));
        return 2;
    }
    if (options.help) {
        std::fputs(qPrintable(bench::benchHelpText()), stdout);
        return 0;
    }
    if (options.worker)
        return runWorker(bench::runPlan(options).first(), argc, argv);
    QCoreApplication app(argc, argv);
    return runAll(options);
}
