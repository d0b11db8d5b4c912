#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <functional>

namespace orv::test {

// Waits a bounded time for what another thread or process does; Qt's events run only if asked.
inline bool eventually(const std::function<bool()> &condition, bool runEvents = true)
{
    const QDeadlineTimer deadline(5000);
    for (; !condition() && !deadline.hasExpired(); QThread::msleep(1)) {
        if (runEvents)
            QCoreApplication::processEvents();
    }
    return condition();
}

} // namespace orv::test
