#include "TickSchedule.h"

#include <algorithm>
#include <limits>

namespace orv {

TickSchedule::Next TickSchedule::afterTick(qint64 nowMs, qint64 intervalMs)
{
    Next next;
    intervalMs = std::max<qint64>(intervalMs, 1);
    qint64 nextIndex = m_index + 1;
    qint64 due = dueOf(nextIndex, intervalMs);
    // A tick more than a whole interval late is not served in a burst: the grid goes on
    // from the next point still ahead, and the caller learns how many ticks were skipped.
    if (nowMs >= due + intervalMs) {
        const qint64 missed = (nowMs - due) / intervalMs;
        nextIndex += missed;
        due = dueOf(nextIndex, intervalMs);
        next.missedTicks = static_cast<int>(std::min<qint64>(missed, std::numeric_limits<int>::max()));
    }
    m_index = nextIndex;
    next.delayMs = static_cast<int>(std::clamp<qint64>(due - nowMs, 0, std::numeric_limits<int>::max()));
    return next;
}

} // namespace orv
