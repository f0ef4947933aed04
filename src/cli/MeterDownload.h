// SPDX-License-Identifier: MIT
#pragma once

#include "cli/DownloadOptions.h"
#include "link/MeterLoad.h"
#include "link/PortInfo.h"
#include "link/MeterTiming.h"
#include "protocol/MeterFiles.h"

#include <QElapsedTimer>
#include <QLocale>
#include <functional>
#include <memory>
#include <optional>

class SerialLink;
class StopRequest;

// The command line's exit statuses.
namespace ExitStatus {
constexpr int allRead = 0;
constexpr int someFailed = 1;
constexpr int noMeter = 2; // no meter answered, the port cannot be opened, or the start-up failed
constexpr int badArguments = 3;
constexpr int outputNotWritten = 4;
constexpr int interrupted = 130; // as a shell reports a Ctrl-C
} // namespace ExitStatus

// Where the download's words and bytes go.
struct DownloadConsole
{
    std::function<void(const QString &line)> error; // a line for standard error
    // The progress line, redrawn in place (an empty text clears it), and its
    // end, which leaves it standing. Both empty when there is no progress to show.
    std::function<void(const QString &line)> progress;
    std::function<void()> progressEnd;
    std::function<bool(const QByteArray &bytes)> standardOutput; // false when it could not be written
};

// One run of kestrix-download on a port: identification, the family's load
// as the windows run it, the heat-run-test files, the output.
class MeterDownload : private MeterLoad::Listener
{
public:
    // `ports` lists the system's serial ports, for --port auto.
    MeterDownload(DownloadOptions options, SerialLink &port, const StopRequest &stop, DownloadConsole console,
                  const MeterTiming &timing = {}, const QLocale &locale = QLocale(), PortSource ports = systemPorts);
    ~MeterDownload() override;

    // Returns the exit status.
    int run();

private:
    // The model's identification once a meter answered; nothing when none did
    // (the status is then in `status`).
    std::optional<QByteArray> identify(int *status);
    bool openPort();
    // With the system's reason, as the port gives it after a failed open.
    void sayPortCannotBeOpened();
    void downloadHeatRuns();
    bool writeOutput();
    // Before the meter is asked anything: the output can be written there.
    bool outputPlaceUsable();
    void reportFailures();

    void heatRunNamesRead(const QList<std::optional<QString>> &names) override;
    void fileCountRead(int count, const RecordFormat &format) override;
    bool beforeRecord(int index, int count) override;
    MeterLoad::Step recordFetched(int index, ExchangeOutcome outcome, const QByteArray &reply) override;

    void showProgress();

    DownloadOptions m_options;
    SerialLink &m_port;
    const StopRequest &m_stop;
    DownloadConsole m_console;
    QLocale m_locale;
    PortSource m_ports;
    std::unique_ptr<Exchange> m_exchange;

    QString m_model;
    MeterFamily m_family = MeterFamily::Winding;
    QList<std::optional<QString>> m_heatRunNames;
    std::unique_ptr<MeterFiles> m_files;
    RecordFormat m_format;
    int m_wanted = 0;
    int m_timeoutsInARow = 0;
    int m_done = 0;
    QElapsedTimer m_sinceFirstRecord;
    QStringList m_failures; // "File 7: Communication Error", in order
};
