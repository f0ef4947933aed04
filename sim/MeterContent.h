// SPDX-License-Identifier: MIT
#pragma once

#include "Family.h"

#include <QByteArray>
#include <QList>
#include <QMap>

namespace sim {

// One heat-run-test file of a winding meter. An empty name marks an empty slot.
struct HeatRunFile
{
    QByteArray name;      // 12 bytes when set
    QByteArray content;   // CSV text, lines separated by CR LF, no trailing line end

    bool operator==(const HeatRunFile &other) const = default;
};

// What a simulated meter has stored: its identity, its counts and the exact
// reply bytes of every measurement slot.
struct MeterContent
{
    Family family = Family::Winding;
    QByteArray model = "[KX-W1]";
    int fileCount = 100;
    // Slot index -> the record reply, byte for byte. For a winding meter this
    // is the long form; a slot without an entry answers as an empty slot.
    QMap<int, QByteArray> records;
    // Winding meters: slot -> exact short reply; without an entry the short
    // reply is derived from the long record.
    QMap<int, QByteArray> shortRecords;
    int heatRunCount = 3;
    // Winding meters: heat-run slot (0-based; requested as {10 slot+1}) -> file.
    QMap<int, HeatRunFile> heatRunFiles;

    // The record reply of a slot; an empty-slot record for slots at or beyond
    // fileCount and for slots without an entry.
    QByteArray recordFor(int slot) const;
    // Winding meters' short record reply of a slot.
    QByteArray shortRecordFor(int slot) const;
    // The 12 bytes that name a heat-run slot in the names reply.
    QByteArray heatRunNameFor(int slot) const;
    // The reply to the download of a heat-run slot: "[" + content + "]",
    // "[]" for an empty slot.
    QByteArray heatRunReplyFor(int slot) const;
    // The reply to the names request: one 18-byte block per heat-run slot.
    QByteArray heatRunNamesReply() const;
    // Lines in a heat-run file, the four digits after its name.
    static int heatRunLineCount(const QByteArray &content);

    bool operator==(const MeterContent &other) const = default;
};

} // namespace sim
