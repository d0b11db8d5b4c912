// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/Trace.h"

#include <algorithm>

namespace orv {

std::vector<std::vector<QPoint>> tracePixels(const SampleStore &store, QSize pixels)
{
    // The last pixel of each way is the chart's last unit.
    const double sx = (pixels.width() - 1) / kChartWidthUnits;
    const double sy = (pixels.height() - 1) / kChartHeightUnits;
    std::vector<std::vector<QPoint>> runs(1);
    // Index 97 already lies wholly beyond the right edge; later ones change nothing visible.
    const int last = std::min<int>(store.count(), static_cast<int>(kChartWidthUnits) + 1);
    for (int i = 0; i <= last; ++i) {
        const std::optional<qint32> value = store.at(i).value1;
        if (value) {
            const double v = std::clamp(static_cast<double>(*value), 0.0, kTraceFullScale);
            const double y = kChartHeightUnits - v * kChartHeightUnits / kTraceFullScale;
            runs.back().emplace_back(qRound(i * sx), qRound(y * sy));
        } else if (!runs.back().empty()) {
            runs.emplace_back();
        }
    }
    if (runs.back().empty())
        runs.pop_back();
    return runs;
}

} // namespace orv
