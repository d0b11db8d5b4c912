// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace orv {

// A thread that runs the jobs handed to it one after the other, in order: work that may wait
// for a disk (a settings save, a look at a folder) without the caller waiting for it.
class Worker {
public:
    Worker();
    // Runs what was handed over, then ends the thread.
    ~Worker();
    Worker(const Worker &) = delete;
    Worker &operator=(const Worker &) = delete;

    void post(std::function<void()> job);
    // True once every job handed over so far has run; false when timeoutMs passed first.
    bool waitIdle(int timeoutMs);
    // A job is still running: a disk that does not answer.
    bool busy() const;

private:
    void run();

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<std::function<void()>> m_jobs;
    bool m_running = false;
    bool m_stop = false;
    std::thread m_thread;
};

} // namespace orv
