// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Clock.h"

#include <chrono>
#include <ctime>

namespace orv {

qint64 SystemClock::steadyMs() const
{
#ifdef CLOCK_BOOTTIME
    // Counts a suspended machine's sleep too, so samples missed while it slept are seen as
    // missed (the monotonic clock would simply pause with it).
    timespec t{};
    if (::clock_gettime(CLOCK_BOOTTIME, &t) == 0)
        return qint64(t.tv_sec) * 1000 + t.tv_nsec / 1'000'000;
#endif
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

QDateTime SystemClock::localNow() const
{
    constexpr qint64 kMinuteMs = 60'000;
    const qint64 utcMs = QDateTime::currentMSecsSinceEpoch();
    std::lock_guard lock(m_mutex);
    if (utcMs >= m_offsetUntilMs || utcMs < m_offsetUntilMs - kMinuteMs) {
        m_offsetSeconds = QDateTime::fromMSecsSinceEpoch(utcMs, Qt::LocalTime).offsetFromUtc();
        m_offsetUntilMs = (utcMs / kMinuteMs + 1) * kMinuteMs;
    }
    return QDateTime::fromMSecsSinceEpoch(utcMs, Qt::OffsetFromUTC, m_offsetSeconds);
}

} // namespace orv
