// SPDX-License-Identifier: MIT
#include "ui/SaveLocation.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

constexpr int longestModelPart = 64;

bool isFolder(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

bool keptOutOfFileNames(QChar c)
{
    static const QString refused = QStringLiteral("<>:\"/\\|?*[]{}()");
    return c.category() == QChar::Other_Control || c.category() == QChar::Other_Format || refused.contains(c);
}

} // namespace

SaveFileType SaveFileType::htmlTable()
{
    return {SaveKind::MeasurementTable, QStringLiteral("HTML table (*.html)"), QStringLiteral("html")};
}

SaveFileType SaveFileType::csvFile()
{
    return {SaveKind::HeatRunFile, QStringLiteral("CSV file (*.csv)"), QStringLiteral("csv")};
}

SaveFileType SaveFileType::csvTable()
{
    return {SaveKind::MeasurementTable, QStringLiteral("CSV (*.csv)"), QStringLiteral("csv")};
}

SaveFileType SaveFileType::workbook()
{
    return {SaveKind::MeasurementTable, QStringLiteral("Excel workbook (*.xlsx)"), QStringLiteral("xlsx")};
}

namespace SaveLocation {

QString settingsKey(SaveKind kind)
{
    switch (kind) {
    case SaveKind::MeasurementTable:
        return QStringLiteral("saveFolders/measurementTable");
    case SaveKind::HeatRunFile:
        break;
    }
    return QStringLiteral("saveFolders/heatRunFile");
}

QString startFolder(SaveKind kind)
{
    const QString remembered = QSettings().value(settingsKey(kind)).toString();
    if (isFolder(remembered))
        return QDir::cleanPath(remembered);
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (isFolder(documents))
        return QDir::cleanPath(documents);
    return QDir::homePath();
}

void remember(SaveKind kind, const QString &writtenPath)
{
    if (writtenPath.isEmpty())
        return;
    const QString folder = QFileInfo(writtenPath).absolutePath();
    QSettings settings;
    // Writing the settings file costs more than the export of a long list:
    // only when the folder changed.
    if (settings.value(settingsKey(kind)).toString() != folder)
        settings.setValue(settingsKey(kind), folder);
}

QString fileNamePart(const QString &text)
{
    QString kept;
    kept.reserve(text.size());
    for (const QChar c : text) {
        if (!keptOutOfFileNames(c))
            kept += c;
    }
    kept = kept.simplified().left(longestModelPart);
    // A leading dot hides the file; a trailing dot or blank is dropped by Windows.
    while (kept.startsWith(QLatin1Char('.')) || kept.startsWith(QLatin1Char(' ')))
        kept.remove(0, 1);
    while (kept.endsWith(QLatin1Char('.')) || kept.endsWith(QLatin1Char(' ')))
        kept.chop(1);
    return kept;
}

QString proposedFileName(const QString &meterModel, const QDate &day, const QString &suffix)
{
    const QString model = fileNamePart(meterModel);
    const QString date = day.toString(Qt::ISODate);
    const QString name = model.isEmpty() ? date : model + QLatin1Char(' ') + date;
    return suffix.isEmpty() ? name : name + QLatin1Char('.') + suffix;
}

} // namespace SaveLocation
