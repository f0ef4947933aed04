// SPDX-License-Identifier: MIT
#include "protocol/MessageTexts.h"
#include "ui/DesignTexts.h"

#include "protocol/NumberText.h"
#include "protocol/RecordCells.h"
#include "protocol/CableRecord.h"

#include <QLocale>

namespace {

using Kind = TextRoom::Kind;

constexpr int cellHeight = 255;       // every list cell
constexpr int headingHeight = 435;    // the list windows' two-line headings

void add(QList<TextRoom> &rooms, const QStringList &texts, int width, int height, Kind kind,
         qreal points = 8.25, bool bold = false)
{
    for (const QString &text : texts)
        rooms.append(TextRoom{text, width, height, points, bold, kind});
}

void heading(QList<TextRoom> &rooms, const QString &text, int width, int height = headingHeight)
{
    add(rooms, {text}, width, height, Kind::WrappedLabel, 8.25, true);
}

void cells(QList<TextRoom> &rooms, const QStringList &texts, int width)
{
    add(rooms, texts + QStringList{RecordCells::unfilledText()}, width, cellHeight, Kind::Label);
}

// What every list window has under and beside its list.
void listControls(QList<TextRoom> &rooms)
{
    // File numbers have four digits at most: the count is four digits.
    add(rooms, {QStringLiteral("9999")}, 735, cellHeight, Kind::CheckBox);
    add(rooms, {QStringLiteral("Select All")}, 660, 195, Kind::Label);
    add(rooms, {QStringLiteral("Unselect All")}, 840, 195, Kind::Label);
    add(rooms, {QStringLiteral("&Download")}, 1215, 375, Kind::Button);
}

void detectionWindow(QList<TextRoom> &rooms)
{
    add(rooms, {QStringLiteral("Kestrix")}, 4485, 555, Kind::Label, 24, true);
    add(rooms, {MessageTexts::supportAddress()}, 1680, 195, Kind::Label);
    add(rooms, {QStringLiteral("9999 / 9999")}, 1680, 195, Kind::Label);
    add(rooms, {QStringLiteral("COM Port")}, 735, 255, Kind::Label);
    add(rooms, {MessageTexts::meterNotCommunicating()}, 4575, 795, Kind::WrappedLabel, 9.75, true);
    // "[KX-W4]" is the widest identification the program knows.
    add(rooms, {MessageTexts::connectedTo() + QStringLiteral("[KX-W4]")}, 4935, 435, Kind::Label, 9.75, true);
    add(rooms, {QStringLiteral("&Exit")}, 975, 375, Kind::Button);
}

void windingWindow(QList<TextRoom> &rooms, const QLocale &locale)
{
    for (const char *caption : {"       Heat Run Test       files", "Resistance Measurement files"})
        rooms.append(TextRoom{QString::fromLatin1(caption), 2055, 615, 8.25, false, Kind::WrappedButton, 2});
    add(rooms, {QStringLiteral("E&xit")}, 2055, 495, Kind::Button);
    add(rooms, {QStringLiteral("&Close")}, 1215, 375, Kind::Button);

    add(rooms, {QStringLiteral("Heat Run Test Files")}, 4335, 255, Kind::Label, 9.75, true);
    heading(rooms, QStringLiteral("No."), 375, 255);
    heading(rooms, QStringLiteral("File Name / Job Id"), 2895, 255);
    heading(rooms, QStringLiteral("Action"), 855, 255);
    add(rooms, {QStringLiteral("8.")}, 255, 255, Kind::Label);
    add(rooms, {QStringLiteral(" - - Empty - -")}, 1575, 255, Kind::Label);
    // A slot name is twelve characters from the meter, shown bold.
    add(rooms, {QStringLiteral("HRT-JOB-0001"), QStringLiteral("000000000000")}, 1575, 255, Kind::Label, 8.25,
        true);
    add(rooms, {QStringLiteral("Download")}, 1095, 375, Kind::Button);

    add(rooms, {QStringLiteral("Resistance Measurement Files")}, 14985, 255, Kind::Label, 9.75, true);
    heading(rooms, QStringLiteral("File No."), 675);
    heading(rooms, QStringLiteral("Filename"), 795);
    heading(rooms, QStringLiteral("Measured Resistance"), 2325, 315);
    heading(rooms, QStringLiteral("  Resistance (20 C)"), 1710, 315);
    heading(rooms, QStringLiteral(" Resistance (20 C)"), 1710, 315);
    heading(rooms, QStringLiteral("Conductor"), 885);
    heading(rooms, QStringLiteral("Ch 1"), 1005, 195);
    heading(rooms, QStringLiteral("Ch 2"), 885, 195);
    heading(rooms, QStringLiteral("Temp"), 480, 195);
    heading(rooms, QStringLiteral("Ch 1"), 1125, 195);
    heading(rooms, QStringLiteral("Ch 2"), 645, 195);

    listControls(rooms);
    cells(rooms, {QStringLiteral("TX-001"), QStringLiteral("000000")}, 735);
    // The measured resistances are the meter's nine characters.
    cells(rooms, {QStringLiteral("  100.000"), QStringLiteral("99999.999"), QStringLiteral("     OL  ")}, 855);
    cells(rooms, {doubleText(99.9, locale)}, 495);
    cells(rooms,
          {singleText(9.999999e9f, locale), singleText(-9.999999e9f, locale), singleText(-1.234568e-5f, locale)},
          1095);
    cells(rooms, {QStringLiteral("Aluminium"), QStringLiteral("Copper")}, 735);
}

void contactWindow(QList<TextRoom> &rooms)
{
    add(rooms, {QStringLiteral("Resistance Measurement Files"), QStringLiteral("Ratio Meter Files")}, 8625, 255,
        Kind::Label, 9.75, true);
    heading(rooms, QStringLiteral("File No."), 675);
    heading(rooms, QStringLiteral("File Date & Time"), 1515);
    heading(rooms, QStringLiteral("Resistance (Ohm)"), 960);
    heading(rooms, QStringLiteral("Current (A)"), 645);

    listControls(rooms);
    add(rooms, {QStringLiteral("&Exit")}, 1215, 375, Kind::Button);
    // The date and time, the resistance and the current are the meter's own text.
    cells(rooms, {QStringLiteral("00/00/00 - 00:00:00")}, 1455);
    cells(rooms, {QStringLiteral("-Under-"), QStringLiteral("-Over-"), QStringLiteral("999E-6"),
                  QStringLiteral("00000000")},
          855);
    cells(rooms, {QStringLiteral("000.0"), QStringLiteral("00000")}, 495);
}

QString cableDate(const QString &field, const DateTimeSeparators &separators)
{
    return field + separators.date + field + separators.date + field + QStringLiteral(" - ") + field
        + separators.time + field + separators.time + field;
}

void cableWindow(QList<TextRoom> &rooms, const QLocale &locale)
{
    add(rooms, {QStringLiteral("Resistance Measurement Files")}, 13785, 255, Kind::Label, 9.75, true);
    heading(rooms, QStringLiteral("File No."), 675);
    heading(rooms, QStringLiteral("File Name"), 795);
    heading(rooms, QStringLiteral("File Date & Time"), 1515);
    heading(rooms, QStringLiteral("Resistance (Ohm)"), 960);
    heading(rooms, QStringLiteral("Size (sq.mm)"), 645);
    heading(rooms, QStringLiteral("Current (A)"), 645);
    heading(rooms, QStringLiteral("Conductor"), 885);

    listControls(rooms);
    add(rooms, {QStringLiteral("&Exit")}, 1215, 375, Kind::Button);
    cells(rooms, {QStringLiteral("TX-0001"), QStringLiteral("0000000")}, 735);
    // Date and time fields are bytes: two digits, three from 100 on.
    const DateTimeSeparators separators = separatorsOf(locale);
    cells(rooms, {cableDate(QStringLiteral("00"), separators), cableDate(QStringLiteral("100"), separators)}, 1455);
    cells(rooms, {QStringLiteral("123.456 m"), QStringLiteral("0.5678 \u00B5"), QStringLiteral("--------")}, 855);
    // Size and current are 16-bit values, the current in tenths.
    cells(rooms, {singleText(65534.0f, locale)}, 495);
    cells(rooms, {singleText(6553.5f, locale)}, 495);
    cells(rooms, {QStringLiteral("Aluminium"), QStringLiteral("Copper"), QStringLiteral("Other")}, 735);
}

} // namespace

QList<TextRoom> designTextRooms(const QLocale &locale)
{
    QList<TextRoom> rooms;
    detectionWindow(rooms);
    windingWindow(rooms, locale);
    contactWindow(rooms);
    cableWindow(rooms, locale);
    return rooms;
}
