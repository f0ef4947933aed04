// SPDX-License-Identifier: MIT
#pragma once

// Reads back the first sheet of an .xlsx file as a spreadsheet program
// would: each cell's type, value and number format, from the sheet's XML,
// its shared strings and its styles (unzipped with the system's unzip).

#include <QHash>
#include <QList>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QXmlStreamReader>

struct WorkbookCell
{
    QString type;   // "s" a shared string, "n" a number (dates too)
    QString value;  // the string, or the number as written
    QString format; // the number format ("General" when none)
    bool bold = false;
};

struct Workbook
{
    QString error; // empty when read
    QMap<QString, WorkbookCell> cells; // by reference, "B2"
    QString sheetXml;
    QString sheetName;
    QString coreProperties; // docProps/core.xml
};

// A shared string as a spreadsheet shows it: "_x0001_" is the escape of a
// character the XML cannot hold, "_x005F_" of an underscore.
inline QString excelText(const QString &text)
{
    static const QRegularExpression escape(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
    QString shown;
    qsizetype from = 0;
    for (QRegularExpressionMatchIterator it = escape.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        shown += text.mid(from, match.capturedStart() - from) + QChar(match.captured(1).toUShort(nullptr, 16));
        from = match.capturedEnd();
    }
    return shown + text.mid(from);
}

// Every part must be well-formed XML: a spreadsheet refuses or "repairs" one that is not.
inline QString xmlError(const QString &name, const QString &xml)
{
    QXmlStreamReader reader(xml);
    while (!reader.atEnd())
        reader.readNext();
    return reader.hasError() ? name + QStringLiteral(": ") + reader.errorString() + QStringLiteral("; ") : QString();
}

inline bool canReadWorkbooks()
{
    return !QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty();
}

inline Workbook readWorkbook(const QString &path)
{
    Workbook workbook;
    const auto part = [&](const QString &name) {
        QProcess unzip;
        unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), path, name});
        if (!unzip.waitForFinished(30000) || unzip.exitCode() != 0)
            workbook.error += name + QStringLiteral(" not read; ");
        return QString::fromUtf8(unzip.readAllStandardOutput());
    };
    workbook.sheetXml = part(QStringLiteral("xl/worksheets/sheet1.xml"));
    workbook.coreProperties = part(QStringLiteral("docProps/core.xml"));
    const QString styles = part(QStringLiteral("xl/styles.xml"));
    const QString strings = part(QStringLiteral("xl/sharedStrings.xml"));
    const QString book = part(QStringLiteral("xl/workbook.xml"));
    workbook.error += xmlError(QStringLiteral("sheet"), workbook.sheetXml)
                      + xmlError(QStringLiteral("core properties"), workbook.coreProperties)
                      + xmlError(QStringLiteral("styles"), styles) + xmlError(QStringLiteral("strings"), strings);

    QStringList shared;
    for (QXmlStreamReader xml(strings); !xml.atEnd();) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("t"))
            shared << xml.readElementText();
    }
    for (QXmlStreamReader xml(book); !xml.atEnd();) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("sheet"))
            workbook.sheetName = xml.attributes().value(QLatin1String("name")).toString();
    }

    // Styles: the cell formats in order, each with its number format and font.
    QHash<QString, QString> formatCodes{{QStringLiteral("0"), QStringLiteral("General")}};
    QList<bool> boldFonts;
    QList<QPair<QString, int>> cellFormats; // numFmtId, fontId
    bool inCellFormats = false;
    for (QXmlStreamReader xml(styles); !xml.atEnd();) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && xml.name() == QLatin1String("cellXfs"))
            inCellFormats = false;
        if (token != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (xml.name() == QLatin1String("numFmt"))
            formatCodes[attributes.value(QLatin1String("numFmtId")).toString()] =
                attributes.value(QLatin1String("formatCode")).toString();
        else if (xml.name() == QLatin1String("font"))
            boldFonts << false;
        else if (xml.name() == QLatin1String("b") && !boldFonts.isEmpty())
            boldFonts.last() = true;
        else if (xml.name() == QLatin1String("cellXfs"))
            inCellFormats = true;
        else if (xml.name() == QLatin1String("xf") && inCellFormats)
            cellFormats.append({attributes.value(QLatin1String("numFmtId")).toString(),
                                attributes.value(QLatin1String("fontId")).toInt()});
    }

    for (QXmlStreamReader xml(workbook.sheetXml); !xml.atEnd();) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != QLatin1String("c"))
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        const QString reference = attributes.value(QLatin1String("r")).toString();
        WorkbookCell cell;
        cell.type = attributes.hasAttribute(QLatin1String("t")) ? attributes.value(QLatin1String("t")).toString()
                                                                : QStringLiteral("n");
        const QPair<QString, int> style = cellFormats.value(attributes.value(QLatin1String("s")).toInt());
        cell.format = formatCodes.value(style.first, QStringLiteral("built-in ") + style.first);
        cell.bold = boldFonts.value(style.second);
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("v"))
                cell.value = xml.readElementText();
            else
                xml.skipCurrentElement();
        }
        if (cell.type == QLatin1String("s"))
            cell.value = excelText(shared.value(cell.value.toInt()));
        workbook.cells.insert(reference, cell);
    }
    return workbook;
}
