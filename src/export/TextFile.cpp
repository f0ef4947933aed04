#include "export/TextFile.h"

#include <QDir>
#include <QSaveFile>
#include <QStringEncoder>

namespace {

WriteResult failure(const QString &path, const QString &reason)
{
    return {false, QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), reason)};
}

} // namespace

WriteResult writeBytesFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failure(path, file.errorString());
    // write() only fills the device's buffer; the bytes reach the disk in
    // flush(). commit() would flush too but goes on to replace the target even
    // when that failed (a full disk), so a cut-short file would take the old
    // one's place: flush first and give up on any error.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return failure(path, reason);
    }
    if (!file.commit())
        return failure(path, file.errorString());
    return {true, QString()};
}

WriteResult writeTextFile(const QString &path, const QString &text)
{
    QStringEncoder encoder(QStringConverter::System);
    const QByteArray bytes = encoder.encode(text);
    return writeBytesFile(path, bytes);
}
