// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QList>
#include <QtGlobal>

#include <array>

// Byte layouts of the meters' replies. Positions below count from 1, as the
// program reads them; every text field has a fixed width (blank-padded on the
// right, cut when too long) so the fields always stay in place.
namespace sim::layout {

// Marks of an empty memory slot.
inline constexpr char windingEmptyName[] = " - - -";          // 6 bytes
inline constexpr char contactEmptyDate[] = "32/45/32 - 45:32:45"; // 19 bytes
inline constexpr char cableEmptyName[] = " - - - ";            // 7 bytes
inline constexpr char heatRunEmptyName[] = "------------";     // 12 bytes

// Code page 437 unit bytes of the cable meter's resistance field.
inline constexpr char unitMilli = 'm';                  // 109
inline constexpr char unitMicro = char(230);
inline constexpr char unitOhm = char(234);

// `text` blank-padded on the right or cut to exactly `width` bytes.
QByteArray fitted(const QByteArray &text, int width);

// "[" + value zero-padded to `digits` digits + "]"; longer values in full.
QByteArray countReply(int value, int digits);

// ---- Winding meter ----------------------------------------------------------
// Long record, 34 bytes, no opening bracket:
//   1-6 name, 7 sep, 8-16 ch1 text, 17 sep, 18-26 ch2 text, 27 sep,
//   28 conductor digit, 29 sep, 30-33 temperature in tenths (4 digits), 34 "]".
// Short record, 27 bytes: 1-6 name, 7 sep, 8-16 ch1, 17 sep, 18-26 ch2, 27 "]".
struct WindingRecord
{
    QByteArray name;        // 6
    QByteArray channel1;    // 9, e.g. "   1.2340"
    QByteArray channel2;    // 9
    char conductor = '0';   // '0' copper, other digits aluminium
    int temperatureTenths = 250;
};
inline constexpr int windingLongSize = 34;
inline constexpr int windingShortSize = 27;
QByteArray windingLong(const WindingRecord &record);
QByteArray windingEmptyLong();
// The short record shares the long one's first 26 bytes.
QByteArray windingShortFromLong(const QByteArray &longRecord);
QByteArray windingEmptyShort();

// One 18-byte block of the heat-run names reply: for slot s it occupies reply
// positions 18s+2 to 18s+19: sep, 12-byte name at 18s+3..18s+14, sep, four
// digits at 18s+16..18s+19.
QByteArray heatRunBlock(const QByteArray &name, int number);
// "[" + blocks + "]".
QByteArray heatRunNamesReply(const QList<QByteArray> &blocks);

// ---- Contact and ratio meters ----------------------------------------------
// 38 bytes: 1 "[", 2-20 "dd/mm/yy - hh:mm:ss", 21 sep, 22 status, 23 sep,
// 24-31 resistance (8, the 4th may be a scale code ':' '<' ';'), 32 sep,
// 33-37 current (5), 38 "]".
struct ContactRecord
{
    QByteArray dateTime;     // 19
    char status = '0';       // '1' over range, '2' under range, other: measured
    QByteArray resistance;   // 8
    QByteArray current;      // 5
};
inline constexpr int contactRecordSize = 38;
QByteArray contactRecord(const ContactRecord &record);
QByteArray contactEmpty();

// ---- Cable meter -------------------------------------------------------------
// 34 bytes: 1 "[", 2-8 name (7), 9-14 raw date/time bytes, 15 conductor byte,
// 16-17 current in tenths (low byte first), 18-19 size (low byte first,
// 65535 = none), 20-21 filler, 22-29 resistance (8), 30-33 filler, 34 "]".
struct CableRecord
{
    QByteArray name;                      // 7
    std::array<quint8, 6> dateTime{};     // first, second, third date field, h, min, s
    quint8 conductor = 1;                 // 1 copper, 2 aluminium, other
    quint16 currentTenths = 0;
    quint16 size = 0xFFFF;
    QByteArray resistance;                // 8, e.g. "12.34" 'm' 234 ' '
};
inline constexpr int cableRecordSize = 34;
inline constexpr char cableFiller = '\0';
QByteArray cableRecord(const CableRecord &record);
QByteArray cableEmpty();

} // namespace sim::layout
