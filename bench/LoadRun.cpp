// SPDX-License-Identifier: MIT
#include "ui/FamilyWindows.h"
#include "app/SerialPorts.h"
#include "LoadRun.h"

#include "ScriptedDialogs.h"
#include "FamilyControls.h"
#include "ListMeasures.h"
#include "LoadSplit.h"
#include "MeterEmulator.h"
#include "MonotonicClock.h"
#include "SimChild.h"
#include "SimOptions.h"

#include "link/MeterTiming.h"
#include "link/StopRequest.h"
#include "ui/MeterWindow.h"
#include "app/DetectionDialog.h"
#include "ui/filelist/FileList.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QTemporaryDir>

#include <sys/resource.h>

namespace bench {

namespace {

constexpr qint64 secondNs = 1'000'000'000;
constexpr qint64 msNs = 1'000'000;
// The program's own waits: the benchmark runs it with them as they are.
const MeterTiming programTiming;
const qint64 detectionTimerNs = programTiming.detectionStartMs * msNs;
constexpr int listBuildRepeats = 3;
constexpr int exportRepeats = 5;
constexpr int scrollSamples = 200;

qint64 cpuNs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ns = [](const timeval &time) { return qint64(time.tv_sec) * secondNs + qint64(time.tv_usec) * 1000; };
    return ns(usage.ru_utime) + ns(usage.ru_stime);
}

double peakRssMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

// Notes when the probe timer fires: the load is timed from there, with the timer's
// nominal half second in front, as a coarse timer may fire a little early or late.
class TimerWatch : public QObject
{
public:
    qint64 firedNs = -1;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Timer && firedNs < 0)
            firedNs = sim::monotonicNs();
        return QObject::eventFilter(watched, event);
    }
};

// Notes the CPU time and the clock when the detection window's progress label
// first shows "1 / N" and when it shows "N / N": between the two the program
// does nothing but fetch records, so that share is the CPU it takes while it
// waits for the meter.
class FetchWatch : public QObject
{
public:
    explicit FetchWatch(int files) : m_first(QStringLiteral("1 / %1").arg(files)), m_last(QStringLiteral("%1 / %1").arg(files)) {}
    qint64 firstNs = -1, firstCpuNs = 0, lastNs = -1, lastCpuNs = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            const QString text = static_cast<QLabel *>(watched)->text();
            if (text == m_first && firstNs < 0) {
                firstNs = sim::monotonicNs();
                firstCpuNs = cpuNs();
            } else if (text == m_last && lastNs < 0) {
                lastNs = sim::monotonicNs();
                lastCpuNs = cpuNs();
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QString m_first, m_last;
};

double ms(qint64 ns)
{
    return double(ns) / 1e6;
}

} // namespace

// The fixed waits around each request: the identification waits the probe
// time from the request on and pauses as long after it; the winding start-up
// pauses after its heat-run count and after the heat-run names.
QList<LinkExchange> linkExchanges(const QList<LoggedRequest> &requests, const sim::MeterEmulator &meter)
{
    QList<LinkExchange> exchanges;
    for (const LoggedRequest &logged : requests) {
        LinkExchange exchange;
        exchange.arrivalNs = logged.ns;
        exchange.requestBytes = int(logged.request.size());
        exchange.replyBytes = int(meter.cleanReplyTo(logged.request).size());
        if (logged.request == "{00}") {
            exchange.waitFromRequestNs = programTiming.probeWaitMs * msNs;
            exchange.waitAfterReplyNs = programTiming.probeWaitMs * msNs;
        } else if (meter.family() == sim::Family::Winding && (logged.request == "{01}" || logged.request == "{02}")) {
            exchange.waitAfterReplyNs = programTiming.startupPauseMs * msNs;
        }
        exchanges << exchange;
    }
    return exchanges;
}

void addLoadSplit(const LoadSplit &split, RunValues *values)
{
    values->insert(key::floor, double(split.floorNs) / 1e9);
    values->insert(key::load, double(split.loadNs) / 1e9);
    values->insert(key::overhead, ms(split.overheadNs));
    values->insert(key::overheadShare, 100.0 * double(split.overheadNs) / double(split.floorNs));
    values->insert(key::start, ms(split.startNs));
    values->insert(key::window, ms(split.windowNs));
    values->insert(key::finish, ms(split.finishNs));
    values->insert(key::requestWire, ms(split.requestWireNs));
    QList<double> gaps;
    double total = 0;
    for (const qint64 gap : split.exchangeGapsNs) {
        gaps << ms(gap);
        total += ms(gap);
    }
    values->insert(key::exchangesTotal, total);
    if (!gaps.isEmpty()) {
        values->insert(key::exchangeMedian, median(gaps));
        values->insert(key::exchangeMax, *std::max_element(gaps.begin(), gaps.end()));
    }
}

std::optional<sim::MeterEmulator> emulatedMeter(const QStringList &simArguments, QString *error)
{
    const sim::ParsedOptions parsed = sim::parseSimOptions(QStringList{QStringLiteral("kestrix-meter-sim")}
                                                           + simArguments);
    if (!parsed.error.isEmpty()) {
        *error = parsed.error;
        return std::nullopt;
    }
    sim::MeterContent content;
    if (!sim::buildContent(parsed.options, content, error))
        return std::nullopt;
    return sim::MeterEmulator(content);
}

