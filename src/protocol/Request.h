// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

// Requests to a meter: "{", a two-digit command code, an optional zero-padded
// decimal argument, "}". No line end follows.
namespace Request {

// Zero-pads value to `digits` digits ("00" -> 2, "0000" -> 4); a value with
// more digits than the pattern is written in full, as the meters expect.
QByteArray padded(int value, int digits);

// "{" + code + "}", e.g. command("00") == "{00}".
QByteArray command(const char *code);

// "{" + code + padded(argument) + "}", e.g. withArgument("11", 37, 4) == "{110037}".
QByteArray withArgument(const char *code, int argument, int digits);

} // namespace Request
