// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/Scales.h"

#include "core/Texts.h"
#include "display/Trace.h"
#include "display/Twips.h"

#include <QLineF>
#include <QtMath>

namespace orv {

namespace {

// The scales were laid out in units of their own: a box so many units across and down, a
// tick from one point to another. Their pixels are the units scaled and floored, computed
// in this order, so every tick stays on the pixel it has always had.
std::vector<ScaleTick> inPixels(QSize pixels, double unitsAcross, double unitsDown,
                                const std::vector<std::pair<QLineF, qint64>> &marks)
{
    const auto at = [&](QPointF units) {
        return QPoint(qFloor(units.x() * pixels.width() / unitsAcross),
                      qFloor(units.y() * pixels.height() / unitsDown));
    };
    std::vector<ScaleTick> ticks;
    for (const auto &[line, label] : marks)
        ticks.push_back({at(line.p1()), at(line.p2()), scaleLabel(label)});
    return ticks;
}

// A vertical scale counting down from the top edge: in twips, the tick of k stands at
// (H - 3) / units * k, 3 twips above the bottom so the last tick stays visible; single
// precision, as it has always been computed.
std::vector<ScaleTick> verticalTicks(QSize pixels, double unitsAcross, int units, int step, double x1, double x2,
                                     qint64 (*label)(int k))
{
    const double heightTwips = pixels.height() * kTwipsPerPixel;
    const float unit = (static_cast<float>(heightTwips) - 3.0f) / static_cast<float>(units);
    std::vector<std::pair<QLineF, qint64>> marks;
    for (int k = 0; k <= units; k += step) {
        const double y = static_cast<double>(unit * static_cast<float>(k));
        marks.push_back({QLineF(x1, y, x2, y), label(k)});
    }
    return inPixels(pixels, unitsAcross, heightTwips, marks);
}

} // namespace

std::vector<ScaleTick> timeAxisTicks(QSize pixels)
{
    // The chart's units across, pixels down.
    const float quarter = static_cast<float>(kChartWidthUnits) / 4.0f;
    std::vector<std::pair<QLineF, qint64>> marks;
    for (int k = 0; k <= 6; ++k) {
        const double x = static_cast<double>(quarter * static_cast<float>(k));
        marks.push_back({QLineF(x, 10.0, x, 5.0), 6 * k});
    }
    return inPixels(pixels, kChartWidthUnits, pixels.height(), marks);
}

std::vector<ScaleTick> rightScaleTicks(QSize pixels)
{
    // Hundredths of the width across.
    return verticalTicks(pixels, kChartHeightUnits, 10, 2, 20.0, 10.0, [](int k) { return qint64(1000 - 100 * k); });
}

std::vector<ScaleTick> leftScaleTicks(QSize pixels)
{
    // Twips both ways.
    return verticalTicks(pixels, pixels.width() * kTwipsPerPixel, 30, 5, 300.0, 100.0,
                         [](int k) { return qint64(30 - k); });
}

} // namespace orv
