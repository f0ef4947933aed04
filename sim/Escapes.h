// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace sim {

// Byte texts on the command line and in data files are written with escapes
// so that raw meter bytes (code page 437 unit signs, zero bytes) can be given:
//   \\  a backslash      \r  carriage return (13)   \n  line feed (10)
//   \t  tab (9)          \xHH  the byte with hexadecimal value HH (two digits)
// Every other byte stands for itself. An unknown escape or a lone trailing
// backslash is an error, reported in *error.
std::optional<QByteArray> decodeEscapes(const QByteArray &text, QString *error);

// The inverse: printable ASCII stays, a backslash doubles, CR/LF/tab become
// \r \n \t, every other byte becomes \xHH. A trailing blank is written as \x20
// so that editors that strip line ends cannot change the value.
QByteArray encodeEscapes(const QByteArray &bytes);

} // namespace sim
