#pragma once

#include <QString>

namespace orv {

// Main window caption naming the recording file: long form when the chart is shown.
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

} // namespace orv
