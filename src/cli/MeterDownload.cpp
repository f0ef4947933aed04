// SPDX-License-Identifier: MIT
#include "cli/MeterDownload.h"

#include "cli/ConsoleText.h"
#include "protocol/DataWorkbook.h"
#include "protocol/DownloadTables.h"
#include "link/PortSearch.h"
#include "link/SerialLink.h"
#include "link/StopRequest.h"
#include "protocol/HeatRunReply.h"
#include "protocol/MessageTexts.h"
#include "protocol/FamilyProtocol.h"
#include "protocol/TextFile.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>

namespace {

QString failureLine(int slot, const QString &reason)
{
    return QStringLiteral("File %1: %2").arg(slot + 1).arg(terminalText(reason));
}

} // namespace

MeterDownload::MeterDownload(DownloadOptions options, SerialLink &port, const StopRequest &stop,
                             DownloadConsole console, const MeterTiming &timing, const QLocale &locale,
                             PortSource ports)
    : m_options(std::move(options))
    , m_port(port)
    , m_stop(stop)
    , m_console(std::move(console))
    , m_locale(locale)
    , m_ports(std::move(ports))
    , m_exchange(std::make_unique<Exchange>(port, stop, timing))
    , m_format(contactRecordFormat())
{
}

MeterDownload::~MeterDownload()
{
    m_port.close();
}

int MeterDownload::run()
{
    if (!outputPlaceUsable())
        return ExitStatus::outputNotWritten;
    int status = ExitStatus::noMeter;
    const std::optional<QByteArray> identification = identify(&status);
    if (!identification)
        return status;
    m_model = QString::fromLatin1(*identification);
    m_family = familyOrWinding(*identification);
    if (!m_options.quiet)
        m_console.error(QStringLiteral("Connected to %1 on COM %2").arg(terminalText(m_model)).arg(m_options.port));

    // As from the program's window: the model shows this long, then the meter's
    // window opens the port afresh and loads.
    if (m_exchange->waitHandlingEvents(m_exchange->timing().probeWaitMs) == ExchangeOutcome::Ended)
        return ExitStatus::interrupted;
    m_port.close();
    if (!openPort()) {
        sayPortCannotBeOpened();
        return ExitStatus::noMeter;
    }

    const MeterLoad::Result result = MeterLoad::load(m_family, *m_exchange, m_stop, *this);
    if (m_console.progressEnd && m_sinceFirstRecord.isValid())
        m_console.progressEnd();
    if (result.end == MeterLoad::End::StartupFailed) {
        m_console.error(QStringLiteral("kestrix-download: %1")
                            .arg(familyProtocol(m_family).startupFailure()));
        return ExitStatus::noMeter;
    }
    if (result.end == MeterLoad::End::Ended || m_stop.isRequested()) {
        m_console.error(QStringLiteral("kestrix-download: interrupted; nothing was written"));
        return ExitStatus::interrupted;
    }
    if (result.end == MeterLoad::End::Stopped) {
        for (int slot = result.stoppedAt + 1; slot < m_files->fileCount(); ++slot) {
            if (m_options.wantsFile(slot + 1))
                m_failures << failureLine(slot, QStringLiteral("not read"));
        }
    }
    bool anyFileNamed = m_options.files.isEmpty();
    for (const DownloadOptions::Range &range : m_options.files) {
        anyFileNamed = anyFileNamed || range.first <= m_files->fileCount();
        const int first = qMax(range.first, m_files->fileCount() + 1);
        if (range.last == 0 || range.last < first)
            continue;
        const QString files = range.last == first ? QStringLiteral("File %1").arg(first)
                                                  : QStringLiteral("Files %1 to %2").arg(first).arg(range.last);
        m_failures << QStringLiteral("%1: the meter has %2 files").arg(files).arg(m_files->fileCount());
    }
    if (!anyFileNamed) {
        m_console.error(QStringLiteral("kestrix-download: --files names no file of this meter: it has %1 files")
                            .arg(m_files->fileCount()));
        return ExitStatus::badArguments;
    }

    if (!m_options.heatRunFolder.isEmpty()) {
        if (familyProtocol(m_family).hasHeatRuns)
            downloadHeatRuns();
        else if (!m_options.quiet)
            m_console.error(QStringLiteral("This meter keeps no heat-run-test files."));
        if (m_stop.isRequested()) {
            m_console.error(QStringLiteral("kestrix-download: interrupted; the table was not written"));
            return ExitStatus::interrupted;
        }
    }

    if (!writeOutput())
        return ExitStatus::outputNotWritten;
    reportFailures();
    return m_failures.isEmpty() ? ExitStatus::allRead : ExitStatus::someFailed;
}

