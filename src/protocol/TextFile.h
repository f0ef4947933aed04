// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

class QFileDevice;

struct WriteResult
{
    bool ok = false;
    QString error; // names the file and the system's reason; empty when ok
};

// Writes `text` to `path` in the system's encoding (the ANSI code page on
// Windows, the locale's encoding elsewhere), replacing an existing file.
// The text goes to a temporary file that takes the target's place only when
// everything is written: a failed write never leaves a half-written file and
// never destroys the file it was to replace.
WriteResult writeTextFile(const QString &path, const QString &text);
// The bytes writeTextFile() writes for `text`.
QByteArray textFileBytes(const QString &text);

// The same, for bytes that must reach the file unchanged.
// Only a regular file is ever replaced: a FIFO or a character device (a
// terminal, /dev/stdout) is written to as a stream; a folder, socket or block
// device is refused with outputRefusal()'s reason.
WriteResult writeBytesFile(const QString &path, const QByteArray &bytes);

// Why `path` cannot take an output file ("... is a folder"), or empty when it
// can: it does not exist yet, or is a regular file, a FIFO or a character device.
QString outputRefusal(const QString &path);

// Writes every byte to a file opened with QIODevice::Unbuffered. Empty when
// all are written, else the system's reason ("No space left on device"), also
// when the system took only part of them.
QString writeAllBytes(QFileDevice &file, const QByteArray &bytes);
