// SPDX-License-Identifier: MIT
#pragma once

#include "protocol/RecordCells.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Label columns of a contact or ratio meter row.
namespace ContactColumn {
enum : int { DateTime, Resistance, Current, Count };
}

// "{11" + file index in four digits + "}": index 0 -> "{110000}".
QByteArray contactRecordRequest(int index);

// Bytes the window waits for before it reads a record reply.
constexpr int contactRecordAwaited = 37;

// Decodes one record reply. 1-based: 2-20 date and time ("32/45/32 - 45:32:45"
// marks an empty slot), 22 range status ('1' over, '2' under), 24-31
// resistance with a scale code in its fourth character, 33-37 current, "]"
// last. A reply shorter than the wait count or not ending in "]" is BadEndMark.
RecordCells decodeContactRecord(const QByteArray &reply);

// The eight-character resistance field as the row shows it: the scale code in
// the fourth character turns ":" into "E-3", "<" into "E-6" and ";" into
// nothing after the first three characters; any other code leaves the field
// whole.
QString contactResistanceText(const QByteArray &field);

// The longest texts each label column can come to hold, in screen order:
// the windows must show them whole. All are the meter's own text.
QList<QStringList> contactLongestTexts();
