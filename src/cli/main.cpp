// SPDX-License-Identifier: MIT
// kestrix-download: every stored measurement of a meter to a file, without a window.
#include "cli/ConsoleText.h"
#include "cli/DownloadOptions.h"
#include "link/InterruptSignals.h"
#include "cli/MeterDownload.h"
#include "link/QtSerialLink.h"
#include "link/StopRequest.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace {

void writeLine(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

bool writeAll(std::FILE *stream, const QByteArray &bytes)
{
    const bool written = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream) == size_t(bytes.size());
    return std::fflush(stream) == 0 && written;
}

} // namespace

int main(int argc, char *argv[])
{
#ifdef Q_OS_WIN
    // The tables are written byte for byte: no CR before every LF.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const DownloadCommand command = readDownloadCommand(arguments);
    if (command.action == DownloadCommand::Action::Print) {
        writeLine(stdout, command.text);
        return ExitStatus::allRead;
    }
    if (command.action == DownloadCommand::Action::UsageError) {
        writeLine(stderr, command.text);
        return ExitStatus::badArguments;
    }

    // A workbook is binary: a terminal would show it as noise.
    if (command.options.format == DownloadOptions::Format::Xlsx && command.options.output == QLatin1String("-")
        && isatty(fileno(stdout))) {
        writeLine(stderr, QStringLiteral("kestrix-download: a workbook is not written to a terminal; name a file "
                                         "with --output, or redirect standard output\n"));
        return ExitStatus::badArguments;
    }

#ifndef Q_OS_WIN
    // A reader that goes away (| head) makes the write fail with an error the
    // download reports, instead of killing it without a word.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kestrix-download"));
    StopRequest stop;
    stopOnInterrupt(stop);

    DownloadConsole console;
    console.error = [](const QString &line) { writeLine(stderr, line + u'\n'); };
    // On a terminal the meter's control characters are shown, not sent; a
    // file or pipe gets the format's bytes.
    if (isatty(fileno(stdout)))
        console.standardOutput = [](const QByteArray &bytes) { return writeAll(stdout, terminalTable(bytes)); };
    else
        console.standardOutput = [](const QByteArray &bytes) { return writeAll(stdout, bytes); };
    if (!command.options.quiet && isatty(fileno(stderr))) {
        console.progress = [](const QString &line) { writeLine(stderr, u'\r' + line + QStringLiteral("\x1b[K")); };
        console.progressEnd = [] { writeLine(stderr, QStringLiteral("\n")); };
    }

    QtSerialLink port(SerialLink::meterBufferSize, &stop);
    MeterDownload download(command.options, port, stop, console);
    return download.run();
}
