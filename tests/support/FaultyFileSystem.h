// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/FileSystem.h"

#include <QHash>
#include <QThread>

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace orv::test {

// The real disk with faults on demand: a write, a sync or a close that fails, a slow sync,
// or syncs that block until the test lets them go. Faults hit every file, or only those
// whose path starts with faultyPrefix().
class FaultyFileSystem : public PosixFileSystem {
public:
    std::atomic<int> writeError{0}; // every write fails with this (ENOSPC: a full disk)
    std::atomic<int> syncError{0};
    std::atomic<int> closeError{0};    // reported after the descriptor is closed, as Linux does
    std::atomic<int> syncDelayMs{0};   // a slow disk or a network share
    std::atomic<bool> skipSync{false}; // for tests that write thousands of lines

    ~FaultyFileSystem() override { releaseSyncs(); }

    void setFaultyPrefix(const QString &prefix)
    {
        std::lock_guard lock(m_mutex);
        m_prefix = prefix;
    }
    // From now on every sync of a faulty file waits until releaseSyncs().
    void blockSyncs()
    {
        std::lock_guard lock(m_mutex);
        m_blocking = true;
    }
    void releaseSyncs()
    {
        {
            std::lock_guard lock(m_mutex);
            m_blocking = false;
        }
        m_released.notify_all();
    }
    // Syncs waiting in blockSyncs() right now.
    int blockedSyncs() const { return m_blocked; }

    int open(const QString &path, Open mode, int &fd) override
    {
        const int error = PosixFileSystem::open(path, mode, fd);
        if (error == 0) {
            std::lock_guard lock(m_mutex);
            m_paths.insert(fd, path);
        }
        return error;
    }
    int write(int fd, QByteArrayView data) override
    {
        return writeError && faulty(fd) ? writeError.load() : PosixFileSystem::write(fd, data);
    }
    int writeAt(int fd, qint64 offset, QByteArrayView data) override
    {
        return writeError && faulty(fd) ? writeError.load() : PosixFileSystem::writeAt(fd, offset, data);
    }
    int sync(int fd) override
    {
        if (skipSync)
            return 0;
        if (!faulty(fd))
            return PosixFileSystem::sync(fd);
        if (syncDelayMs)
            QThread::msleep(static_cast<unsigned long>(syncDelayMs.load()));
        {
            std::unique_lock lock(m_mutex);
            ++m_blocked;
            m_released.wait(lock, [this] { return !m_blocking; });
            --m_blocked;
        }
        return syncError ? syncError.load() : PosixFileSystem::sync(fd);
    }
    int close(int fd) override
    {
        const bool fails = closeError && faulty(fd);
        {
            std::lock_guard lock(m_mutex);
            m_paths.remove(fd);
        }
        const int error = PosixFileSystem::close(fd);
        return fails ? closeError.load() : error;
    }

private:
    bool faulty(int fd) const
    {
        std::lock_guard lock(m_mutex);
        return m_prefix.isEmpty() || m_paths.value(fd).startsWith(m_prefix);
    }

    mutable std::mutex m_mutex;
    std::condition_variable m_released;
    QHash<int, QString> m_paths;
    QString m_prefix;
    bool m_blocking = false;
    std::atomic<int> m_blocked{0};
};

} // namespace orv::test
