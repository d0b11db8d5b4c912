// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

namespace orv {

// Layout units: twips, 15 to the pixel at the design resolution.
constexpr int kTwipsPerPixel = 15;
constexpr int px(int twips)
{
    // Round half away from zero so negative positions (a label above its container) map evenly.
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                      : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}
inline QRect twips(int left, int top, int width, int height)
{
    return {px(left), px(top), px(width), px(height)};
}

} // namespace orv
