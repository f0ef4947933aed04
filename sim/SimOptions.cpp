// SPDX-License-Identifier: MIT
#include "SimOptions.h"

#include "DataFile.h"
#include "Escapes.h"
#include "SeededContent.h"

#include <QCommandLineParser>

namespace sim {

namespace {

constexpr qint64 nsPerMs = 1'000'000;

const char dataFileHelp[] =
    "Data file (--data FILE), one setting per line, LF or CR LF line ends:\n"
    "  # comment                 lines starting with '#' and blank lines are skipped\n"
    "  family winding|contact|ratio|cable\n"
    "  model TEXT                identification reply\n"
    "  files N                   measurement file count\n"
    "  heat-run N                heat-run-test file count (winding)\n"
    "  record I BYTES            exact reply for measurement slot I (0-based); for a\n"
    "                            winding meter the long form, whose first 26 bytes\n"
    "                            and \"]\" also make the short form\n"
    "  short-record I BYTES      winding: exact short reply for slot I\n"
    "  heat-run-name S NAME      heat-run slot S (0-based, downloaded with {10 S+1}),\n"
    "                            exactly 12 bytes\n"
    "  heat-run-file S TEXT      content of heat-run slot S, \\r\\n between lines\n"
    "The value is everything after the single blank behind the keyword or index.\n"
    "Escapes in values and in TEXT options: \\\\ \\r \\n \\t \\xHH (write a trailing blank\n"
    "as \\x20). A slot without a record line, or a heat-run slot without a name,\n"
    "answers as an empty slot. --write-data shows a complete example.\n";

struct Option
{
    const char *name;
    const char *description;
    const char *valueName;   // nullptr for a flag
};

const Option optionTable[] = {
    {"model", "Identification reply (escapes allowed). Default [KX-W1], or with --family that family's model.", "TEXT"},
    {"family", "winding, contact, ratio or cable; default from the model.", "NAME"},
    {"files", "Measurement file count. Default 100.", "N"},
    {"short", "Winding meter with exactly 30 files (short records).", nullptr},
    {"heat-run", "Heat-run-test count reported by a winding meter. Default 3.", "N"},
    {"empty", "Empty measurement slots, 0-based, e.g. 2,4.", "LIST"},
    {"empty-heat-run", "Empty heat-run slots, 0-based.", "LIST"},
    {"seed", "Seed of the generated content. Default 1.", "S"},
    {"data", "Take the meter memory from a data file (format below).", "FILE"},
    {"write-data", "Write the meter memory as a data file and exit.", "FILE"},
    {"com", "Publish the port as COM<N> (1 to 32). Default 1.", "N"},
    {"no-link", "Do not publish a COM link.", nullptr},
    {"log", "Log each request: monotonic nanoseconds, a blank, the request.", "FILE"},
    {"unpaced", "Write replies at once instead of at 19200 baud.", nullptr},
    {"latency-ms", "Delay before a reply starts. Default 0.", "L"},
    {"adapter-latency", "Act as a USB serial adapter whose latency timer fires every MS ms: it holds each "
                        "reply's last bytes until then (16 is the common default). Default 0.", "MS"},
    {"silent", "Never answer.", nullptr},
    {"silent-after", "Answer the first N requests only.", "N"},
    {"truncate", "Drop the last N bytes of every reply but the identification.", "N"},
    {"bad-end", "The last byte of record replies becomes '['.", nullptr},
    {"pieces", "Send each reply in K pieces.", "K"},
    {"gap-ms", "Pause between pieces. Default 0.", "G"},
    {"stale", "Text written unsolicited at start-up and after each reply.", "TEXT"},
    {"stale-delay-ms", "Delay of the stale text after a reply. Default 300.", "D"},
    {"extra", "Text appended right after each reply.", "TEXT"},
    {"repeat", "Send every reply (with its extra text) N times in a row.", "N"},
    {"repeat-gap-ms", "With --repeat: pause between the copies. Default 0.", "G"},
    {"late-ms", "Start replies this long after their request, answering later requests meanwhile.", "L"},
    {"late-every", "With --late-ms: only every Nth faulted reply is late. Default 1.", "N"},
    {"noise", "Junk written again and again, from the first faulted reply on.", "TEXT"},
    {"noise-every-ms", "Pause between two junk writes of --noise. Default 2.", "M"},
    {"bad-count", "Count replies carry letters, e.g. [0A1B].", nullptr},
    {"fault-only", "Apply the faults only to requests starting with PREFIX.", "PREFIX"},
    {"help", "Show this help.", nullptr},
};

void addOptions(QCommandLineParser &parser)
{
    for (const Option &option : optionTable) {
        parser.addOption(option.valueName
                             ? QCommandLineOption(QString::fromLatin1(option.name), QString::fromLatin1(option.description),
                                                  QString::fromLatin1(option.valueName))
                             : QCommandLineOption(QString::fromLatin1(option.name), QString::fromLatin1(option.description)));
    }
}

// Reads the option values one by one; the first bad one leaves its message.
class Reader
{
public:
    explicit Reader(const QCommandLineParser &parser) : m_parser(parser) { }

    QString error;

    bool isSet(const char *name) const { return m_parser.isSet(QString::fromLatin1(name)); }

    void number(const char *name, int &value, int low, int high)
    {
        if (!isSet(name) || !error.isEmpty())
            return;
        const QString text = m_parser.value(QString::fromLatin1(name));
        bool ok = false;
        const int parsed = text.toInt(&ok);
        if (!ok || parsed < low || parsed > high) {
            fail(name, QStringLiteral("expects a number from %1 to %2, not '%3'").arg(low).arg(high).arg(text));
            return;
        }
        value = parsed;
    }

