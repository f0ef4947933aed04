// SPDX-License-Identifier: MIT
#include "BenchReport.h"

#include <QStringList>

#include <algorithm>

namespace bench {

namespace {

// "–" for a value the run could not measure (no scroll bar below 41 files).
QString number(const RunValues &values, const QString &name, int decimals)
{
    if (!values.contains(name))
        return QStringLiteral("–");
    return QString::number(values.value(name), 'f', decimals);
}

QString lineName(bool paced, int adapterLatencyMs)
{
    const QString line = paced ? QStringLiteral("19200 baud") : QStringLiteral("unpaced");
    if (adapterLatencyMs <= 0)
        return line;
    return QStringLiteral("%1, adapter %2 ms").arg(line).arg(adapterLatencyMs);
}

QString markdownLine(const QStringList &cells)
{
    return QStringLiteral("| ") + cells.join(QStringLiteral(" | ")) + QStringLiteral(" |\n");
}

QString separatorLine(int columns)
{
    QStringList cells;
    for (int column = 0; column < columns; ++column)
        cells << (column < 3 ? QStringLiteral(":--") : QStringLiteral("--:"));
    return QStringLiteral("|") + cells.join(QStringLiteral("|")) + QStringLiteral("|\n");
}

QString table(const QStringList &headings, const QList<QStringList> &lines)
{
    QString text = markdownLine(headings) + separatorLine(int(headings.size()));
    for (const QStringList &line : lines)
        text += markdownLine(line);
    return text;
}

QStringList rowStart(const TableRow &row)
{
    return {row.family, QString::number(row.files), lineName(row.paced, row.adapterLatencyMs)};
}

} // namespace

QByteArray formatValues(const RunValues &values)
{
    QByteArray text;
    for (auto it = values.begin(); it != values.end(); ++it)
        text += it.key().toUtf8() + '=' + QByteArray::number(it.value(), 'g', 12) + '\n';
    return text;
}

RunValues parseValues(const QByteArray &text)
{
    RunValues values;
    for (const QByteArray &line : text.split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals <= 0)
            continue;
        bool ok = false;
        const double value = line.mid(equals + 1).trimmed().toDouble(&ok);
        if (ok)
            values.insert(QString::fromUtf8(line.left(equals).trimmed()), value);
    }
    return values;
}

double median(QList<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype middle = values.size() / 2;
    if (values.size() % 2 == 1)
        return values[middle];
    return (values[middle - 1] + values[middle]) / 2;
}

RunValues medianOf(const QList<RunValues> &runs)
{
    QMap<QString, QList<double>> collected;
    for (const RunValues &run : runs) {
        for (auto it = run.begin(); it != run.end(); ++it)
            collected[it.key()] << it.value();
    }
    RunValues medians;
    for (auto it = collected.begin(); it != collected.end(); ++it)
        medians.insert(it.key(), median(it.value()));
    return medians;
}

QString resultTable(const QList<TableRow> &rows)
{
    const QStringList headings{
        QStringLiteral("Family"),          QStringLiteral("Files"),
        QStringLiteral("Line"),            QStringLiteral("Runs"),
        QStringLiteral("Floor (s)"),       QStringLiteral("Load (s)"),
        QStringLiteral("Overhead (ms)"),   QStringLiteral("Overhead / floor"),
        QStringLiteral("Per exchange, median / max (ms)"),
        QStringLiteral("CPU: load / fetching (% of wall)"), QStringLiteral("Peak RSS (MB)"),
        QStringLiteral("List build (ms)"), QStringLiteral("Export all ticked (ms)"),
        QStringLiteral("Scroll step (ms)"),
    };
    QList<QStringList> lines;
    for (const TableRow &row : rows) {
        const RunValues &v = row.values;
        lines << (rowStart(row) << QString::number(row.runs) << number(v, key::floor, 3) << number(v, key::load, 3)
                                << number(v, key::overhead, 1) << number(v, key::overheadShare, 2) + QStringLiteral(" %")
                                << number(v, key::exchangeMedian, 3) + QStringLiteral(" / ")
                                       + number(v, key::exchangeMax, 3)
                                << number(v, key::cpu, 2) + QStringLiteral(" / ") + number(v, key::cpuFetching, 2) << number(v, key::peakRss, 1)
                                << number(v, key::listBuild, 2) << number(v, key::exportAll, 2)
                                << number(v, key::scrollStep, 3));
    }
    return table(headings, lines);
}

QString breakdownTable(const QList<TableRow> &rows)
{
    const QStringList headings{
        QStringLiteral("Family"),
        QStringLiteral("Files"),
        QStringLiteral("Line"),
        QStringLiteral("Timer1 late (ms)"),
        QStringLiteral("Start (ms)"),
        QStringLiteral("Family window (ms)"),
        QStringLiteral("All exchanges (ms)"),
        QStringLiteral("Finish (ms)"),
        QStringLiteral("Requests' wire time (ms)"),
    };
    QList<QStringList> lines;
    for (const TableRow &row : rows) {
        const RunValues &v = row.values;
        lines << (rowStart(row) << number(v, key::timerLate, 2) << number(v, key::start, 2) << number(v, key::window, 2)
                                << number(v, key::exchangesTotal, 1) << number(v, key::finish, 2)
                                << number(v, key::requestWire, 1));
    }
    return table(headings, lines);
}

QString commandLineTable(const QList<TableRow> &rows)
{
    const QStringList headings{
        QStringLiteral("Family"),          QStringLiteral("Files"),
        QStringLiteral("Line"),            QStringLiteral("Runs"),
        QStringLiteral("Floor (s)"),       QStringLiteral("Download (s)"),
        QStringLiteral("Overhead (ms)"),   QStringLiteral("Overhead / floor"),
        QStringLiteral("Start-up (ms)"),   QStringLiteral("Exchange median / max (ms)"),
        QStringLiteral("Finish (ms)"),
    };
    QList<QStringList> lines;
    for (const TableRow &row : rows) {
        const RunValues &v = row.values;
        lines << (rowStart(row) << QString::number(row.runs) << number(v, key::floor, 3) << number(v, key::load, 3)
                                << number(v, key::overhead, 1) << number(v, key::overheadShare, 2) + QStringLiteral(" %")
                                << number(v, key::start, 2)
                                << number(v, key::exchangeMedian, 3) + QStringLiteral(" / ")
                                       + number(v, key::exchangeMax, 3)
                                << number(v, key::finish, 2));
    }
    return table(headings, lines);
}

} // namespace bench
