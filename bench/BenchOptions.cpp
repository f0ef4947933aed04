// SPDX-License-Identifier: MIT
#include "BenchOptions.h"

namespace bench {

namespace {

constexpr int standardFiles = 100;
constexpr int manyFiles = 9999;
constexpr int quickFiles = 42;
const QStringList knownFamilies{QStringLiteral("winding"), QStringLiteral("contact"), QStringLiteral("ratio"),
                                QStringLiteral("cable")};

bool positiveNumber(const QString &text, int highest, int *value)
{
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!ok || number < 1 || number > highest)
        return false;
    *value = number;
    return true;
}

} // namespace

BenchOptions parseBenchOptions(const QStringList &arguments)
{
    BenchOptions options;
    for (qsizetype i = 0; i < arguments.size() && options.error.isEmpty(); ++i) {
        const QString &option = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (option == QLatin1String("--quick")) {
            options.quick = true;
        } else if (option == QLatin1String("--unpaced")) {
            options.unpaced = true;
        } else if (option == QLatin1String("--command-line")) {
            options.commandLine = true;
        } else if (option == QLatin1String("--worker")) {
            options.worker = true;
        } else if (option == QLatin1String("--help") || option == QLatin1String("-h")) {
            options.help = true;
        } else if (option == QLatin1String("--runs")) {
            if (!hasValue || !positiveNumber(arguments[++i], 1000, &options.runs))
                options.error = QStringLiteral("--runs expects a number from 1 to 1000");
        } else if (option == QLatin1String("--adapter-latency")) {
            if (!hasValue || !positiveNumber(arguments[++i], 255, &options.adapterLatencyMs))
                options.error = QStringLiteral("--adapter-latency expects milliseconds from 1 to 255");
        } else if (option == QLatin1String("--files")) {
            if (!hasValue || !positiveNumber(arguments[++i], manyFiles, &options.files))
                options.error = QStringLiteral("--files expects a number from 1 to 9999");
        } else if (option == QLatin1String("--families")) {
            options.families = hasValue ? arguments[++i].split(QLatin1Char(','), Qt::SkipEmptyParts) : QStringList();
            if (options.families.isEmpty())
                options.error = QStringLiteral("--families expects a list such as winding,cable");
            for (const QString &family : std::as_const(options.families)) {
                if (!knownFamilies.contains(family))
                    options.error = QStringLiteral("unknown family %1 (winding, contact, ratio, cable)").arg(family);
            }
        } else {
            options.error = QStringLiteral("unknown option %1").arg(option);
        }
    }
    if (options.error.isEmpty() && options.unpaced && options.files == 0 && !options.worker)
        options.error = QStringLiteral("--unpaced goes with --files");
    if (options.error.isEmpty() && options.worker && (options.families.size() != 1 || options.files == 0))
        options.error = QStringLiteral("--worker runs one family with --files");
    return options;
}

// The plan's runs, on a plain serial line.
static QList<RunSpec> plainRunPlan(const BenchOptions &options)
{
    QList<RunSpec> plan;
    if (options.quick) {
        for (const QString &family : options.families)
            plan << RunSpec{family, quickFiles, false};
        return plan;
    }
    if (options.files > 0) {
        for (const QString &family : options.families)
            plan << RunSpec{family, options.files, !options.unpaced};
        return plan;
    }
    for (const QString &family : options.families)
        plan << RunSpec{family, standardFiles, true};
    for (const QString &family : options.families) {
        if (family == QLatin1String("winding") || family == QLatin1String("cable"))
            plan << RunSpec{family, manyFiles, false};
    }
    return plan;
}

QList<RunSpec> runPlan(const BenchOptions &options)
{
    QList<RunSpec> plan = plainRunPlan(options);
    for (RunSpec &spec : plan)
        spec.adapterLatencyMs = options.adapterLatencyMs;
    return plan;
}

QStringList workerArguments(const RunSpec &spec)
{
    QStringList arguments{QStringLiteral("--worker"), QStringLiteral("--families"), spec.family,
                          QStringLiteral("--files"), QString::number(spec.files)};
    if (!spec.paced)
        arguments << QStringLiteral("--unpaced");
    if (spec.adapterLatencyMs > 0)
        arguments << QStringLiteral("--adapter-latency") << QString::number(spec.adapterLatencyMs);
    return arguments;
}

QString benchHelpText()
{
    return QStringLiteral(
        "Usage: kestrix-bench [options]\n"
        "Loads every meter family's window against the meter simulator on a\n"
        "pseudo-terminal, each run in a fresh process, and prints one Markdown\n"
        "table of medians, then where the overhead goes.\n"
        "\n"
        "Options:\n"
        "  --runs <N>          Runs per row; the table shows medians. Default 3.\n"
        "  --families <LIST>   Some of winding,contact,ratio,cable. Default all.\n"
        "  --files <N>         N files (1 to 9999) per family instead of the\n"
        "                      standard plan: 100 files at 19200 baud for every\n"
        "                      family, 9999 files unpaced for winding and cable.\n"
        "  --unpaced           With --files: the simulator answers at once.\n"
        "  --quick             42 files unpaced, one run (CI).\n"
        "  --adapter-latency <MS>  The simulator acts as a USB serial adapter whose\n"
        "                      latency timer fires every MS ms (16 is common).\n"
        "  --command-line      Time kestrix-download instead of the window: every\n"
        "                      file to CSV, from the process's start to its end.\n"
        "  --help              Show this help.\n");
}

} // namespace bench
