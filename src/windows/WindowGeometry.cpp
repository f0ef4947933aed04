#include "windows/WindowGeometry.h"

#include "windows/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace WindowGeometry {

void setOuterSizeTwips(QWidget *window, int widthTwips, int heightTwips)
{
    window->setFixedSize(Twips::toPixels(widthTwips - frameWidthTwips), Twips::toPixels(heightTwips - frameHeightTwips));
}

void centreOnScreen(QWidget *window, int widthTwips, int heightTwips)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const int left = (area.width() - Twips::toPixels(widthTwips)) / 2;
    const int top = (area.height() - Twips::toPixels(heightTwips)) / 2;
    window->move(area.left() + left, area.top() + top);
}

QFont sansSerif(qreal points, bool bold)
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

} // namespace WindowGeometry
