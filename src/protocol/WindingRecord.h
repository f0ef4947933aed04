// SPDX-License-Identifier: MIT
#pragma once

#include "protocol/RecordCells.h"

#include <QByteArray>
#include <QLocale>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// Label columns of a winding meter row, in the order of RecordCells::cells.
namespace WindingColumn {
enum : int { FileName, Res1T, Res2T, Temp, Res1At20, Res2At20, Conductor, Count };
}

// "{11" + slot index + "}": four digits in the long format ({110037}), two in
// the short one ({1129}).
QByteArray windingRecordRequest(int index, bool shortRecords);

// Bytes the window waits for before it reads a record reply.
int windingRecordAwaited(bool shortRecords);

// Decodes one record reply into the row's cells.
//
// Long reply, 1-based: 1-6 name (" - - -" = empty slot), 8-16 and 18-26 the
// channel resistances as text, 28 conductor digit (0 copper, else aluminium),
// 30-33 temperature in tenths of a degree, "]" last. The short reply stops
// after the second resistance.
//
// From the conductor on, anything that does not convert ends the decoding
// quietly and the cells decoded so far stand: a conductor that is not a digit,
// a temperature that is not a number or outside 1..999 tenths, a channel
// resistance written as a number but beyond single precision ("1.0E+39"), or a
// corrected value beyond it. A channel text that is not a number at all leaves
// only that channel's corrected cell out. A reply shorter than the window's
// wait count, or not ending in "]", is BadEndMark.
RecordCells decodeWindingRecord(const QByteArray &reply, bool shortRecords, const QLocale &locale);

// R + R x (200 - t) x k with k per tenth of a degree (0.000393 copper, code 0;
// 0.00041 aluminium, any other code). The product is formed in double
// precision from the single R, the sum is rounded to single precision.
// nullopt when the result does not fit a single.
std::optional<float> correctedValue(float r, int tenths, int conductorCode);

// The corrected value as the row shows it; empty when it does not fit a single.
// 1.234, 253, copper -> "1.208297"; 100.0, 350, aluminium -> "93.85".
QString correctedTo20(float r, int tenths, int conductorCode, const QLocale &locale);

// "Copper" for code 0, "Aluminium" for any other.
QString conductorName(int conductorCode);

// The longest texts each label column can come to hold under `locale`, in
// screen order: the windows must show them whole.
QList<QStringList> windingLongestTexts(const QLocale &locale);
