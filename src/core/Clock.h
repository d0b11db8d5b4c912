#pragma once

#include <QDateTime>
#include <QtGlobal>

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

class SystemClock final : public Clock {
public:
    qint64 steadyMs() const override;
    QDateTime localNow() const override;
};

} // namespace orv
