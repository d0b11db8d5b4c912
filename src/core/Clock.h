// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QtGlobal>

#include <mutex>

namespace orv {

// Time as the program sees it: a monotonic clock for scheduling (on Linux one that goes on
// while the machine sleeps) and the wall clock for the date and time texts. Tests
// substitute a fake.
class Clock {
public:
    virtual ~Clock() = default;
    virtual qint64 steadyMs() const = 0;
    virtual QDateTime localNow() const = 0;
};

// The system's clocks. The local time is the UTC time plus the zone's offset, which is
// looked up once a minute: asking the system each time reads its zone file at every call.
// Zone changes and summer time take effect on the minute, as they happen on a minute.
class SystemClock final : public Clock {
public:
    qint64 steadyMs() const override;
    QDateTime localNow() const override;

private:
    mutable std::mutex m_mutex;         // the writer's threads stamp their files too
    mutable qint64 m_offsetUntilMs = 0; // UTC ms of the minute the offset holds until
    mutable int m_offsetSeconds = 0;
};

} // namespace orv
