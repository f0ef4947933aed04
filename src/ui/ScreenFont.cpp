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
#include <QLoggingCategory>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

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

// A font's size in points, also for one the desktop gave in pixels.
qreal pointsOf(const QFont &font)
{
    return font.pointSizeF() > 0 ? font.pointSizeF() : QFontInfo(font).pointSizeF();
}

// "QT_LOGGING_RULES=kestrix.font.info=true" tells which face the windows use.
Q_LOGGING_CATEGORY(screenFontLog, "kestrix.font", QtWarningMsg)

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

QString designFace()
{
    for (const char *face : {"MS Sans Serif", "Microsoft Sans Serif"}) {
        const QString name = QString::fromLatin1(face);
        // A family that only resolves to another (an alias) does not count.
        if (QFontDatabase::hasFamily(name) &&
            QFontInfo(QFont(name)).family().compare(name, Qt::CaseInsensitive) == 0)
            return name;
    }
    return QString();
}

QFont desktopFont()
{
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont);
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

ScreenFontChoice choose(const QString &faceOfDesign, const QFont &desktop, const QList<TextRoom> &rooms)
{
    ScreenFontChoice choice;
    if (!faceOfDesign.isEmpty()) {
        choice.family = faceOfDesign;
    } else {
        choice.family = QFontInfo(desktop).family();
        choice.points = std::max(designPoints, pointsOf(desktop));
    }
    choice.layoutScale = scaleNeeded(rooms, choice);
    return choice;
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
    const ScreenFontChoice choice = choose(designFace(), desktopFont(), designTextRooms(QLocale()));
    qCInfo(screenFontLog, "Windows drawn in %s at %.2f points, layout scaled by %.2f", qPrintable(choice.family),
           choice.points, choice.layoutScale);
    return choice;
}

} // namespace ScreenFont
