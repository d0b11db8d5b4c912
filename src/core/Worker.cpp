// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Worker.h"

#include <chrono>

namespace orv {

Worker::Worker()
    : m_thread([this] { run(); })
{
}

Worker::~Worker()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void Worker::post(std::function<void()> job)
{
    {
        std::lock_guard lock(m_mutex);
        m_jobs.push_back(std::move(job));
    }
    m_wake.notify_one();
}

bool Worker::waitIdle(int timeoutMs)
{
    std::unique_lock lock(m_mutex);
    return m_idle.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return m_jobs.empty() && !m_running; });
}

bool Worker::busy() const
{
    std::lock_guard lock(m_mutex);
    return m_running;
}

void Worker::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || !m_jobs.empty(); });
        if (m_jobs.empty())
            return;
        std::function<void()> job = std::move(m_jobs.front());
        m_jobs.pop_front();
        m_running = true;
        lock.unlock();
        job();
        lock.lock();
        m_running = false;
        m_idle.notify_all();
    }
}

} // namespace orv
