// SPDX-License-Identifier: MIT
#include "protocol/DataWorkbook.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <xlsxwriter.h>

#include <algorithm>
#include <clocale>
#include <locale.h>
#include <string>
#ifdef Q_OS_MACOS
#include <xlocale.h>
#endif

namespace {

// Excel holds at most this many characters in a cell and this many decimals in a format.
constexpr qsizetype longestCellText = 32767;
constexpr int mostDecimals = 30;
// Column widths in characters of the default font: wide enough for a date,
// never wider than a screen.
constexpr double narrowestColumn = 8;
constexpr double widestColumn = 60;
// Bold headings, and some room between the columns.
constexpr double headingWidthFactor = 1.15;
constexpr double columnPadding = 2;

// libxlsxwriter writes numbers with the C library's printf, which takes the
// decimal separator of the user's locale (Qt sets it at start-up): "0,848"
// is no number in a workbook. While one lives, this thread writes numbers
// with a point.
class PointNumbers
{
public:
#ifdef Q_OS_WIN
    PointNumbers() : m_perThread(_configthreadlocale(_ENABLE_PER_THREAD_LOCALE))
    {
        const char *current = std::setlocale(LC_NUMERIC, nullptr);
        m_previous = current ? current : "C";
        std::setlocale(LC_NUMERIC, "C");
    }
    ~PointNumbers()
    {
        std::setlocale(LC_NUMERIC, m_previous.c_str());
        _configthreadlocale(m_perThread);
    }

private:
    int m_perThread;
    std::string m_previous;
#else
    PointNumbers() : m_c(newlocale(LC_ALL_MASK, "C", locale_t(nullptr))), m_previous(m_c ? uselocale(m_c) : nullptr) {}
    ~PointNumbers()
    {
        if (!m_c)
            return;
        uselocale(m_previous);
        freelocale(m_c);
    }

private:
    locale_t m_c;
    locale_t m_previous;
#endif
public:
    PointNumbers(const PointNumbers &) = delete;
    PointNumbers &operator=(const PointNumbers &) = delete;
};

// "_x0041_" in a cell is read as Excel's escape of a character ("A"): a text
// that holds one keeps it by escaping its underscore ("_x005F_").
QString keptFromExcelEscapes(const QString &text)
{
    static const QRegularExpression escape(QStringLiteral("_(?=x[0-9A-Fa-f]{4}_)"));
    QString kept = text;
    return kept.replace(escape, QStringLiteral("_x005F_"));
}

// A text as the file's XML can carry it: the C0 controls that libxlsxwriter
// does not escape (in the document's title), NUL and the two non-characters
// become U+FFFD; cut to what a cell holds.
QByteArray xmlText(const QString &text, bool escapesControls)
{
    QString plain = text.left(longestCellText);
    for (QChar &c : plain) {
        const char16_t u = c.unicode();
        const bool control = u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r';
        if (u == 0 || u == 0xFFFE || u == 0xFFFF || (control && !escapesControls))
            c = QChar::ReplacementCharacter;
    }
    return plain.toUtf8();
}

// A string cell: libxlsxwriter escapes its control characters as "_x0001_".
QByteArray cellText(const QString &text)
{
    return xmlText(keptFromExcelEscapes(text), true);
}

QByteArray fileName(const QString &path)
{
#ifdef Q_OS_WIN
    return path.toUtf8(); // libxlsxwriter opens its files by UTF-8 names there
#else
    return QFile::encodeName(path);
#endif
}

double textWidth(const DataCell &cell)
{
    switch (cell.kind) {
    case DataCell::Kind::Empty:
        return 0;
    case DataCell::Kind::Number:
        return QString::number(cell.number.value, 'f', std::min(cell.number.decimals, mostDecimals)).size();
    case DataCell::Kind::DateTime:
        return QStringLiteral("2023-05-01 10:02:00").size();
    case DataCell::Kind::Text:
        break;
    }
    return cell.text.size();
}

QList<double> columnWidths(const DataTable &table)
{
    QList<double> widths;
    for (const QString &heading : table.headings)
        widths << heading.size() * headingWidthFactor;
    for (const QList<DataCell> &row : table.rows) {
        for (qsizetype column = 0; column < row.size() && column < widths.size(); ++column)
            widths[column] = std::max(widths[column], textWidth(row[column]));
    }
    for (double &width : widths)
        width = std::clamp(width + columnPadding, narrowestColumn, widestColumn);
    return widths;
}

lxw_datetime excelDateTime(const QDateTime &dateTime)
{
    const QDate date = dateTime.date();
    const QTime time = dateTime.time();
    return {date.year(), date.month(), date.day(), time.hour(), time.minute(), double(time.second())};
}

// Writes the sheet; the first error libxlsxwriter reports, else LXW_NO_ERROR.
class SheetWriter
{
public:
    SheetWriter(lxw_workbook *workbook, lxw_worksheet *sheet) : m_workbook(workbook), m_sheet(sheet)
    {
        m_bold = workbook_add_format(workbook);
        format_set_bold(m_bold);
        m_date = workbook_add_format(workbook);
        format_set_num_format(m_date, "yyyy-mm-dd hh:mm:ss");
    }

