// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <optional>

// Fields of a meter reply, taken by character position. Positions are 1-based,
// as the meters document their frames; one character is one byte.
namespace ReplyFields {

// Characters first..last, clipped to the reply: a range that runs past the end
// gives what is there, a range wholly outside gives an empty array.
QByteArray slice(const QByteArray &reply, int first, int last);

// The unsigned decimal number in characters first..last. Blanks before and
// after the digits are allowed. Gives nullopt when the field is not wholly
// inside the reply (a truncated "0042" must not read as 4), is blank, or holds
// anything but digits; the window then treats the reply like a time-out.
std::optional<int> decimal(const QByteArray &reply, int first, int last);

// The byte at a 1-based position as a value 0..255; nullopt past the end.
std::optional<int> byteAt(const QByteArray &reply, int position);

// True when the reply is not empty and its last character is "]".
bool endsWithCloseBracket(const QByteArray &reply);

} // namespace ReplyFields
