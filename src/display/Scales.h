// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QSize>
#include <QString>

#include <vector>

namespace orv {

// One mark of a chart's scale, in the scale box's pixels: a tick from `from` to `to`, and
// its label with its top-left corner at `to`.
struct ScaleTick {
    QPoint from;
    QPoint to;
    QString label;
    friend bool operator==(const ScaleTick &, const ScaleTick &) = default;
};

// The time axis under the chart, in a box `pixels` big: a tick every quarter of the width,
// from 10 px down to 5 px down, labelled 0, 6, ... (hours of samples at 15 minutes).
std::vector<ScaleTick> timeAxisTicks(QSize pixels);
// The right scale, 1000 at the top to 0 at the bottom, every 200.
std::vector<ScaleTick> rightScaleTicks(QSize pixels);
// The left scale, 30 at the top to 0 at the bottom, every 5.
std::vector<ScaleTick> leftScaleTicks(QSize pixels);

} // namespace orv
