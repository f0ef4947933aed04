// SPDX-License-Identifier: MIT
#include "protocol/ExportColumns.h"

#include "protocol/CableRecord.h"
#include "protocol/ContactRecord.h"
#include "protocol/WindingRecord.h"

namespace {

constexpr int windingShortRowCells = 4;
constexpr int windingFullRowCells = 8;

QStringList firstCells(const QStringList &labels, int count)
{
    QStringList cells;
    for (int i = 0; i < count; ++i)
        cells.append(labels.value(i));
    return cells;
}

} // namespace

QStringList windingHeadings()
{
    return {QStringLiteral(" File No. "),          QStringLiteral(" Filename "),
            QStringLiteral(" Ch1 (Ohm) "),         QStringLiteral(" Ch2 (Ohm) "),
            QStringLiteral(" Temperature (Deg) "), QStringLiteral(" Ch1 (Ohm) at 20Deg "),
            QStringLiteral(" Ch2 (Ohm) at 20Deg "), QStringLiteral(" Conductor ")};
}

QStringList contactHeadings()
{
    return {QStringLiteral(" File No. "), QStringLiteral(" File Date & Time "), QStringLiteral(" Resistance (Ohm) "),
            QStringLiteral(" Current (A) ")};
}

QStringList cableHeadings()
{
    return {QStringLiteral(" File No. "),         QStringLiteral(" File Name "),
            QStringLiteral(" Date & Time "),      QStringLiteral(" Resistance (Ohm) "),
            QStringLiteral(" Cable Size (sq. mm) "), QStringLiteral(" Conductor "),
            QStringLiteral(" Current (A) ")};
}

QStringList windingExportCells(const QStringList &fileNoAndSevenLabels, bool temperatureRead)
{
    return firstCells(fileNoAndSevenLabels, temperatureRead ? windingFullRowCells : windingShortRowCells);
}

QStringList cableExportCells(const QStringList &fileNoAndSixScreenLabels)
{
    // Screen: number, name, date and time, resistance, size, current, conductor.
    // File:   number, name, date and time, resistance, size, conductor, current.
    static constexpr int screenIndexOfFileColumn[] = {0, 1, 2, 3, 4, 6, 5};
    QStringList cells;
    for (const int screenIndex : screenIndexOfFileColumn)
        cells.append(fileNoAndSixScreenLabels.value(screenIndex));
    return cells;
}

FamilyColumns windingColumns()
{
    return {windingHeadings(), WindingColumn::Count, WindingColumn::FileName,
            [](const QStringList &cells, const QList<bool> &filled) {
                return windingExportCells(cells, filled.value(WindingColumn::Temp));
            },
            windingDataColumns()};
}

FamilyColumns contactColumns()
{
    return {contactHeadings(), ContactColumn::Count, -1,
            [](const QStringList &cells, const QList<bool> &) { return cells; }, contactDataColumns()};
}

FamilyColumns cableColumns()
{
    return {cableHeadings(), CableColumn::Count, -1,
            [](const QStringList &cells, const QList<bool> &) { return cableExportCells(cells); },
            cableDataColumns()};
}
