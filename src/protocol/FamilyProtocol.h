// SPDX-License-Identifier: MIT
#pragma once

#include "protocol/ExportColumns.h"
#include "protocol/MeterFamily.h"
#include "protocol/RecordFormat.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// One meter family as the serial line and the files see it: how it names
// itself, what it is asked at start-up, how its records are read, what the
// exports write for it. Adding a family is one entry in familyProtocols(),
// its record decoder, and its window in src/ui/FamilyWindows.
struct FamilyProtocol
{
    MeterFamily family;
    // The identification replies of its models, compared byte for byte.
    QList<QByteArray> models;
    // Winding meters tell their heat-run count ("{01}") and names ("{02}") first.
    bool hasHeatRuns = false;
    // The command that asks for the measurement file count ("03" gives "{03}").
    const char *countCommand = "03";
    // The record format of a meter that reported `fileCount` files.
    RecordFormat (*recordFormat)(int fileCount) = nullptr;
    // The export's headings and cells.
    FamilyColumns (*columns)() = nullptr;
    // The "Fatal Error" text when the meter does not give its counts.
    QString (*startupFailure)() = nullptr;
    // The longest texts each label column can come to hold, in screen order.
    QList<QStringList> (*longestTexts)(const QLocale &locale) = nullptr;
};

// Every family the program knows, the winding meters first.
const QList<FamilyProtocol> &familyProtocols();
const FamilyProtocol &familyProtocol(MeterFamily family);

// The family of a known identification reply. The comparison is with the
// whole reply, byte for byte and case-sensitive: a known reply followed by a
// line end is not that model.
std::optional<MeterFamily> familyForModel(const QByteArray &reply);

// What the detection window stores: the family of a known reply, otherwise
// the winding family (the initial value), whose window then carries the reply
// in its title.
MeterFamily familyOrWinding(const QByteArray &reply);
