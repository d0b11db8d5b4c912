// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include <functional>

namespace orv::test {

// The small helpers of the tests.

// Waits up to ms for what another thread or process does; Qt's events run meanwhile unless
// told not to.
inline bool within(int ms, const std::function<bool()> &condition, bool runEvents = true)
{
    const QDeadlineTimer deadline(ms);
    for (; !condition(); QThread::msleep(1)) {
        if (deadline.hasExpired())
            return false;
        if (runEvents)
            QCoreApplication::processEvents();
    }
    return true;
}

inline QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool writeFile(const QString &path, const QByteArray &bytes, QIODevice::OpenMode mode = QIODevice::WriteOnly)
{
    QFile f(path);
    return f.open(mode) && f.write(bytes) == bytes.size();
}

} // namespace orv::test
