// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>

class QComboBox;
class QWidget;

// Window sizes are given as outer sizes in twips, frame and title bar
// included, as the meter windows have always been laid out.
namespace WindowGeometry {

// Frame and title bar, in twips, that an outer size includes.
constexpr int frameWidthTwips = 120;
constexpr int frameHeightTwips = 480;

void setOuterSizeTwips(QWidget *window, int widthTwips, int heightTwips);
void centreOnScreen(QWidget *window, int widthTwips, int heightTwips);

// Widens a drop-down list's field, keeping its Left, until its longest entry
// shows whole, but not past `rightEdge` (pixels in its parent).
void fitComboToEntries(QComboBox *combo, int rightEdge);

// The windows' font at a size of the design (8.25, 9.75 or 24 points): the
// face chosen for the program, in proportion (ScreenFont).
QFont sansSerif(qreal points, bool bold);

} // namespace WindowGeometry
