// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/SampleStore.h"

#include <QPoint>
#include <QSize>

#include <vector>

namespace orv {

// Chart of value 1: 96 units across (one per sample index) and 100 units down.
constexpr double kChartWidthUnits = 96.0;
constexpr double kChartHeightUnits = 100.0;
// Full scale of the board's inputs and of a serial byte.
constexpr double kTraceFullScale = 255.0;

// The trace of value 1 in a chart area `pixels` big: sample i at x = i units, 0 on the
// bottom edge and 255 on the top edge (values beyond at the edge), for slots 0..count up to
// the first index past the right edge. Each run is a connected line; an empty slot breaks
// the trace.
std::vector<std::vector<QPoint>> tracePixels(const SampleStore &store, QSize pixels);

} // namespace orv
