// SPDX-License-Identifier: MIT
#include "DataFile.h"

#include "Escapes.h"

#include <QFile>

namespace sim {

namespace {

constexpr int maxCount = 99999;

// Splits "word rest" at the first blank; `rest` is empty when there is none.
bool splitWord(const QByteArray &line, QByteArray &word, QByteArray &rest)
{
    const qsizetype blank = line.indexOf(' ');
    word = blank < 0 ? line : line.left(blank);
    rest = blank < 0 ? QByteArray() : line.mid(blank + 1);
    return blank >= 0;
}

bool parseNumber(const QByteArray &text, int &value, QString *error)
{
    bool ok = false;
    value = text.toInt(&ok);
    if (!ok || value < 0 || value > maxCount || text.startsWith('+')) {
        *error = QStringLiteral("'%1' is not a number from 0 to %2").arg(QString::fromLatin1(text)).arg(maxCount);
        return false;
    }
    return true;
}

class LineParser
{
public:
    explicit LineParser(DataFileContent &result) : m_result(result) { }

    bool parse(const QByteArray &line, QString *error)
    {
        QByteArray keyword;
        QByteArray rest;
        if (!splitWord(line, keyword, rest)) {
            *error = QStringLiteral("'%1' needs a value").arg(QString::fromLatin1(keyword));
            return false;
        }
        MeterContent &content = m_result.content;
        if (keyword == "family")
            return parseFamily(rest, error);
        if (keyword == "model") {
            m_result.hasModel = true;
            return parseText(rest, content.model, error);
        }
        if (keyword == "files") {
            m_result.hasFiles = true;
            return parseNumber(rest, content.fileCount, error);
        }
        if (keyword == "heat-run") {
            m_result.hasHeatRun = true;
            return parseNumber(rest, content.heatRunCount, error);
        }
        if (keyword == "record")
            return parseSlotText(rest, content.records, error);
        if (keyword == "short-record")
            return parseSlotText(rest, content.shortRecords, error);
        if (keyword == "heat-run-name" || keyword == "heat-run-file")
            return parseHeatRun(keyword, rest, error);
        *error = QStringLiteral("unknown keyword '%1'").arg(QString::fromLatin1(keyword));
        return false;
    }

private:
    bool parseFamily(const QByteArray &name, QString *error)
    {
        const auto family = familyFromName(QString::fromLatin1(name));
        if (!family) {
            *error = QStringLiteral("unknown family '%1' (winding, contact, ratio or cable)")
                         .arg(QString::fromLatin1(name));
            return false;
        }
        m_result.content.family = *family;
        m_result.hasFamily = true;
        return true;
    }

    static bool parseText(const QByteArray &text, QByteArray &value, QString *error)
    {
        const auto bytes = decodeEscapes(text, error);
        if (!bytes)
            return false;
        value = *bytes;
        return true;
    }

    static bool parseSlot(const QByteArray &rest, int &slot, QByteArray &text, QString *error)
    {
        QByteArray number;
        if (!splitWord(rest, number, text)) {
            *error = QStringLiteral("a slot number and a value are needed");
            return false;
        }
        return parseNumber(number, slot, error);
    }

    static bool parseSlotText(const QByteArray &rest, QMap<int, QByteArray> &map, QString *error)
    {
        int slot = 0;
        QByteArray text;
        QByteArray bytes;
        if (!parseSlot(rest, slot, text, error) || !parseText(text, bytes, error))
            return false;
        map.insert(slot, bytes);
        return true;
    }

    bool parseHeatRun(const QByteArray &keyword, const QByteArray &rest, QString *error)
    {
        int slot = 0;
        QByteArray text;
        QByteArray bytes;
        if (!parseSlot(rest, slot, text, error) || !parseText(text, bytes, error))
            return false;
        HeatRunFile &file = m_result.content.heatRunFiles[slot];
        if (keyword == "heat-run-file") {
            file.content = bytes;
            return true;
        }
        if (bytes.size() != 12) {
            *error = QStringLiteral("a heat-run name has 12 bytes, this one has %1").arg(bytes.size());
            return false;
        }
        file.name = bytes;
        return true;
    }

    DataFileContent &m_result;
};

} // namespace

bool parseDataFile(const QByteArray &text, DataFileContent &result, QString *error)
{
    LineParser parser(result);
    const QList<QByteArray> lines = text.split('\n');
    for (qsizetype index = 0; index < lines.size(); ++index) {
        QByteArray line = lines.at(index);
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith('#'))
            continue;
        QString reason;
        if (!parser.parse(line, &reason)) {
            *error = QStringLiteral("line %1: %2").arg(index + 1).arg(reason);
            return false;
        }
    }
    // A file given without a name is an empty slot: its content cannot be asked for.
    for (auto it = result.content.heatRunFiles.begin(); it != result.content.heatRunFiles.end();) {
        it = it->name.isEmpty() ? result.content.heatRunFiles.erase(it) : std::next(it);
    }
    return true;
}

bool loadDataFile(const QString &path, DataFileContent &result, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    QString reason;
    if (!parseDataFile(file.readAll(), result, &reason)) {
        *error = path + QStringLiteral(", ") + reason;
        return false;
    }
    return true;
}

QByteArray writeDataFile(const MeterContent &content)
{
    QByteArray text = "# kestrix-meter-sim data file\n";
    text += "family " + familyName(content.family).toLatin1() + "\n";
    text += "model " + encodeEscapes(content.model) + "\n";
    text += "files " + QByteArray::number(content.fileCount) + "\n";
    text += "heat-run " + QByteArray::number(content.heatRunCount) + "\n";
    for (auto it = content.records.begin(); it != content.records.end(); ++it)
        text += "record " + QByteArray::number(it.key()) + " " + encodeEscapes(it.value()) + "\n";
    for (auto it = content.shortRecords.begin(); it != content.shortRecords.end(); ++it)
        text += "short-record " + QByteArray::number(it.key()) + " " + encodeEscapes(it.value()) + "\n";
    for (auto it = content.heatRunFiles.begin(); it != content.heatRunFiles.end(); ++it) {
        const QByteArray slot = QByteArray::number(it.key());
        text += "heat-run-name " + slot + " " + encodeEscapes(it->name) + "\n";
        text += "heat-run-file " + slot + " " + encodeEscapes(it->content) + "\n";
    }
    return text;
}

} // namespace sim
