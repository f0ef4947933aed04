// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>
#include <cmath>

// Window and control geometry is given in twips, 1440 to the inch; at 96
// logical dots per inch that is 15 twips a pixel.
//
// The layout was drawn for a narrow 8.25-point face. Where no available font
// fits every caption into its box, the whole layout is scaled by one factor
// for the whole program (ScreenFont), so the windows keep their proportions
// and no text is cut; with a font that fits, the factor is 1 and the design's
// pixel geometry stands unchanged.
namespace Twips {

constexpr int perPixel = 15;

// The program's layout factor, chosen once with the font (see ScreenFont).
double layoutScale();

// Pixels for a length in twips at a given layout factor, rounded half away
// from zero so that negative offsets scroll symmetrically.
inline int toPixels(double twips, double scale)
{
    return int(std::lround(twips * scale / perPixel));
}

inline int toPixels(int twips)
{
    return toPixels(double(twips), layoutScale());
}

inline int toPixels(double twips)
{
    return toPixels(twips, layoutScale());
}

// Twips for a length in pixels, the inverse of toPixels.
inline int fromPixels(int pixels)
{
    return int(std::lround(pixels * perPixel / layoutScale()));
}

inline QRect rect(int left, int top, int width, int height)
{
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

inline QRect rect(const QRect &twips)
{
    return rect(twips.x(), twips.y(), twips.width(), twips.height());
}

} // namespace Twips
