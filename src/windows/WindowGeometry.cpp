// SPDX-License-Identifier: MIT
#include "windows/WindowGeometry.h"

#include "windows/ScreenFont.h"
#include "windows/Twips.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionComboBox>
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

void fitComboToEntries(QComboBox *combo, int rightEdge)
{
    int widest = 0;
    for (int index = 0; index < combo->count(); ++index)
        widest = qMax(widest, combo->fontMetrics().horizontalAdvance(combo->itemText(index)));
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    option.rect = combo->rect();
    // The edit field is what the frame and the arrow leave of the box.
    const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
    // A line edit keeps a little margin on either side of its text.
    constexpr int editMargins = 4;
    const int needed = combo->width() - field.width() + widest + editMargins;
    const int width = qMin(qMax(combo->width(), needed), rightEdge - combo->x());
    combo->resize(qMax(combo->width(), width), combo->height());
}

QFont sansSerif(qreal points, bool bold)
{
    return ScreenFont::current().font(points, bold);
}

} // namespace WindowGeometry
