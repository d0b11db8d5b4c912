// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Clock.h"

namespace orv::test {

// A clock that moves only when told: advance() covers hours in microseconds.
class FakeClock final : public Clock {
public:
    explicit FakeClock(QDateTime start = QDateTime(QDate(2026, 12, 5), QTime(14, 3, 7)))
        : m_wall(start)
    {
    }

    qint64 steadyMs() const override { return m_steady; }
    QDateTime localNow() const override { return m_wall; }

    void advance(qint64 ms)
    {
        m_steady += ms;
        m_wall = m_wall.addMSecs(ms);
    }
    void setWall(const QDateTime &wall) { m_wall = wall; }

private:
    qint64 m_steady = 1'000'000;
    QDateTime m_wall;
};

} // namespace orv::test
