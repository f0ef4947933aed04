// SPDX-License-Identifier: MIT
#pragma once

#include "protocol/RecordCells.h"

#include <QByteArray>
#include <QLocale>
#include <QList>
#include <QString>
#include <QStringList>

// Label columns of a cable meter row, in screen order.
namespace CableColumn {
enum : int { FileName, DateTime, Resistance, Size, Current, Conductor, Count };
}

// The user's date and time separators, which the date-and-time cell uses.
struct DateTimeSeparators
{
    QString date;
    QString time;
};

// Taken from the locale's short date and time formats: the characters between
// the first two fields. Where a format has no plain separator there (the C
// locale's "d MMM yyyy", or quoted literal text) "/" and ":" are used.
DateTimeSeparators separatorsOf(const QLocale &locale);

// "{10" + file index in four digits + "}": index 41 -> "{100041}".
QByteArray cableRecordRequest(int index);

// Bytes the window waits for before it reads a record reply.
constexpr int cableRecordAwaited = 34;

// Decodes one record reply. 1-based: 2-8 name (" - - - " = empty slot), 9-14
// date and time bytes, 15 conductor byte, 16-17 current in tenths of an ampere
// (low byte first), 18-19 size in square millimetres (65535 = none), 22-29
// resistance text with unit bytes, "]" last. Byte fields are raw values, not
// digits. An empty slot still shows its name. A reply shorter than the wait
// count or not ending in "]" is BadEndMark and writes nothing.
RecordCells decodeCableRecord(const QByteArray &reply, const DateTimeSeparators &seps, const QLocale &locale);

// The eight resistance characters up to the first unit byte: "m" (109) gives
// " m", the micro sign (230) gives " µ", the ohm sign (234) gives nothing; the
// rest of the field is dropped. Without a unit byte the field shows unchanged.
QString cableResistanceText(const QByteArray &field8);

// The longest texts each label column can come to hold under `locale`, in
// screen order: the windows must show them whole.
QList<QStringList> cableLongestTexts(const QLocale &locale);
