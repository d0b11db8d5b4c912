#include "Clock.h"

#include <chrono>

namespace orv {

qint64 SystemClock::steadyMs() const
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

QDateTime SystemClock::localNow() const
{
    return QDateTime::currentDateTime();
}

} // namespace orv
