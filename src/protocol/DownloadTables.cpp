// SPDX-License-Identifier: MIT
#include "protocol/DownloadTables.h"

#include "protocol/CsvTable.h"
#include "protocol/HtmlTable.h"
#include "protocol/TextFile.h"


namespace {

bool isListed(const MeterFiles &files, int slot)
{
    const MeterFiles::State state = files.state(slot);
    return state == MeterFiles::State::Read || state == MeterFiles::State::Failed;
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

QByteArray jsonValue(const DataCell &cell)
{
    switch (cell.kind) {
    case DataCell::Kind::Empty:
        return "null";
    case DataCell::Kind::Number:
        return dataCellText(cell).toLatin1();
    case DataCell::Kind::DateTime:
    case DataCell::Kind::Text:
        break;
    }
    return jsonString(dataCellText(cell));
}

} // namespace

QStringList dataHeadings(const MeterFiles &files)
{
    QStringList headings{QStringLiteral("File No.")};
    for (const DataColumn &column : files.columns().dataColumns)
        headings << column.heading;
    return headings;
}

QList<int> listedSlots(const MeterFiles &files)
{
    QList<int> listed;
    for (int slot = 0; slot < files.fileCount(); ++slot) {
        if (isListed(files, slot))
            listed << slot;
    }
    return listed;
}

QString statusOf(const MeterFiles &files, int slot)
{
    return files.state(slot) == MeterFiles::State::Failed ? files.failure(slot) : QStringLiteral("OK");
}

QByteArray htmlDownload(const MeterFiles &files)
{
    return textFileBytes(htmlTable(files.columns().headings, files.exportRows()));
}

QString dataCellText(const DataCell &cell)
{
    switch (cell.kind) {
    case DataCell::Kind::Empty:
        return QString();
    case DataCell::Kind::Number:
        return QString::number(cell.number.value, 'f', cell.number.decimals);
    case DataCell::Kind::DateTime:
        return isoDateTime(cell.dateTime);
    case DataCell::Kind::Text:
        break;
    }
    return cell.text;
}

DataTable dataTable(const MeterFiles &files, const QList<int> &slotIndexes)
{
    DataTable table{dataHeadings(files) << QStringLiteral("Status"), {}};
    for (const int slot : slotIndexes) {
        QList<DataCell> row = files.dataCells(slot);
        row.resize(table.headings.size() - 1);
        row << DataCell::ofText(statusOf(files, slot));
        table.rows << row;
    }
    return table;
}

WorkbookProperties workbookProperties(const QString &model, const MeterFiles &files)
{
    return {model, files.readAt().isValid() ? files.readAt() : QDateTime::currentDateTime()};
}

QByteArray dataCsv(const DataTable &table)
{
    QList<QStringList> rows;
    for (const QList<DataCell> &cells : table.rows) {
        QStringList row;
        for (const DataCell &cell : cells)
            row << dataCellText(cell);
        rows << row;
    }
    return csvTable(table.headings, rows);
}

QByteArray csvDownload(const MeterFiles &files)
{
    return dataCsv(dataTable(files, listedSlots(files)));
}

QByteArray jsonDownload(const QString &model, const MeterFiles &files)
{
    // Written by hand so that the keys keep the columns' order: the file's
    // number and status first, then the data columns of a file that was read.
    const QList<int> listed = listedSlots(files);
    const DataTable table = dataTable(files, listed);
    const auto member = [&table](const QList<DataCell> &cells, qsizetype column) {
        return jsonString(table.headings[column]) + ": " + jsonValue(cells[column]);
    };
    QList<QByteArray> objects;
    for (qsizetype row = 0; row < table.rows.size(); ++row) {
        const QList<DataCell> &cells = table.rows[row];
        const qsizetype status = cells.size() - 1;
        QList<QByteArray> members{member(cells, 0), member(cells, status)};
        if (files.state(listed[row]) == MeterFiles::State::Read) {
            for (qsizetype column = 1; column < status; ++column)
                members << member(cells, column);
        }
        objects << "    {" + members.join(", ") + "}";
    }
    QByteArray json = "{\n  \"model\": " + jsonString(model) + ",\n  \"files\": [";
    if (!objects.isEmpty())
        json += "\n" + objects.join(",\n") + "\n  ";
    return json + "]\n}\n";
}
