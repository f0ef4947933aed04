// SPDX-License-Identifier: MIT
#include "protocol/TextFile.h"

#include <QDir>
#include <QFileDevice>
#include <QSaveFile>
#include <QStringEncoder>

namespace {

WriteResult failure(const QString &path, const QString &reason)
{
    return {false, QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), reason)};
}

} // namespace

QString writeAllBytes(QFileDevice &file, const QByteArray &bytes)
{
    // A write that the system cuts short part-way (a full disk, a file size
    // limit) gives back the count it managed and leaves no error behind, so
    // the file's error text would be "Unknown error". Writing the rest again
    // fails at once, and that failure carries the system's reason.
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const qint64 written = file.write(data, left);
        if (written <= 0)
            return file.errorString();
        data += written;
        left -= written;
    }
    if (!file.flush())
        return file.errorString();
    return {};
}

WriteResult writeBytesFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    // Unbuffered: every byte is handed to the system in writeAllBytes(), which
    // sees its answer. commit() would go on to replace the target even when a
    // buffered flush failed, so a cut-short file would take the old one's
    // place: give up on any write error before it.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failure(path, file.errorString());
    const QString reason = writeAllBytes(file, bytes);
    if (!reason.isEmpty()) {
        file.cancelWriting();
        return failure(path, reason);
    }
    if (!file.commit())
        return failure(path, file.errorString());
    return {true, QString()};
}

QByteArray textFileBytes(const QString &text)
{
    QStringEncoder encoder(QStringConverter::System);
    return encoder.encode(text);
}

WriteResult writeTextFile(const QString &path, const QString &text)
{
    return writeBytesFile(path, textFileBytes(text));
}
