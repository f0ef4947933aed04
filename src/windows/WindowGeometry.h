// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>

class QWidget;

// Window sizes are given as outer sizes in twips, frame and title bar
// included, as the meter windows have always been laid out.
namespace WindowGeometry {

// Frame and title bar, in twips, that an outer size includes.
constexpr int frameWidthTwips = 120;
constexpr int frameHeightTwips = 480;

void setOuterSizeTwips(QWidget *window, int widthTwips, int heightTwips);
void centreOnScreen(QWidget *window, int widthTwips, int heightTwips);

// A caption wider than its design width (another font) keeps its Left and
// grows to the right instead of being cut.
void widenToText(QWidget *widget);

// The windows' font; Qt picks the nearest sans serif where it is missing.
QFont sansSerif(qreal points, bool bold);

} // namespace WindowGeometry
