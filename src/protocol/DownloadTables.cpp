// SPDX-License-Identifier: MIT
#include "protocol/DownloadTables.h"

#include "protocol/CsvTable.h"
#include "protocol/HtmlTable.h"
#include "protocol/TextFile.h"

#include <cmath>

namespace {

bool isListed(const MeterFiles &files, int slot)
{
    const MeterFiles::State state = files.state(slot);
    return state == MeterFiles::State::Read || state == MeterFiles::State::Failed;
}

QStringList trimmed(const QStringList &texts)
{
    QStringList result;
    for (const QString &text : texts)
        result << text.trimmed();
    return result;
}

// The cells of a slot, one per heading: a failed slot has its number only.
QStringList rowCells(const MeterFiles &files, int slot)
{
    QStringList cells = files.state(slot) == MeterFiles::State::Failed ? QStringList{QString::number(slot + 1)}
                                                                            : files.exportCells(slot);
    while (cells.size() < files.columns().headings.size())
        cells << QString();
    return cells;
}

QByteArray jsonString(const QString &text)
{
    QString out(u'"');
    for (const QChar character : text) {
        const char16_t c = character.unicode();
        if (c == u'"' || c == u'\\')
            out += u'\\' + character;
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (c == u'\r')
            out += QStringLiteral("\\r");
        else if (c == u'\t')
            out += QStringLiteral("\\t");
        else if (c < 0x20 || c == 0x7F || c == 0x2028 || c == 0x2029)
            out += QStringLiteral("\\u%1").arg(int(c), 4, 16, QLatin1Char('0'));
        else
            out += character;
    }
    return (out + u'"').toUtf8();
}

// A cell that is a number, as a JSON number; an empty cell as null; anything
// else as a string.
QByteArray jsonValue(const QString &cell, const QLocale &locale)
{
    const QString text = cell.trimmed();
    if (text.isEmpty())
        return "null";
    // Cells the program wrote use the locale's decimal separator; cells the
    // meter wrote as they came ("30.22600", "848E-3") use a point. Neither has
    // group separators, so "1.234" is never read as 1234.
    QLocale written = locale;
    written.setNumberOptions(locale.numberOptions() | QLocale::RejectGroupSeparator);
    QLocale meter = QLocale::c();
    meter.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    double number = written.toDouble(text, &ok);
    if (!ok)
        number = meter.toDouble(text, &ok);
    if (ok && std::isfinite(number))
        return QByteArray::number(number, 'g', QLocale::FloatingPointShortest);
    return jsonString(text);
}

} // namespace

QString statusOf(const MeterFiles &files, int slot)
{
    return files.state(slot) == MeterFiles::State::Failed ? files.failure(slot) : QStringLiteral("OK");
}

QByteArray htmlDownload(const MeterFiles &files)
{
    return textFileBytes(htmlTable(files.columns().headings, files.exportRows()));
}

QByteArray csvDownload(const MeterFiles &files)
{
    QList<QStringList> rows;
    for (int slot = 0; slot < files.fileCount(); ++slot) {
        if (isListed(files, slot))
            rows << rowCells(files, slot) + QStringList{statusOf(files, slot)};
    }
    return csvTable(files.columns().headings + QStringList{QStringLiteral("Status")}, rows);
}

QByteArray jsonDownload(const QString &model, const MeterFiles &files)
{
    // Written by hand so that the keys keep the columns' order.
    const QStringList headings = trimmed(files.columns().headings);
    QList<QByteArray> objects;
    for (int slot = 0; slot < files.fileCount(); ++slot) {
        if (!isListed(files, slot))
            continue;
        QList<QByteArray> members{jsonString(headings.value(0)) + ": " + QByteArray::number(slot + 1),
                                  jsonString(QStringLiteral("Status")) + ": " + jsonString(statusOf(files, slot))};
        if (files.state(slot) == MeterFiles::State::Read) {
            const QStringList cells = files.exportCells(slot);
            for (int column = 1; column < cells.size() && column < headings.size(); ++column)
                members << jsonString(headings[column]) + ": " + jsonValue(cells[column], files.locale());
        }
        objects << "    {" + members.join(", ") + "}";
    }
    QByteArray json = "{\n  \"model\": " + jsonString(model) + ",\n  \"files\": [";
    if (!objects.isEmpty())
        json += "\n" + objects.join(",\n") + "\n  ";
    return json + "]\n}\n";
}
