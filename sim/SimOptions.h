// SPDX-License-Identifier: MIT
#pragma once

#include "Faults.h"
#include "Family.h"
#include "MeterContent.h"
#include "ReplySchedule.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace sim {

// Everything the command line sets.
struct SimOptions
{
    QByteArray model = "[KX-W1]";
    bool modelSet = false;
    std::optional<Family> family;          // --family; else from the data file or the model
    int files = 100;
    bool filesSet = false;
    bool shortRecords = false;             // --short: 30 files
    int heatRun = 3;
    bool heatRunSet = false;
    QList<int> emptySlots;
    QList<int> emptyHeatRunSlots;
    quint32 seed = 1;
    QString dataFile;
    QString writeDataFile;
    int com = 1;
    bool noLink = false;
    QString logFile;
    Faults faults;
    Pacing pacing;
    QByteArray stale;
    qint64 staleDelayNs = 300'000'000;
    QByteArray noise;
    qint64 noiseEveryNs = 2'000'000;
};

struct ParsedOptions
{
    SimOptions options;
    bool helpRequested = false;
    QString error;                         // empty when the command line is good
};

// `arguments` as the process got them, program name first.
ParsedOptions parseSimOptions(const QStringList &arguments);

// The --help text: the options and the data file format.
QString simHelpText();

// The meter memory the options describe: the data file on top of the
// defaults, explicit options on top of that, or seeded content.
bool buildContent(const SimOptions &options, MeterContent &content, QString *error);

} // namespace sim
