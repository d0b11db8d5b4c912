#pragma once

#include "core/SampleStore.h"

#include <QPointF>

#include <optional>
#include <vector>

namespace orv {

// Chart of value 1: 96 units across (one per sample index) and 100 units down.
constexpr double kChartWidthUnits = 96.0;
constexpr double kChartHeightUnits = 100.0;
// Full scale of the board's inputs and of a serial byte.
constexpr double kTraceFullScale = 255.0;

// Point of index i: x = i, y so that 0 lies on the bottom edge and 255 on the top
// edge; values beyond are drawn at the edge. Nothing for an empty slot.
std::optional<QPointF> tracePoint(int index, const std::optional<qint32> &value1);

// Connected runs of points for slots 0..count, up to the first index past the right
// edge; an empty slot breaks the line.
std::vector<std::vector<QPointF>> tracePolylines(const SampleStore &store);

} // namespace orv
