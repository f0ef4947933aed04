// SPDX-License-Identifier: MIT
#pragma once

#include "protocol/RecordCells.h"
#include "protocol/ReplyRule.h"

#include <QByteArray>
#include <QLocale>
#include <functional>

// How one family asks for a stored record and reads the reply: the request,
// what the reply must hold before it is decoded, and the decoder.
struct RecordFormat
{
    std::function<QByteArray(int index)> request;
    ReplyRule rule;
    // The locale gives the number and date text where the family's cells use it.
    std::function<RecordCells(const QByteArray &reply, const QLocale &locale)> decode;
};

// Contact and ratio meters: "{11nnnn}"; 37 bytes awaited, the "]" that closes the record is byte 38.
RecordFormat contactRecordFormat();

// Cable meters: "{10nnnn}"; 34 bytes with the "]" last, or 35 from meters that
// send one more byte before it. The raw byte fields may hold any value, so
// only the byte at an end position counts as the end mark.
RecordFormat cableRecordFormat();

// Winding meters. Long records: "{11nnnn}", 33 bytes awaited, "]" at 34.
// Short ones: "{11nn}", 18 awaited, the second resistance ends at 26 and "]" follows.
RecordFormat windingRecordFormat(bool shortRecords);

// A winding meter that reports 30 files sends short records.
bool windingUsesShortRecords(int fileCount);
