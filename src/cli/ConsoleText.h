// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Texts the command line shows.

// A text from the meter or the user made safe for a terminal: control
// characters (escape sequences would recolour or retitle the terminal) are
// shown as "\xNN" instead of being sent.
QString terminalText(const QString &text);

// A table shown on a terminal rather than written to a file or pipe: each
// line made safe with terminalText(), lines ended with the terminal's LF.
QByteArray terminalTable(const QByteArray &table);

// The progress line: "[#####---------------]  25/100 files   18.2 files/s   0:04 left".
// The rate and the time left are shown once a file has been read.
QString progressLine(int done, int total, double elapsedSeconds);
