#pragma once

#include "core/FileSystem.h"

#include <QThread>

#include <atomic>

namespace orv::test {

// The real disk with faults on demand: a write or a sync that fails, or a slow sync.
class FaultyFileSystem final : public PosixFileSystem {
public:
    std::atomic<int> writeError{0}; // every write fails with this (ENOSPC: a full disk)
    std::atomic<int> syncError{0};
    std::atomic<int> syncDelayMs{0}; // a slow disk or a network share
    std::atomic<int> writes{0};
    std::atomic<bool> skipSync{false}; // for tests that write thousands of lines

    int write(int fd, QByteArrayView data) override
    {
        ++writes;
        return writeError ? writeError.load() : PosixFileSystem::write(fd, data);
    }
    int writeAt(int fd, qint64 offset, QByteArrayView data) override
    {
        ++writes;
        return writeError ? writeError.load() : PosixFileSystem::writeAt(fd, offset, data);
    }
    int sync(int fd) override
    {
        if (skipSync)
            return 0;
        if (syncDelayMs)
            QThread::msleep(static_cast<unsigned long>(syncDelayMs.load()));
        return syncError ? syncError.load() : PosixFileSystem::sync(fd);
    }
};

} // namespace orv::test