bool MeterDownload::openPort()
{
    return m_port.isOpen() || m_port.open();
}

void MeterDownload::sayPortCannotBeOpened()
{
    m_console.error(QStringLiteral("kestrix-download: COM %1 cannot be opened: %2")
                        .arg(m_options.port)
                        .arg(terminalText(m_port.errorString())));
}

std::optional<QByteArray> MeterDownload::identify(int *status)
{
    const QDeadlineTimer deadline(qint64(m_options.waitSeconds * 1000));
    bool told = false;
    // --port auto: each round asks every adapter and link once.
    PortSearch search(m_ports);
    if (m_options.searchPorts && !search.start()) {
        m_console.error(QStringLiteral("kestrix-download: there is no USB serial adapter or COMn link to "
                                       "search; plug in the meter's adapter, or give its --port"));
        *status = ExitStatus::noMeter;
        return std::nullopt;
    }
    MeterLoad::IdentifyHooks hooks;
    hooks.portNumber = [&]() -> std::optional<int> {
        if (!m_options.searchPorts)
            return m_options.port;
        // None left in this round: a probe wait, then the next round.
        const std::optional<int> next = search.next();
        if (next)
            m_options.port = *next;
        return next;
    };
    // A search stops only at a meter it knows: a GPS receiver or a modem also answers with 4 bytes.
    hooks.accepts = [this](const QByteArray &model) {
        return !m_options.searchPorts || familyForModel(model).has_value();
    };
    hooks.portTried = [](bool) {};
    hooks.noMeterYet = [&](bool opened) {
        if (m_options.searchPorts) {
            if (search.hasNext())
                return true;
            const QString asked = search.asked().join(QStringLiteral(", "));
            if (deadline.hasExpired()) {
                if (asked.isEmpty())
                    m_console.error(QStringLiteral("kestrix-download: every USB serial adapter and COMn link is in "
                                                   "use by another program"));
                else
                    m_console.error(QStringLiteral("kestrix-download: no meter answered on %1. Check that it is "
                                                   "connected and that \"Send Files to PC\" mode is selected.")
                                        .arg(asked));
                return false;
            }
            search.start();
            if (!told && !m_options.quiet) {
                m_console.error(QStringLiteral("Waiting for a meter on %1 ...").arg(asked));
                told = true;
            }
            return true;
        }
        if (deadline.hasExpired()) {
            if (opened) {
                m_console.error(QStringLiteral("kestrix-download: no meter answered on COM %1. Check that it is "
                                               "connected and that \"Send Files to PC\" mode is selected.")
                                    .arg(m_options.port));
            } else {
                sayPortCannotBeOpened();
            }
            return false;
        }
        if (!told && !m_options.quiet) {
            m_console.error(QStringLiteral("Waiting for a meter on COM %1 ...").arg(m_options.port));
            told = true;
        }
        return true;
    };
    const MeterLoad::Identified identified = MeterLoad::identifyMeter(m_port, *m_exchange, hooks);
    switch (identified.outcome) {
    case ExchangeOutcome::Reply:
        return identified.model;
    case ExchangeOutcome::Ended:
        *status = ExitStatus::interrupted;
        break;
    default:
        *status = ExitStatus::noMeter;
        break;
    }
    return std::nullopt;
}

void MeterDownload::heatRunNamesRead(const QList<std::optional<QString>> &names)
{
    m_heatRunNames = names;
}

void MeterDownload::fileCountRead(int count, const RecordFormat &format)
{
    m_files = std::make_unique<MeterFiles>(familyProtocol(m_family).columns(), count, m_locale);
    m_format = format;
    for (int number = 1; number <= count; ++number) {
        if (m_options.wantsFile(number))
            ++m_wanted;
    }
}

bool MeterDownload::beforeRecord(int index, int count)
{
    Q_UNUSED(count);
    if (!m_options.wantsFile(index + 1))
        return false;
    // Lets a Ctrl-C through: the record waits themselves handle no events.
    QCoreApplication::processEvents();
    if (!m_sinceFirstRecord.isValid()) {
        m_sinceFirstRecord.start();
        showProgress();
    }
    return true;
}