    void milliseconds(const char *name, qint64 &valueNs)
    {
        int ms = int(valueNs / nsPerMs);
        number(name, ms, 0, 3'600'000);
        valueNs = ms * nsPerMs;
    }

    void bytes(const char *name, QByteArray &value)
    {
        if (!isSet(name) || !error.isEmpty())
            return;
        QString reason;
        const auto decoded = decodeEscapes(m_parser.value(QString::fromLatin1(name)).toLocal8Bit(), &reason);
        if (!decoded)
            fail(name, reason);
        else
            value = *decoded;
    }

    void list(const char *name, QList<int> &values)
    {
        if (!isSet(name) || !error.isEmpty())
            return;
        const QString text = m_parser.value(QString::fromLatin1(name));
        for (const QString &item : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            bool ok = false;
            const int slot = item.trimmed().toInt(&ok);
            if (!ok || slot < 0) {
                fail(name, QStringLiteral("expects slot numbers like 2,4, not '%1'").arg(text));
                return;
            }
            values << slot;
        }
    }

    QString text(const char *name) const { return m_parser.value(QString::fromLatin1(name)); }

private:
    void fail(const char *name, const QString &reason) { error = QStringLiteral("--%1 %2").arg(QLatin1String(name), reason); }

    const QCommandLineParser &m_parser;
};

QByteArray defaultModel(Family family)
{
    switch (family) {
    case Family::Winding: return "[KX-W1]";
    case Family::Contact: return "[KX-C1]";
    case Family::Ratio: return "KXT1";
    case Family::Cable: return "[KX-R1]";
    }
    return QByteArray();
}

void readFaults(Reader &reader, SimOptions &options)
{
    Faults &faults = options.faults;
    faults.silent = reader.isSet("silent");
    reader.number("silent-after", faults.silentAfter, 0, 1'000'000);
    reader.number("truncate", faults.truncate, 0, 1'000'000);
    faults.badEnd = reader.isSet("bad-end");
    faults.badCount = reader.isSet("bad-count");
    reader.bytes("extra", faults.extra);
    reader.number("repeat", faults.repeat, 1, 1000);
    reader.bytes("noise", options.noise);
    reader.milliseconds("noise-every-ms", options.noiseEveryNs);
    reader.bytes("fault-only", faults.onlyPrefix);
    options.pacing.paced = !reader.isSet("unpaced");
    reader.milliseconds("latency-ms", options.pacing.latencyNs);
    reader.milliseconds("adapter-latency", options.pacing.adapterLatencyNs);
    reader.number("pieces", options.pacing.pieces, 1, 1'000'000);
    reader.milliseconds("gap-ms", options.pacing.gapNs);
    reader.milliseconds("late-ms", options.pacing.lateNs);
    reader.number("late-every", options.pacing.lateEvery, 1, 1'000'000);
    reader.milliseconds("repeat-gap-ms", options.pacing.repeatGapNs);
    reader.bytes("stale", options.stale);
    reader.milliseconds("stale-delay-ms", options.staleDelayNs);
}

} // namespace

ParsedOptions parseSimOptions(const QStringList &arguments)
{
    ParsedOptions result;
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    addOptions(parser);
    if (!parser.parse(arguments)) {
        result.error = parser.errorText();
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.error = QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first());
        return result;
    }
    Reader reader(parser);
    result.helpRequested = reader.isSet("help");
    SimOptions &options = result.options;
    if (reader.isSet("family")) {
        options.family = familyFromName(reader.text("family"));
        if (!options.family)
            reader.error = QStringLiteral("--family expects winding, contact, ratio or cable");
        else
            options.model = defaultModel(*options.family);
    }
    reader.bytes("model", options.model);
    options.modelSet = reader.isSet("model");
    reader.number("files", options.files, 0, 9999);
    options.filesSet = reader.isSet("files");
    options.shortRecords = reader.isSet("short");
    reader.number("heat-run", options.heatRun, 0, 99);
    options.heatRunSet = reader.isSet("heat-run");
    reader.list("empty", options.emptySlots);
    reader.list("empty-heat-run", options.emptyHeatRunSlots);
    int seed = 1;
    reader.number("seed", seed, 0, 2'000'000'000);
    options.seed = quint32(seed);
    options.dataFile = reader.text("data");
    options.writeDataFile = reader.text("write-data");
    reader.number("com", options.com, 1, 32);
    options.noLink = reader.isSet("no-link");
    options.logFile = reader.text("log");
    readFaults(reader, options);
    result.error = reader.error;
    return result;
}

QString simHelpText()
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Plays a meter on a pseudo-terminal. Prints the device path and the COM name,\n"
        "then answers requests until SIGINT or SIGTERM."));
    addOptions(parser);
    return parser.helpText() + QLatin1Char('\n') + QString::fromLatin1(dataFileHelp);
}

bool buildContent(const SimOptions &options, MeterContent &content, QString *error)
{
    const int files = options.shortRecords ? 30 : options.files;
    if (options.dataFile.isEmpty()) {
        const Family family = options.family.value_or(familyForModel(options.model));
        content = seededContent(family, options.model, files, options.heatRun, options.seed);
    } else {
        DataFileContent data;
        data.content.model = options.model;
        data.content.fileCount = options.files;
        data.content.heatRunCount = options.heatRun;
        if (!loadDataFile(options.dataFile, data, error))
            return false;
        content = data.content;
        if (options.modelSet)
            content.model = options.model;
        if (options.filesSet || options.shortRecords)
            content.fileCount = files;
        if (options.heatRunSet)
            content.heatRunCount = options.heatRun;
        if (options.family)
            content.family = *options.family;
        else if (!data.hasFamily)
            content.family = familyForModel(content.model);
    }
    markEmpty(content, options.emptySlots, options.emptyHeatRunSlots);
    return true;
}

} // namespace sim
