// SPDX-License-Identifier: MIT
#include "cli/DownloadOptions.h"

#include "link/PortMap.h"

#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

namespace {

// Numbers up to this are file numbers; a meter stores at most a few thousand.
constexpr int largestFileNumber = 99999;
// A scheduled job may wait for the meter for a day, not longer.
constexpr double longestWaitSeconds = 86400;

std::optional<int> fileNumber(const QString &text)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,5}$"));
    if (!digits.match(text).hasMatch())
        return std::nullopt;
    const int number = text.toInt();
    if (number < 1 || number > largestFileNumber)
        return std::nullopt;
    return number;
}

std::optional<DownloadOptions::Format> formatNamed(const QString &name)
{
    const QString lower = name.toLower();
    if (lower == QLatin1String("csv"))
        return DownloadOptions::Format::Csv;
    if (lower == QLatin1String("html") || lower == QLatin1String("htm"))
        return DownloadOptions::Format::Html;
    if (lower == QLatin1String("json"))
        return DownloadOptions::Format::Json;
    if (lower == QLatin1String("xlsx"))
        return DownloadOptions::Format::Xlsx;
    return std::nullopt;
}

DownloadCommand usageError(const QString &problem)
{
    DownloadCommand command;
    command.action = DownloadCommand::Action::UsageError;
    command.text = QStringLiteral("kestrix-download: %1\nTry \"kestrix-download --help\" for more.\n").arg(problem);
    return command;
}

DownloadCommand printed(const QString &text)
{
    DownloadCommand command;
    command.action = DownloadCommand::Action::Print;
    command.text = text;
    return command;
}

} // namespace

bool DownloadOptions::wantsFile(int number) const
{
    if (files.isEmpty())
        return true;
    for (const Range &range : files) {
        if (number >= range.first && (range.last == 0 || number <= range.last))
            return true;
    }
    return false;
}

std::optional<QList<DownloadOptions::Range>> readFileList(const QString &text)
{
    QList<DownloadOptions::Range> ranges;
    for (const QString &rawPart : text.split(u',')) {
        const QString part = rawPart.trimmed();
        const qsizetype dash = part.indexOf(u'-');
        DownloadOptions::Range range;
        if (dash < 0) {
            const std::optional<int> number = fileNumber(part);
            if (!number)
                return std::nullopt;
            range = {*number, *number};
        } else {
            const std::optional<int> first = fileNumber(part.left(dash).trimmed());
            const QString lastText = part.mid(dash + 1).trimmed();
            const std::optional<int> last = lastText.isEmpty() ? std::optional<int>(0) : fileNumber(lastText);
            if (!first || !last || (*last != 0 && *last < *first))
                return std::nullopt;
            range = {*first, *last};
        }
        ranges << range;
    }
    return ranges;
}

QString downloadUsage()
{
    return QStringLiteral("Usage: kestrix-download --port N|auto [--format csv|html|json|xlsx] [--output FILE|-]\n"
                          "                        [--files LIST] [--heat-runs DIR] [--quiet] [--wait SECONDS]\n"
                          "Reads every stored measurement file of the meter on COM port N and writes them\n"
                          "as a table.\n"
                          "\n"
                          "  -p, --port N      COM port number, 1 to 32 (\"COM3\" is read as 3); the same\n"
                          "                    numbering as the program's port list; auto asks each USB\n"
                          "                    serial adapter and COMn link in turn, and no other port\n"
                          "  -f, --format F    csv (the default), html (the program's export), json or\n"
                          "                    xlsx (an Excel workbook, not to a terminal);\n"
                          "                    taken from the output file's suffix when not given\n"
                          "  -o, --output FILE the file to write, or - for standard output (the default);\n"
                          "                    written whole or not at all\n"
                          "  --files LIST      only these file numbers, e.g. 1-10,15,20-\n"
                          "  --heat-runs DIR   also save a winding meter's heat-run-test files in DIR,\n"
                          "                    each as NAME.csv under its name on the meter\n"
                          "  -q, --quiet       no progress bar and no remarks; failures are still listed\n"
                          "  --wait SECONDS    probe once a second until the meter answers, at most\n"
                          "                    this long (default: one attempt)\n"
                          "  --max-timeouts N  end the load after N records in a row got no answer\n"
                          "                    and write the files read so far (default 5; 0: never)\n"
                          "  -h, --help, --version\n"
                          "\n"
                          "Exit status: 0 every file read; 1 incomplete: some files failed or were not\n"
                          "read (listed on standard error); 2 no meter answered or the port cannot be\n"
                          "opened; 3 bad arguments, or --files names no file the meter has; 4 the\n"
                          "output could not be written (also a closed pipe); 130 interrupted (Ctrl-C).\n");
}

