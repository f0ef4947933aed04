// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>
#include <cmath>

// Window and control geometry is given in twips, 1440 to the inch; at 96
// logical dots per inch that is 15 twips a pixel.
namespace Twips {

constexpr int perPixel = 15;

constexpr int toPixels(int twips)
{
    // Round half away from zero, so negative offsets scroll symmetrically.
    return twips >= 0 ? (twips + perPixel / 2) / perPixel : -((-twips + perPixel / 2) / perPixel);
}

inline int toPixels(double twips)
{
    return int(std::lround(twips / perPixel));
}

constexpr QRect rect(int left, int top, int width, int height)
{
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

} // namespace Twips
