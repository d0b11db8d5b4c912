// SPDX-License-Identifier: GPL-3.0-or-later
#include "recordings/Decimation.h"

#include <algorithm>
#include <cmath>

namespace orv {

namespace {

MinMaxIndex::Extremes scan(const qint32 *v, qsizetype first, qsizetype last)
{
    MinMaxIndex::Extremes e;
    for (qsizetype i = first; i < last; ++i) {
        if (v[i] == kNoValue)
            continue;
        e.min = std::min(e.min, v[i]);
        e.max = std::max(e.max, v[i]);
    }
    return e;
}

qsizetype firstAtOrAfter(const SampleTable &table, qsizetype first, qsizetype last, double t)
{
    const auto &times = table.times();
    return static_cast<qsizetype>(std::partition_point(times.begin() + first, times.begin() + last,
                                                       [t](WallSeconds s) { return static_cast<double>(s) < t; })
                                  - times.begin());
}

// The same, for a t just beyond first: a search that widens from first finds it in a few
// steps where the next column starts, instead of halving the whole run each time.
qsizetype firstAtOrAfterNear(const SampleTable &table, qsizetype first, qsizetype last, double t)
{
    qsizetype step = 1;
    while (first + step < last && static_cast<double>(table.time(first + step)) < t)
        step *= 2;
    return firstAtOrAfter(table, first + step / 2, std::min(first + step, last), t);
}

} // namespace

void MinMaxIndex::extend(const SampleTable &table)
{
    qsizetype below = table.size(); // entries of the level beneath: samples at first
    for (std::size_t k = 0;; ++k) {
        const qsizetype blocks = below / kBlock;
        if (blocks == 0)
            break;
        if (m_levels.size() <= k)
            m_levels.emplace_back();
        for (int s = 0; s < 2; ++s) {
            auto &level = m_levels[k][static_cast<std::size_t>(s)];
            for (auto b = static_cast<qsizetype>(level.size()); b < blocks; ++b) {
                if (k == 0) {
                    level.push_back(scan(table.values(s).data(), b * kBlock, (b + 1) * kBlock));
                } else {
                    Extremes e;
                    const auto &lower = m_levels[k - 1][static_cast<std::size_t>(s)];
                    for (qsizetype i = b * kBlock; i < (b + 1) * kBlock; ++i)
                        e.take(lower[static_cast<std::size_t>(i)]);
                    level.push_back(e);
                }
            }
        }
        below = blocks;
    }
}

MinMaxIndex::Extremes MinMaxIndex::query(const SampleTable &table, int series, int level, qsizetype first,
                                         qsizetype last) const
{
    Extremes e;
    auto entries = [&](qsizetype a, qsizetype b) {
        if (level < 0) {
            e.take(scan(table.values(series).data(), a, b));
            return;
        }
        const auto &l = m_levels[static_cast<std::size_t>(level)][static_cast<std::size_t>(series)];
        for (qsizetype i = a; i < b; ++i)
            e.take(l[static_cast<std::size_t>(i)]);
    };
    const qsizetype up = (first + kBlock - 1) / kBlock, down = last / kBlock;
    const bool higher = static_cast<std::size_t>(level + 1) < m_levels.size()
                        && static_cast<qsizetype>(m_levels[static_cast<std::size_t>(level + 1)][0].size()) >= down;
    if (!higher || up >= down) {
        entries(first, last);
        return e;
    }
    entries(first, up * kBlock);
    e.take(query(table, series, level + 1, up, down));
    entries(down * kBlock, last);
    return e;
}

MinMaxIndex::Extremes MinMaxIndex::extremes(const SampleTable &table, int series, qsizetype first, qsizetype last) const
{
    return query(table, series, -1, first, last);
}

std::array<Polyline, 2> decimate(const SampleTable &table, const MinMaxIndex &index, RecordingSpan samples, double from,
                                 double to, int width)
{
    std::array<Polyline, 2> out;
    if (samples.count == 0 || width <= 0 || !(to > from))
        return out;
    const double perPixel = (to - from) / width;
    // The samples inside [from, to], and one beyond each edge so the lines reach the sides.
    const qsizetype lo = firstAtOrAfter(table, samples.first, samples.end(), from);
    const qsizetype hi = firstAtOrAfter(table, lo, samples.end(), std::nextafter(to, HUGE_VAL));
    const qsizetype before = lo > samples.first ? lo - 1 : -1;
    const qsizetype after = hi < samples.end() ? hi : -1;
    auto xOf = [&](qsizetype i) { return (static_cast<double>(table.time(i)) - from) / perPixel; };

    for (int s = 0; s < 2; ++s) {
        Polyline &line = out[static_cast<std::size_t>(s)];
        qsizetype lastRecording = -1;
        bool broken = true;
        auto add = [&](double x, qint32 y, bool newRun) {
            if (newRun || line.points.empty())
                line.runStarts.push_back(static_cast<qsizetype>(line.points.size()));
            line.points.emplace_back(x, y);
            line.extremes.take({y, y});
        };
        auto sample = [&](qsizetype i) {
            const qint32 v = table.value(s, i);
            if (v == kNoValue) {
                broken = true;
                return;
            }
            const qsizetype r = table.recordingOf(i);
            add(xOf(i), v, broken || r != lastRecording);
            broken = false;
            lastRecording = r;
        };
        if (before >= 0)
            sample(before);
        if (hi - lo <= 2 * static_cast<qsizetype>(width)) {
            for (qsizetype i = lo; i < hi; ++i)
                sample(i);
        } else {
            // Column c holds the samples of [from + c·perPixel, from + (c+1)·perPixel).
            qsizetype first = lo;
            for (int c = 0; c < width; ++c) {
                const qsizetype last =
                    c + 1 == width ? hi : firstAtOrAfterNear(table, first, hi, from + (c + 1) * perPixel);
                if (first == last)
                    continue;
                const MinMaxIndex::Extremes e = index.extremes(table, s, first, last);
                if (!e.any()) {
                    broken = true;
                } else {
                    // An empty field at either end of a column breaks the line there; one
                    // inside a column is narrower than a pixel and shows in its bar.
                    const qsizetype r = table.recordingOf(first);
                    add(c + 0.5, e.min, broken || table.value(s, first) == kNoValue || r != lastRecording);
                    if (e.max != e.min)
                        add(c + 0.5, e.max, false);
                    broken = table.value(s, last - 1) == kNoValue;
                    lastRecording = table.recordingOf(last - 1);
                }
                first = last;
            }
        }
        if (after >= 0)
            sample(after);
    }
    return out;
}

qsizetype nearestSample(const SampleTable &table, RecordingSpan samples, double t)
{
    if (samples.count == 0)
        return -1;
    const qsizetype i = firstAtOrAfter(table, samples.first, samples.end(), t);
    if (i == samples.end())
        return i - 1;
    if (i > samples.first && t - static_cast<double>(table.time(i - 1)) <= static_cast<double>(table.time(i)) - t)
        return i - 1;
    return i;
}

} // namespace orv
