// SPDX-License-Identifier: MIT
#include "protocol/CsvTable.h"

#include <QRegularExpression>

namespace {

bool startsAsFormula(const QString &text)
{
    if (text.isEmpty())
        return false;
    const QChar first = text.front();
    if (first == u'=' || first == u'+' || first == u'@')
        return true;
    if (first != u'-')
        return false;
    // "-12.5" (or "-12,5" in a comma locale) is a number and "---" the list's
    // empty cell; "-Under-", "-1+1" or "-(A1)" would be evaluated.
    static const QRegularExpression number(QStringLiteral("^-\\d+([.,]\\d+)?([eE][-+]?\\d+)?$"));
    static const QRegularExpression dashes(QStringLiteral("^-+$"));
    return !number.match(text).hasMatch() && !dashes.match(text).hasMatch();
}

} // namespace

QString csvField(const QString &text)
{
    QString field = text.trimmed();
    if (startsAsFormula(field))
        field.prepend(u'\'');
    const bool quoted = field.contains(u',') || field.contains(u'"') || field.contains(u'\r') || field.contains(u'\n');
    if (!quoted)
        return field;
    field.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + field + u'"';
}

QByteArray csvTable(const QStringList &headings, const QList<QStringList> &rows)
{
    QString text;
    const auto addRecord = [&text](const QStringList &fields) {
        QStringList written;
        written.reserve(fields.size());
        for (const QString &field : fields)
            written << csvField(field);
        text += written.join(u',') + QStringLiteral("\r\n");
    };
    addRecord(headings);
    for (QStringList row : rows) {
        // Every record as wide as the heading: a winding row without its
        // temperature has only four cells.
        while (row.size() < headings.size())
            row << QString();
        addRecord(row);
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}
