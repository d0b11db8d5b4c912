// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

namespace orv {

// The sampling ticks stand on a fixed grid: tick j is due at start + 10 ms + j x interval.
// Waiting a whole interval after each tick would let every timer delay push all later ones
// back; here each wait lasts only until the next grid point.
class TickSchedule {
public:
    static constexpr int FirstTickMs = 10;

    void start(qint64 nowMs, int intervalMs);
    // Moves the grid so that tick 0 falls at originMs, keeping the interval.
    void realign(qint64 originMs) { m_origin = originMs; }

    // When tick j is due.
    qint64 dueAt(qint64 tick) const { return m_origin + tick * m_interval; }

    // The last grid tick at or before now; -1 before the first.
    qint64 tickAt(qint64 nowMs) const;
    // Time from now to the first grid tick strictly after now: a late tick (a stopped
    // process, a suspended machine) never brings a burst of ticks.
    int delayAfter(qint64 nowMs) const;

private:
    qint64 m_origin = 0;
    qint64 m_interval = 1000;
};

} // namespace orv
