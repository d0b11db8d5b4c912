// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace orv {

// What the chart toggle changes: the main window's width, and its title naming the
// recording file, long when the chart is shown.
QString titleText(bool chartShown, const QString &recordingFileName);

// Window widths of the chart toggle, in twips.
constexpr int kNarrowWidth = 4410;
constexpr int kWideWidth = 7170;
constexpr int kWideThreshold = 7000;
// The window width is the client width plus this frame allowance on every platform.
constexpr int kFrameAllowance = 90;

struct ToggleResult {
    int width;
    bool chartShown;
};
ToggleResult chartToggle(int currentWidthTwips);

// The window's width in twips for a client area this many pixels wide, and back.
int windowWidthTwips(int clientWidthPixels);
int clientWidthPixels(int windowWidthTwips);

} // namespace orv