DownloadCommand readDownloadCommand(const QStringList &arguments)
{
    DownloadCommand command;
    DownloadOptions &options = command.options;
    std::optional<DownloadOptions::Format> format;
    bool portGiven = false;

    for (int i = 0; i < arguments.size(); ++i) {
        QString name = arguments[i];
        static const QHash<QString, QString> shortNames{{QStringLiteral("-p"), QStringLiteral("--port")},
                                                        {QStringLiteral("-f"), QStringLiteral("--format")},
                                                        {QStringLiteral("-o"), QStringLiteral("--output")},
                                                        {QStringLiteral("-q"), QStringLiteral("--quiet")},
                                                        {QStringLiteral("-h"), QStringLiteral("--help")}};
        name = shortNames.value(name, name);
        QString value;
        bool hasValue = false;
        // "--name=value" and "--name value" both work.
        if (name.startsWith(QLatin1String("--")) && name.contains(u'=')) {
            value = name.mid(name.indexOf(u'=') + 1);
            name = name.left(name.indexOf(u'='));
            hasValue = true;
        }
        const auto takeValue = [&]() -> std::optional<QString> {
            if (hasValue)
                return value;
            if (i + 1 >= arguments.size())
                return std::nullopt;
            return arguments[++i];
        };
        const auto flag = [&]() { return !hasValue; };

        if (name == QLatin1String("--help") && flag())
            return printed(downloadUsage());
        if (name == QLatin1String("--version") && flag())
            return printed(QStringLiteral("kestrix-download %1\n").arg(QLatin1String(KESTRIX_VERSION)));
        if (name == QLatin1String("--quiet") && flag()) {
            options.quiet = true;
            continue;
        }
        if (name != QLatin1String("--port") && name != QLatin1String("--format") && name != QLatin1String("--output")
            && name != QLatin1String("--files") && name != QLatin1String("--heat-runs")
            && name != QLatin1String("--wait") && name != QLatin1String("--max-timeouts"))
            return usageError(QStringLiteral("unknown argument \"%1\"").arg(arguments[i]));
        const std::optional<QString> given = takeValue();
        if (!given)
            return usageError(QStringLiteral("%1 needs a value").arg(name));

        if (name == QLatin1String("--port") && given->compare(QLatin1String("auto"), Qt::CaseInsensitive) == 0) {
            options.searchPorts = true;
            portGiven = true;
        } else if (name == QLatin1String("--port")) {
            const std::optional<int> number = portNumberIn(*given);
            if (!number || *number < PortMap::firstPort || *number > PortMap::lastPort)
                return usageError(QStringLiteral("--port takes a COM port number from %1 to %2 or auto, not \"%3\"")
                                      .arg(PortMap::firstPort)
                                      .arg(PortMap::lastPort)
                                      .arg(*given));
            options.port = *number;
            options.searchPorts = false; // the last --port given counts
            portGiven = true;
        } else if (name == QLatin1String("--format")) {
            format = formatNamed(*given);
            if (!format)
                return usageError(QStringLiteral("--format is csv, html, json or xlsx, not \"%1\"").arg(*given));
        } else if (name == QLatin1String("--output")) {
            if (given->isEmpty())
                return usageError(QStringLiteral("--output needs a file name, or - for standard output"));
            options.output = *given;
        } else if (name == QLatin1String("--files")) {
            const std::optional<QList<DownloadOptions::Range>> files = readFileList(*given);
            if (!files)
                return usageError(QStringLiteral("--files takes file numbers and ranges such as 1-10,15,20-, "
                                                 "not \"%1\"")
                                      .arg(*given));
            options.files = *files;
        } else if (name == QLatin1String("--heat-runs")) {
            if (given->isEmpty())
                return usageError(QStringLiteral("--heat-runs needs a folder"));
            options.heatRunFolder = *given;
        } else if (name == QLatin1String("--wait")) {
            bool ok = false;
            const double seconds = given->toDouble(&ok);
            if (!ok || !(seconds >= 0) || seconds > longestWaitSeconds)
                return usageError(QStringLiteral("--wait takes seconds from 0 to %1, not \"%2\"")
                                      .arg(longestWaitSeconds)
                                      .arg(*given));
            options.waitSeconds = seconds;
        } else if (name == QLatin1String("--max-timeouts")) {
            bool ok = false;
            const int count = given->toInt(&ok);
            if (!ok || count < 0 || count > 9999)
                return usageError(QStringLiteral("--max-timeouts takes a number from 0 to 9999, not \"%1\"")
                                      .arg(*given));
            options.maxTimeouts = count;
        }
    }
    if (!portGiven)
        return usageError(QStringLiteral("--port is needed"));
    if (!format && options.output != QLatin1String("-"))
        format = formatNamed(QFileInfo(options.output).suffix());
    options.format = format.value_or(DownloadOptions::Format::Csv);
    return command;
}
