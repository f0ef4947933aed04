// SPDX-License-Identifier: MIT
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

void widenToText(QWidget *widget)
{
    widget->resize(qMax(widget->width(), widget->sizeHint().width()), widget->height());
}

QFont sansSerif(qreal points, bool bold)
{
    QFont font;
    // Where the meters' own font is missing, a narrow sans serif keeps the
    // captions inside their twip-sized cells.
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Arial"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans Condensed")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

} // namespace WindowGeometry