MeterLoad::Step MeterDownload::recordFetched(int index, ExchangeOutcome outcome, const QByteArray &reply)
{
    ++m_done;
    MeterLoad::Step step = MeterLoad::Step::GoOn;
    if (outcome == ExchangeOutcome::Reply)
        m_files->setReply(index, reply, m_format);
    else
        m_files->setFailed(index, MeterLoad::failureText(outcome));
    // Every later request would fail the same way.
    if (outcome == ExchangeOutcome::Lost)
        step = MeterLoad::Step::Stop;
    // A meter that has stopped answering would hold the download for hours.
    m_timeoutsInARow = outcome == ExchangeOutcome::TimedOut ? m_timeoutsInARow + 1 : 0;
    if (m_options.maxTimeouts > 0 && m_timeoutsInARow >= m_options.maxTimeouts) {
        m_console.error(QStringLiteral("kestrix-download: %1 files in a row got no answer; the load ends here")
                            .arg(m_timeoutsInARow));
        step = MeterLoad::Step::Stop;
    }
    if (m_files->state(index) == MeterFiles::State::Failed)
        m_failures << failureLine(index, m_files->failure(index));
    showProgress();
    return step;
}

void MeterDownload::showProgress()
{
    if (m_console.progress)
        m_console.progress(progressLine(m_done, m_wanted, m_sinceFirstRecord.nsecsElapsed() / 1e9));
}

void MeterDownload::downloadHeatRuns()
{
    if (!QDir().mkpath(m_options.heatRunFolder)) {
        m_failures << QStringLiteral("Heat-run tests: the folder %1 cannot be made")
                          .arg(terminalText(m_options.heatRunFolder));
        return;
    }
    const QDir folder(m_options.heatRunFolder);
    QStringList taken;
    for (int slot = 0; slot < heatRunSlotCount && slot < m_heatRunNames.size(); ++slot) {
        if (!m_heatRunNames[slot])
            continue;
        const QString name = m_heatRunNames[slot]->trimmed();
        const QString shownName = QStringLiteral("Heat-run test %1 (%2)").arg(slot + 1).arg(terminalText(name));
        if (m_console.progress)
            m_console.progress(shownName + QStringLiteral(": downloading"));
        QByteArray content;
        const ExchangeOutcome outcome = MeterLoad::fetchHeatRun(*m_exchange, slot, &content);
        if (m_console.progress)
            m_console.progress(QString());
        if (outcome == ExchangeOutcome::Ended)
            return;
        if (outcome != ExchangeOutcome::Reply) {
            m_failures << shownName + QStringLiteral(": ") + MessageTexts::downloadFailed();
            continue;
        }
        const QString fileName = heatRunFileName(name, slot, taken);
        taken << fileName;
        const WriteResult written = writeBytesFile(folder.filePath(fileName), content);
        if (!written.ok)
            m_failures << shownName + QStringLiteral(": ") + terminalText(written.error);
        else if (!m_options.quiet)
            m_console.error(QStringLiteral("%1 saved as %2").arg(shownName, terminalText(folder.filePath(fileName))));
    }
}

bool MeterDownload::outputPlaceUsable()
{
    if (m_options.output == QLatin1String("-"))
        return true;
    const QFileInfo output(m_options.output);
    if (!output.absoluteDir().exists()) {
        m_console.error(QStringLiteral("kestrix-download: the folder %1 does not exist")
                            .arg(terminalText(QDir::toNativeSeparators(output.absolutePath()))));
        return false;
    }
    const QString refusal = outputRefusal(m_options.output);
    if (!refusal.isEmpty()) {
        m_console.error(QStringLiteral("kestrix-download: %1").arg(terminalText(refusal)));
        return false;
    }
    return true;
}

bool MeterDownload::writeOutput()
{
    QByteArray bytes;
    switch (m_options.format) {
    case DownloadOptions::Format::Html:
        bytes = htmlDownload(*m_files);
        break;
    case DownloadOptions::Format::Json:
        bytes = jsonDownload(m_model, *m_files);
        break;
    case DownloadOptions::Format::Csv:
        bytes = csvDownload(*m_files);
        break;
    case DownloadOptions::Format::Xlsx: {
        const WorkbookBytes workbook = dataWorkbook(dataTable(*m_files, listedSlots(*m_files)),
                                                    workbookProperties(m_model, *m_files));
        if (!workbook.error.isEmpty()) {
            const QString output = m_options.output == QLatin1String("-") ? QStringLiteral("standard output")
                                                                          : QDir::toNativeSeparators(m_options.output);
            m_console.error(QStringLiteral("kestrix-download: %1: %2").arg(terminalText(output), workbook.error));
            return false;
        }
        bytes = workbook.bytes;
        break;
    }
    }
    if (m_options.output == QLatin1String("-")) {
        if (m_console.standardOutput(bytes))
            return true;
        m_console.error(QStringLiteral("kestrix-download: standard output could not be written"));
        return false;
    }
    const WriteResult written = writeBytesFile(m_options.output, bytes);
    if (!written.ok)
        m_console.error(QStringLiteral("kestrix-download: %1").arg(terminalText(written.error)));
    return written.ok;
}

void MeterDownload::reportFailures()
{
    for (const QString &failure : m_failures)
        m_console.error(failure);
}
