// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/TickSchedule.h"

#include <algorithm>
#include <limits>

namespace orv {

void TickSchedule::start(qint64 nowMs, int intervalMs)
{
    m_origin = nowMs + FirstTickMs;
    m_interval = std::max(intervalMs, 1);
}

qint64 TickSchedule::tickAt(qint64 nowMs) const
{
    const qint64 since = nowMs - m_origin;
    return since < 0 ? -1 : since / m_interval;
}

int TickSchedule::delayAfter(qint64 nowMs) const
{
    const qint64 next = dueAt(tickAt(nowMs) + 1);
    return static_cast<int>(std::clamp<qint64>(next - nowMs, 1, std::numeric_limits<int>::max()));
}

} // namespace orv
