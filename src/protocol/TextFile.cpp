// SPDX-License-Identifier: MIT
#include "protocol/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringEncoder>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

WriteResult failure(const QString &path, const QString &reason)
{
    return {false, QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), reason)};
}

enum class Target { Missing, Regular, Stream, Folder, Other };

Target targetKind(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return Target::Missing;
    if (S_ISREG(status.st_mode))
        return Target::Regular;
    if (S_ISFIFO(status.st_mode) || S_ISCHR(status.st_mode))
        return Target::Stream;
    return S_ISDIR(status.st_mode) ? Target::Folder : Target::Other;
#else
    const QFileInfo info(path);
    if (!info.exists())
        return Target::Missing;
    return info.isDir() ? Target::Folder : Target::Regular;
#endif
}

// A pipe or a device takes the bytes as they come: renaming a file over it
// would replace the device node itself.
WriteResult writeStream(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failure(path, file.errorString());
    const QString reason = writeAllBytes(file, bytes);
    if (!reason.isEmpty())
        return failure(path, reason);
    return {true, QString()};
}

} // namespace

QString outputRefusal(const QString &path)
{
    switch (targetKind(path)) {
    case Target::Missing:
    case Target::Regular:
    case Target::Stream:
        return {};
    case Target::Folder:
        return QStringLiteral("%1 is a folder, not a file").arg(QDir::toNativeSeparators(path));
    case Target::Other:
        break;
    }
    return QStringLiteral("%1 is not a file that can be written (a socket or a block device)")
        .arg(QDir::toNativeSeparators(path));
}

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
    const QString refusal = outputRefusal(path);
    if (!refusal.isEmpty())
        return {false, refusal};
    if (targetKind(path) == Target::Stream)
        return writeStream(path, bytes);
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