QStringList simArgumentsFor(const RunSpec &spec)
{
    QStringList arguments{QStringLiteral("--family"), spec.family, QStringLiteral("--files"),
                          QString::number(spec.files), QStringLiteral("--com"), QStringLiteral("1")};
    if (!spec.paced)
        arguments << QStringLiteral("--unpaced");
    if (spec.adapterLatencyMs > 0)
        arguments << QStringLiteral("--adapter-latency") << QString::number(spec.adapterLatencyMs);
    return arguments;
}

bool runLoad(const RunSpec &spec, RunValues *values, QString *error)
{
    // The simulator's own emulation, built from the same command line, knows
    // every reply byte for byte: the reply lengths and the expected rows.
    const QStringList simArguments = simArgumentsFor(spec);
    const std::optional<sim::MeterEmulator> emulated = emulatedMeter(simArguments, error);
    if (!emulated)
        return false;
    const sim::MeterEmulator &meter = *emulated;

    SimChild simulator(simArguments);
    if (!simulator.start(error))
        return false;

    // The load as the entry routine runs it: the detection window modal
    // until it has loaded the family window, then that window shown.
    ProgramState state;
    StopRequest stop;
    ScriptedDialogs dialogs;
    std::unique_ptr<MeterWindow> window;
    qint64 armedNs = 0;
    qint64 cpuStartNs = 0;
    TimerWatch timer;
    FetchWatch fetching(spec.files);
    {
        DetectionDialog splash(state, dialogs, stop, serialPorts(stop), createFamilyWindow);
        armedNs = sim::monotonicNs(); // the probe timer was started as the window loaded
        cpuStartNs = cpuNs();
        splash.probeTimer().installEventFilter(&timer);
        splash.findChild<QLabel *>(QStringLiteral("lblProgress"))->installEventFilter(&fetching);
        splash.exec();
        window = splash.takeLoadedWindow();
    }
    if (!window) {
        *error = QStringLiteral("the detection window loaded no family window");
        return false;
    }
    window->show();
    QCoreApplication::processEvents();
    const qint64 shownNs = sim::monotonicNs();
    const qint64 cpuLoadNs = cpuNs() - cpuStartNs;
    if (!dialogs.boxes.isEmpty()) {
        *error = QStringLiteral("the load showed: ") + dialogs.boxTexts().join(QStringLiteral("; "));
        return false;
    }

    const QList<LoggedRequest> requests = parseRequestLog(simulator.requestLog());
    if (requests.isEmpty() || requests.first().request != "{00}"
        || std::count_if(requests.begin(), requests.end(), [](const LoggedRequest &r) { return r.request == "{00}"; })
               != 1) {
        *error = QStringLiteral("expected exactly one identification request first in the simulator's log");
        return false;
    }
    if (timer.firedNs < 0) {
        *error = QStringLiteral("Timer1 never fired");
        return false;
    }
    const LoadSplit split = splitLoad(timer.firedNs - detectionTimerNs, detectionTimerNs,
                                      linkExchanges(requests, meter), shownNs, Link{spec.paced, 0});
    addLoadSplit(split, values);
    values->insert(key::timerLate, ms(timer.firedNs - armedNs - detectionTimerNs));
    values->insert(key::cpu, 100.0 * double(cpuLoadNs) / double(shownNs - armedNs));
    if (fetching.firstNs >= 0 && fetching.lastNs > fetching.firstNs)
        values->insert(key::cpuFetching, 100.0 * double(fetching.lastCpuNs - fetching.firstCpuNs)
                                             / double(fetching.lastNs - fetching.firstNs));

    const FamilyControls controls = controlsOf(window.get());
    if (!controls.list) {
        *error = QStringLiteral("the loaded window has no file list");
        return false;
    }
    int differingRows = 0;
    const MeterWindowContext context{state, dialogs, stop, serialPorts(stop), {}};
    values->insert(key::listBuild,
                   ListMeasures::timeListBuild(context, meter, *controls.list, listBuildRepeats, &differingRows));
    if (differingRows > 0) {
        *error = QStringLiteral("%1 rows of the loaded list differ from the simulator's records").arg(differingRows);
        return false;
    }

    controls.showList();
    QCoreApplication::processEvents();
    const double scroll = ListMeasures::timeScrollStep(*controls.list, scrollSamples);
    if (scroll >= 0)
        values->insert(key::scrollStep, scroll);

    const QTemporaryDir exportDir;
    dialogs.everyLaterSave = exportDir.filePath(QStringLiteral("export.html"));
    const double exported = ListMeasures::timeExportAll(controls, dialogs, exportRepeats);
    if (exported < 0) {
        *error = QStringLiteral("the export did not succeed: ") + dialogs.boxTexts().join(QStringLiteral("; "));
        return false;
    }
    values->insert(key::exportAll, exported);
    values->insert(key::peakRss, peakRssMb());
    return true;
}

} // namespace bench
