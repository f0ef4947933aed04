// SPDX-License-Identifier: MIT
#pragma once

#include "protocol/ReplyRule.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The winding meter's heat-run-test files: the slot names of the "{02}" reply
// and the framed file of the "{10nn}" download.

constexpr int heatRunSlotCount = 8;

// The widest names a heat-run slot can hold: twelve characters from the meter.
QStringList heatRunLongestNames();
// Bytes per slot in the "{02}" reply.
constexpr int heatRunSlotBytes = 18;

// The meter's count clamped to the eight slots the window has.
int heatRunSlotsUsed(int count);

// What the "{02}" reply must hold for a meter that reported `count` files: a
// block per used slot; the last slot's digits end one byte after that.
ReplyRule heatRunNamesRule(int count);

// One entry per slot (eight): the 12-character name at characters 18s+3 to
// 18s+14 of the "{02}" reply, or nullopt for a slot that is empty
// ("------------"), beyond the count, or cut short by the reply's end.
QList<std::optional<QString>> heatRunNames(const QByteArray &reply, int count);

// The file between the opening "[" and the closing "]"; nullopt when the reply
// is empty or either bracket is missing. "[]" gives an empty file.
std::optional<QByteArray> heatRunContent(const QByteArray &reply);

// "{10" + slot number (slotIndex + 1) in two digits + "}": slot 0 -> "{1001}".
QByteArray heatRunRequest(int slotIndex);

// A file name for a heat-run-test file from its name on the meter: letters,
// digits, blanks, ".", "_" and "-" are kept, anything else becomes "_";
// blanks and dots at either end go; a name left empty or reserved on Windows
// ("CON", "COM1", ...) becomes "heat-run-N" or gets a leading "_". ".csv" is
// appended, and " (2)", " (3)", ... before it where `taken` (compared without
// case) already holds the name.
QString heatRunFileName(const QString &meterName, int slot, const QStringList &taken);
