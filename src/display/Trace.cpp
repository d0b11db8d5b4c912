#include "display/Trace.h"

#include <algorithm>

namespace orv {

std::optional<QPointF> tracePoint(int index, const std::optional<qint32> &value1)
{
    if (!value1)
        return std::nullopt;
    const double v = std::clamp(static_cast<double>(*value1), 0.0, kTraceFullScale);
    return QPointF(index, kChartHeightUnits - v * kChartHeightUnits / kTraceFullScale);
}

std::vector<std::vector<QPointF>> tracePolylines(const SampleStore &store)
{
    std::vector<std::vector<QPointF>> runs(1);
    // Index 97 already lies wholly beyond the right edge; later ones change nothing visible.
    const int last = std::min<int>(store.count(), static_cast<int>(kChartWidthUnits) + 1);
    for (int i = 0; i <= last; ++i) {
        if (auto p = tracePoint(i, store.at(i).value1)) {
            runs.back().push_back(*p);
        } else if (!runs.back().empty()) {
            runs.emplace_back();
        }
    }
    if (runs.back().empty())
        runs.pop_back();
    return runs;
}

} // namespace orv
