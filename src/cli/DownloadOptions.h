// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// What kestrix-download was asked to do.
struct DownloadOptions
{
    enum class Format { Csv, Html, Json, Xlsx };

    int port = 0;          // COM number; the one that answered, after a search
    bool searchPorts = false; // --port auto: ask the USB serial adapters and COMn links
    Format format = Format::Csv;
    QString output = QStringLiteral("-"); // "-" is standard output
    // File numbers (1-based) to read, as ranges; empty reads every file.
    struct Range
    {
        int first = 1;
        int last = 0; // 0: to the meter's last file
    };
    QList<Range> files;
    QString heatRunFolder; // empty: heat-run-test files are not downloaded
    bool quiet = false;
    double waitSeconds = 0; // 0: one identification attempt
    // A meter that stops answering ends the load after this many time-outs
    // in a row; the files read so far are written. 0: never.
    int maxTimeouts = 5;

    // Whether file number `number` (1-based) is to be read.
    bool wantsFile(int number) const;
};

struct DownloadCommand
{
    enum class Action {
        Run,
        Print,      // `text` to standard output, exit 0 (--help, --version)
        UsageError, // `text` to standard error, exit 3
    };
    Action action = Action::Run;
    DownloadOptions options;
    QString text;
};

// `arguments` without the program's own name. The format defaults to the
// output file's suffix (.csv, .html or .htm, .json, .xlsx), else CSV.
DownloadCommand readDownloadCommand(const QStringList &arguments);

// "1-10,15,20-" -> ranges; nothing for a list that is not one.
std::optional<QList<DownloadOptions::Range>> readFileList(const QString &text);

QString downloadUsage();