    lxw_error write(const DataTable &table)
    {
        const QList<double> widths = columnWidths(table);
        for (qsizetype column = 0; column < table.headings.size(); ++column) {
            keep(worksheet_set_column(m_sheet, lxw_col_t(column), lxw_col_t(column), widths[column], nullptr));
            keep(worksheet_write_string(m_sheet, 0, lxw_col_t(column), cellText(table.headings[column]).constData(),
                                        m_bold));
        }
        worksheet_freeze_panes(m_sheet, 1, 0);
        for (qsizetype row = 0; row < table.rows.size(); ++row) {
            const QList<DataCell> &cells = table.rows[row];
            for (qsizetype column = 0; column < cells.size() && column < table.headings.size(); ++column)
                writeCell(lxw_row_t(row + 1), lxw_col_t(column), cells[column]);
        }
        return m_error;
    }

private:
    void keep(lxw_error error)
    {
        if (m_error == LXW_NO_ERROR)
            m_error = error;
    }

    lxw_format *numberFormat(int decimals)
    {
        decimals = std::clamp(decimals, 0, mostDecimals);
        lxw_format *&format = m_numberFormats[decimals];
        if (!format) {
            format = workbook_add_format(m_workbook);
            format_set_num_format(format, workbookNumberFormat(decimals).toLatin1().constData());
        }
        return format;
    }

    void writeCell(lxw_row_t row, lxw_col_t column, const DataCell &cell)
    {
        switch (cell.kind) {
        case DataCell::Kind::Empty:
            return;
        case DataCell::Kind::Number:
            keep(worksheet_write_number(m_sheet, row, column, cell.number.value, numberFormat(cell.number.decimals)));
            return;
        case DataCell::Kind::DateTime: {
            lxw_datetime dateTime = excelDateTime(cell.dateTime);
            keep(worksheet_write_datetime(m_sheet, row, column, &dateTime, m_date));
            return;
        }
        case DataCell::Kind::Text:
            keep(worksheet_write_string(m_sheet, row, column, cellText(cell.text).constData(), nullptr));
            return;
        }
    }

    lxw_workbook *m_workbook;
    lxw_worksheet *m_sheet;
    lxw_format *m_bold = nullptr;
    lxw_format *m_date = nullptr;
    QHash<int, lxw_format *> m_numberFormats;
    lxw_error m_error = LXW_NO_ERROR;
};

QString failed(const QString &reason)
{
    return QStringLiteral("The workbook could not be made (%1)").arg(reason);
}

QString failed(lxw_error error)
{
    return failed(QString::fromUtf8(lxw_strerror(error)));
}

} // namespace

QString workbookNumberFormat(int decimals)
{
    decimals = std::clamp(decimals, 0, mostDecimals);
    return decimals == 0 ? QStringLiteral("0") : QStringLiteral("0.") + QString(decimals, u'0');
}

QString workbookSheetName(const QString &model)
{
    static const QString refused = QStringLiteral("[]:*?/\\");
    QString name;
    for (const QChar c : model) {
        if (!refused.contains(c) && c.category() != QChar::Other_Control)
            name += c;
    }
    name = name.trimmed().left(LXW_SHEETNAME_MAX);
    while (name.startsWith(u'\'') || name.endsWith(u'\''))
        name = name.startsWith(u'\'') ? name.mid(1) : name.chopped(1);
    // "History" is the one name Excel keeps for itself.
    if (name.isEmpty() || name.compare(QLatin1String("History"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Files");
    return name;
}

WorkbookBytes dataWorkbook(const DataTable &table, const WorkbookProperties &properties)
{
    const QTemporaryDir folder;
    if (!folder.isValid())
        return {{}, failed(folder.errorString())};
    const QString workbookPath = folder.filePath(QStringLiteral("workbook.xlsx"));
    const QByteArray path = fileName(workbookPath);
    lxw_workbook_options options{};
#ifndef Q_OS_WIN
    // Its own scratch files go beside the workbook and with it.
    QByteArray tmpdir = fileName(folder.path());
    options.tmpdir = tmpdir.data();
#endif
    const PointNumbers pointNumbers;
    lxw_workbook *workbook = workbook_new_opt(path.constData(), &options);
    if (!workbook)
        return {{}, failed(LXW_ERROR_MEMORY_MALLOC_FAILED)};

    QByteArray title = xmlText(properties.model, false);
    lxw_doc_properties documentProperties{};
    documentProperties.title = title.data();
    documentProperties.created = time_t(properties.downloaded.isValid() ? properties.downloaded.toSecsSinceEpoch() : 0);
    lxw_error error = workbook_set_properties(workbook, &documentProperties);

    lxw_worksheet *sheet = workbook_add_worksheet(workbook, workbookSheetName(properties.model).toUtf8().constData());
    if (!sheet && error == LXW_NO_ERROR)
        error = LXW_ERROR_INVALID_SHEETNAME_CHARACTER;
    if (sheet && error == LXW_NO_ERROR)
        error = SheetWriter(workbook, sheet).write(table);
    // Closing writes the file and frees the workbook, also after an error.
    const lxw_error closed = workbook_close(workbook);
    if (error == LXW_NO_ERROR)
        error = closed;
    if (error != LXW_NO_ERROR)
        return {{}, failed(error)};

    QFile written(workbookPath);
    if (!written.open(QIODevice::ReadOnly))
        return {{}, failed(written.errorString())};
    return {written.readAll(), {}};
}

WriteResult writeDataWorkbook(const QString &path, const DataTable &table, const WorkbookProperties &properties)
{
    const WorkbookBytes workbook = dataWorkbook(table, properties);
    if (!workbook.error.isEmpty())
        return {false, QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), workbook.error)};
    return writeBytesFile(path, workbook.bytes);
}
