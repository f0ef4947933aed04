// SPDX-License-Identifier: MIT
#include "ui/ScreenFont.h"

#include "ui/DesignTexts.h"
#include "ui/Twips.h"
#include "ui/WrapButton.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QLocale>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>
#include <optional>

namespace {

// A line of text, as QFontMetricsF measures it, inside `area`.
bool lineFits(const QFontMetricsF &metrics, const QString &text, const QRectF &area)
{
    return metrics.horizontalAdvance(text) <= area.width() && metrics.height() <= area.height();
}

QRect buttonContents(QStyle::SubElement element, const QFont &font, const QRect &box)
{
    QStyleOptionButton option;
    option.rect = box;
    option.fontMetrics = QFontMetrics(font);
    return QApplication::style()->subElementRect(element, &option, nullptr);
}

} // namespace

QFont ScreenFontChoice::font(qreal designPoints, bool bold) const
{
    QFont font;
    if (!family.isEmpty())
        font.setFamilies({family});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(designPoints * points / ScreenFont::designPoints);
    font.setBold(bold);
    return font;
}

namespace ScreenFont {

QStringList preferredFamilies()
{
    // The narrow faces of the design first, then the sans serifs that Linux
    // systems carry; condensed last, as it only wins where the others do not fit.
    static const char *const candidates[] = {"MS Sans Serif", "Microsoft Sans Serif", "Arial", "Liberation Sans",
                                             "Noto Sans", "DejaVu Sans", "DejaVu Sans Condensed"};
    QStringList families;
    for (const char *candidate : candidates) {
        const QString name = QString::fromLatin1(candidate);
        if (!QFontDatabase::hasFamily(name))
            continue;
        // An alias (Arial on a system without it) stands for the face it resolves to.
        const QString real = QFontInfo(QFont(name)).family();
        if (!families.contains(real, Qt::CaseInsensitive))
            families << real;
    }
    if (families.isEmpty())
        families << QFontInfo(QApplication::font()).family();
    return families;
}

bool fits(const TextRoom &room, const QFont &font, double scale)
{
    const QRect box(0, 0, Twips::toPixels(double(room.widthTwips), scale),
                    Twips::toPixels(double(room.heightTwips), scale));
    const QFontMetricsF metrics(font);
    switch (room.kind) {
    case TextRoom::Kind::Label:
        return lineFits(metrics, room.text, box);
    case TextRoom::Kind::WrappedLabel: {
        const QRectF needed = metrics.boundingRect(QRectF(0, 0, box.width(), 1e6),
                                                   Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, room.text);
        return needed.width() <= box.width() && needed.height() <= box.height();
    }
    case TextRoom::Kind::Button:
        return lineFits(metrics, CaptionWrap::visibleText(room.text),
                        buttonContents(QStyle::SE_PushButtonContents, font, box));
    case TextRoom::Kind::WrappedButton: {
        const QRect area = buttonContents(QStyle::SE_PushButtonContents, font, box);
        const QStringList lines =
            CaptionWrap::lines(CaptionWrap::visibleText(room.text), font, area.width(), room.minimumLines);
        const QRectF needed = metrics.boundingRect(QRectF(area), Qt::AlignCenter, lines.join(QLatin1Char('\n')));
        return needed.width() <= area.width() && needed.height() <= area.height();
    }
    case TextRoom::Kind::CheckBox: {
        const QRect area = buttonContents(QStyle::SE_CheckBoxContents, font, box);
        return metrics.horizontalAdvance(room.text) <= area.width() && metrics.height() <= box.height();
    }
    }
    return false;
}

double scaleNeeded(const QList<TextRoom> &rooms, const ScreenFontChoice &font)
{
    // Every room needs more space as its box shrinks, so the factor that
    // suits all of them is the largest that one of them needs.
    int hundredths = 100;
    const int most = int(largestScale * 100);
    for (const TextRoom &room : rooms) {
        const QFont roomFont = font.font(room.designPoints, room.bold);
        while (hundredths < most && !fits(room, roomFont, hundredths / 100.0))
            ++hundredths;
    }
    return hundredths / 100.0;
}

ScreenFontChoice choose(const QStringList &families, const QList<TextRoom> &rooms)
{
    std::optional<ScreenFontChoice> best;
    for (const QString &family : families) {
        for (qreal points = designPoints; points >= smallestPoints - 1e-9; points -= pointStep) {
            const ScreenFontChoice candidate{family, points, 1.0};
            const bool allFit = std::all_of(rooms.begin(), rooms.end(), [&](const TextRoom &room) {
                return fits(room, candidate.font(room.designPoints, room.bold), 1.0);
            });
            if (allFit) {
                if (!best || points > best->points)
                    best = candidate;
                break;
            }
        }
    }
    if (best)
        return *best;

    // No face fits the design as drawn: the layout grows instead, as little as it can.
    for (const QString &family : families) {
        ScreenFontChoice candidate{family, smallestPoints, 1.0};
        candidate.layoutScale = scaleNeeded(rooms, candidate);
        if (!best || candidate.layoutScale < best->layoutScale)
            best = candidate;
    }
    return best.value_or(ScreenFontChoice{});
}

namespace {

ScreenFontChoice &inUse()
{
    static ScreenFontChoice choice; // the design as drawn until the program chooses
    return choice;
}

} // namespace

const ScreenFontChoice &current()
{
    return inUse();
}

void use(const ScreenFontChoice &choice)
{
    inUse() = choice;
}

ScreenFontChoice programChoice()
{
    return choose(preferredFamilies(), designTextRooms(QLocale()));
}

} // namespace ScreenFont
