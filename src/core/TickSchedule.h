#pragma once

#include <QtGlobal>

namespace orv {

// Keeps the sampling ticks on a fixed grid: tick j is due at start + 10 ms + j x interval.
// Re-arming a full interval after each tick would let every late tick push all later
// ones back; here each re-arm waits only for the time left to the next grid point.
class TickSchedule {
public:
    static constexpr int FirstTickMs = 10;

    struct Next {
        int delayMs = 0;     // time to wait from now to the next tick
        int missedTicks = 0; // whole ticks that passed unserved (machine suspended, say)
    };

    void start(qint64 nowMs)
    {
        m_origin = nowMs + FirstTickMs;
        m_index = 0;
    }

    // Called at the end of a tick handler, with the interval in force from now on.
    Next afterTick(qint64 nowMs, qint64 intervalMs);

    qint64 dueOf(qint64 tick, qint64 intervalMs) const { return m_origin + tick * intervalMs; }
    qint64 currentTick() const { return m_index; }

private:
    qint64 m_origin = 0;
    qint64 m_index = 0;
};

} // namespace orv
