// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "recordings/SampleTable.h"

#include <QPointF>

#include <array>
#include <vector>

namespace orv {

// Minimum and maximum of each value over blocks of 64, 4096, 262144 … samples, so the
// extremes of any run of samples come in a few hundred steps however long the run.
class MinMaxIndex {
public:
    static constexpr qsizetype kBlock = 64;
    struct Extremes {
        qint32 min = std::numeric_limits<qint32>::max();
        qint32 max = std::numeric_limits<qint32>::min();
        bool any() const { return min <= max; }
        void take(const Extremes &o)
        {
            min = std::min(min, o.min);
            max = std::max(max, o.max);
        }
    };

    // Covers the samples of table added since the last call (all of them at first).
    void extend(const SampleTable &table);
    void clear() { m_levels.clear(); }
    // Extremes of series over the samples [first, last) of the table it covers.
    Extremes extremes(const SampleTable &table, int series, qsizetype first, qsizetype last) const;

private:
    // m_levels[k][series]: one entry per complete block of kBlock^(k+1) samples.
    std::vector<std::array<std::vector<Extremes>, 2>> m_levels;
    Extremes query(const SampleTable &table, int series, int level, qsizetype first, qsizetype last) const;
};

// One value's line as the chart draws it: x in pixels from the left of the plot, y in the
// value's own unit; a new run starts after a gap (an empty field, the end of a recording).
struct Polyline {
    std::vector<QPointF> points;
    std::vector<qsizetype> runStarts; // index in points of each run's first point
    MinMaxIndex::Extremes extremes;   // of the values drawn
};

// What the chart draws of the samples [first, last) (a recording, or all of them) between
// the times from and to across width pixel columns: the samples themselves when there are
// few, otherwise each column's minimum and maximum, at most two points a column, so a spike
// stays visible and the cost does not grow with the samples.
std::array<Polyline, 2> decimate(const SampleTable &table, const MinMaxIndex &index, RecordingSpan samples, double from,
                                 double to, int width);

// The sample of [first, last) whose time is nearest to t, or -1 when there is none.
qsizetype nearestSample(const SampleTable &table, RecordingSpan samples, double t);

} // namespace orv
