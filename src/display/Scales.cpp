#include "display/Scales.h"

#include "core/Texts.h"

namespace orv {

std::vector<ScaleMark> timeAxisMarks(double horizontalExtent)
{
    // Single precision, as the step has always been computed.
    const float a = static_cast<float>(horizontalExtent) / 4.0f;
    std::vector<ScaleMark> marks;
    for (int k = 0; k <= 6; ++k) {
        const double x = static_cast<double>(a * static_cast<float>(k));
        marks.push_back({{x, 10.0}, {x, 5.0}, scaleLabel(6 * k)});
    }
    return marks;
}

namespace {
// A vertical scale counting down from the top edge: the tick of k stands at (H - 3) / units * k,
// 3 units above the bottom so the last tick stays visible.
std::vector<ScaleMark> verticalMarks(double heightTwips, int units, int step, double x1, double x2, int (*label)(int k))
{
    const float unit = (static_cast<float>(heightTwips) - 3.0f) / static_cast<float>(units);
    std::vector<ScaleMark> marks;
    for (int k = 0; k <= units; k += step) {
        const double y = static_cast<double>(unit * static_cast<float>(k));
        marks.push_back({{x1, y}, {x2, y}, scaleLabel(label(k))});
    }
    return marks;
}
} // namespace

std::vector<ScaleMark> rightScaleMarks(double heightTwips)
{
    return verticalMarks(heightTwips, 10, 2, 20.0, 10.0, [](int k) { return 1000 - 100 * k; });
}

std::vector<ScaleMark> leftScaleMarks(double heightTwips)
{
    return verticalMarks(heightTwips, 30, 5, 300.0, 100.0, [](int k) { return 30 - k; });
}

} // namespace orv
