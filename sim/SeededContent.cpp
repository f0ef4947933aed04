// SPDX-License-Identifier: MIT
#include "SeededContent.h"

#include "RecordLayout.h"

#include <QRandomGenerator>

namespace sim {

namespace {

QByteArray twoDigits(int value)
{
    return QByteArray::number(value).rightJustified(2, '0');
}

QByteArray pick(QRandomGenerator &rng, const QList<QByteArray> &choices)
{
    return choices.at(rng.bounded(int(choices.size())));
}

// A resistance of 1 mOhm to 10 kOhm, always 4 decimals, right-aligned in 9.
QByteArray windingResistance(QRandomGenerator &rng)
{
    const double mantissa = 1.0 + rng.bounded(9000) / 1000.0;
    double value = mantissa;
    for (int decade = rng.bounded(-3, 4); decade != 0; decade += decade < 0 ? 1 : -1)
        value = decade < 0 ? value / 10 : value * 10;
    return QByteArray::number(value, 'f', 4).right(9).rightJustified(9, ' ');
}

QByteArray windingRecord(QRandomGenerator &rng)
{
    layout::WindingRecord record;
    record.name = pick(rng, {"TRF", "MTR", "GEN", "REA", "WDG", "XFM"})
        + QByteArray::number(rng.bounded(1000)).rightJustified(3, '0');
    record.channel1 = windingResistance(rng);
    // A meter with one channel in use shows dashes for the other.
    record.channel2 = rng.bounded(10) == 0 ? QByteArray("  -------") : windingResistance(rng);
    record.conductor = rng.bounded(3) == 0 ? '1' : '0';
    record.temperatureTenths = rng.bounded(150, 451);
    return layout::windingLong(record);
}

QByteArray dateTimeText(QRandomGenerator &rng)
{
    return twoDigits(rng.bounded(1, 29)) + "/" + twoDigits(rng.bounded(1, 13)) + "/"
        + twoDigits(rng.bounded(20, 27)) + " - " + twoDigits(rng.bounded(24)) + ":"
        + twoDigits(rng.bounded(60)) + ":" + twoDigits(rng.bounded(60));
}

// Either three digits and a scale code, or a plain number whose fourth
// character is a digit or the point.
QByteArray contactResistance(QRandomGenerator &rng)
{
    const int form = rng.bounded(4);
    if (form < 3) {
        static const char codes[] = {':', '<', ';'};
        return QByteArray::number(rng.bounded(1, 1000)).rightJustified(3, '0') + codes[form]
            + QByteArray::number(rng.bounded(10000)).rightJustified(4, '0');
    }
    return layout::fitted(QByteArray::number(rng.bounded(1, 99999) / 1000.0, 'f', 5), 8);
}

QByteArray contactRecord(QRandomGenerator &rng)
{
    layout::ContactRecord record;
    record.dateTime = dateTimeText(rng);
    const int state = rng.bounded(10);
    record.status = state == 0 ? '1' : state == 1 ? '2' : '0';
    record.resistance = contactResistance(rng);
    record.current = QByteArray::number(rng.bounded(100, 2001) / 10.0, 'f', 1).rightJustified(5, '0');
    return layout::contactRecord(record);
}

QByteArray cableResistance(QRandomGenerator &rng)
{
    switch (rng.bounded(3)) {
    case 0:
        return QByteArray::number(rng.bounded(100, 10000) / 100.0, 'f', 2) + layout::unitMilli
            + layout::unitOhm;
    case 1:
        return QByteArray::number(rng.bounded(1, 10000) / 10000.0, 'f', 4) + layout::unitMicro
            + layout::unitOhm;
    default:
        return QByteArray::number(rng.bounded(10000, 99999) / 10000.0, 'f', 4) + layout::unitOhm;
    }
}

QByteArray cableRecord(QRandomGenerator &rng)
{
    static const QList<quint16> sizes = {1, 2, 4, 6, 10, 16, 25, 35, 50, 70, 95, 120, 150, 185, 240};
    layout::CableRecord record;
    record.name = pick(rng, {"CBL", "FDR", "PMP", "SUB", "LNK"}) + "-"
        + QByteArray::number(rng.bounded(1000)).rightJustified(3, '0');
    record.dateTime = {quint8(rng.bounded(1, 29)), quint8(rng.bounded(1, 13)), quint8(rng.bounded(20, 27)),
                       quint8(rng.bounded(24)), quint8(rng.bounded(60)), quint8(rng.bounded(60))};
    const int conductor = rng.bounded(10);
    record.conductor = conductor < 5 ? 1 : conductor < 9 ? 2 : 3;
    record.currentTenths = quint16(rng.bounded(10, 2001));
    record.size = rng.bounded(10) == 0 ? 0xFFFF : sizes.at(rng.bounded(int(sizes.size())));
    record.resistance = cableResistance(rng);
    return layout::cableRecord(record);
}

HeatRunFile heatRunFile(QRandomGenerator &rng, int slot)
{
    HeatRunFile file;
    file.name = "HRT-" + pick(rng, {"TRAFO", "MOTOR", "GENSET", "REACT"}) + QByteArray::number(slot + 1);
    file.name = layout::fitted(file.name, 12);
    QList<QByteArray> lines = {"Time (min),Ch1 (Ohm),Ch2 (Ohm),Temp (C)"};
    double resistance = 0.5 + rng.bounded(1000) / 1000.0;
    int tenths = rng.bounded(200, 300);
    const int rows = rng.bounded(4, 11);
    for (int row = 0; row < rows; ++row) {
        lines << QByteArray::number(row * 5) + "," + QByteArray::number(resistance, 'f', 4) + ","
                + QByteArray::number(resistance * 1.002, 'f', 4) + "," + QByteArray::number(tenths / 10.0, 'f', 1);
        resistance *= 1.004;
        tenths += rng.bounded(5, 20);
    }
    file.content = lines.join("\r\n");
    return file;
}

} // namespace

MeterContent seededContent(Family family, const QByteArray &model, int fileCount, int heatRunCount,
                           quint32 seed)
{
    QRandomGenerator rng(seed);
    MeterContent content;
    content.family = family;
    content.model = model;
    content.fileCount = fileCount;
    content.heatRunCount = family == Family::Winding ? heatRunCount : 0;
    for (int slot = 0; slot < fileCount; ++slot) {
        switch (family) {
        case Family::Winding: content.records.insert(slot, windingRecord(rng)); break;
        case Family::Contact:
        case Family::Ratio: content.records.insert(slot, contactRecord(rng)); break;
        case Family::Cable: content.records.insert(slot, cableRecord(rng)); break;
        }
    }
    for (int slot = 0; slot < content.heatRunCount; ++slot)
        content.heatRunFiles.insert(slot, heatRunFile(rng, slot));
    return content;
}

void markEmpty(MeterContent &content, const QList<int> &measurementSlots, const QList<int> &heatRunSlots)
{
    for (int slot : measurementSlots) {
        content.records.remove(slot);
        content.shortRecords.remove(slot);
    }
    for (int slot : heatRunSlots)
        content.heatRunFiles.remove(slot);
}

} // namespace sim
