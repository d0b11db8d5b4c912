#include "Scales.h"

#include "core/Texts.h"

namespace orv {

std::vector<ScaleMark> timeAxisMarks(double horizontalExtent)
{
    // Single precision, as the step has always been computed.
    const float a = static_cast<float>(horizontalExtent) / 4.0f;
    std::vector<ScaleMark> marks;
    for (int k = 0; k <= 6; ++k) {
        const double x = static_cast<double>(a * static_cast<float>(k));
        marks.push_back({{x, 10.0}, {x, 5.0}, printStyle(6 * k)});
    }
    return marks;
}

std::vector<ScaleMark> rightScaleMarks(double heightTwips)
{
    const float b = (static_cast<float>(heightTwips) - 3.0f) / 10.0f;
    std::vector<ScaleMark> marks;
    for (int k = 0; k <= 10; k += 2) {
        const double y = static_cast<double>(b * static_cast<float>(k));
        marks.push_back({{20.0, y}, {10.0, y}, printStyle(1000 - 100 * k)});
    }
    return marks;
}

std::vector<ScaleMark> leftScaleMarks(double heightTwips)
{
    const float c = (static_cast<float>(heightTwips) - 3.0f) / 30.0f;
    std::vector<ScaleMark> marks;
    for (int k = 0; k <= 30; k += 5) {
        const double y = static_cast<double>(c * static_cast<float>(k));
        marks.push_back({{300.0, y}, {100.0, y}, printStyle(30 - k)});
    }
    return marks;
}

} // namespace orv
