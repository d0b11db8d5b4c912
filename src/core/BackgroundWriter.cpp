#include "BackgroundWriter.h"

namespace orv {

BackgroundWriter::BackgroundWriter(FileSystem &files)
    : m_writer(files)
    , m_thread([this] { run(); })
{
}

BackgroundWriter::~BackgroundWriter()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void BackgroundWriter::append(const QString &file, const QByteArray &line)
{
    {
        std::lock_guard lock(m_mutex);
        m_inbox.emplace_back(file, line);
    }
    m_wake.notify_one();
}

void BackgroundWriter::retry()
{
    {
        std::lock_guard lock(m_mutex);
        m_retry = true;
    }
    m_wake.notify_one();
}

bool BackgroundWriter::drain(int timeoutMs)
{
    std::unique_lock lock(m_mutex);
    if (timeoutMs < 0) {
        m_idle.wait(lock, [this] { return idle(); });
        return true;
    }
    return m_idle.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return idle(); });
}

QList<RecordingWriter::Waiting> BackgroundWriter::waiting() const
{
    std::lock_guard lock(m_mutex);
    return m_waiting;
}

int BackgroundWriter::waitingLines() const
{
    std::lock_guard lock(m_mutex);
    return m_waitingLines;
}

void BackgroundWriter::setOnChange(std::function<void()> callback)
{
    std::lock_guard lock(m_mutex);
    m_onChange = std::move(callback);
}

RecordingWriter::Rescue BackgroundWriter::rescue(const QStringList &folders, const QDateTime &now)
{
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return idle(); });
    // The writer's thread is waiting for work and only this thread hands any over.
    const RecordingWriter::Rescue rescued = m_writer.rescue(folders, now);
    m_waiting = m_writer.waiting();
    m_waitingLines = m_writer.waitingLines();
    return rescued;
}

void BackgroundWriter::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || !m_inbox.empty() || m_retry; });
        if (m_inbox.empty() && !m_retry)
            return; // stopping, nothing left
        std::deque<std::pair<QString, QByteArray>> batch;
        batch.swap(m_inbox);
        m_retry = false;
        m_busy = true;
        lock.unlock();

        // Lines that came together go out together: one open and one sync per file.
        for (const auto &[file, line] : batch)
            m_writer.enqueue(file, line);
        m_writer.retry();
        QList<RecordingWriter::Waiting> waiting = m_writer.waiting();
        const int lines = m_writer.waitingLines();

        lock.lock();
        const bool changed = lines != m_waitingLines;
        m_waiting = std::move(waiting);
        m_waitingLines = lines;
        const std::function<void()> onChange = m_onChange;
        if (changed && onChange) {
            // Still busy: whoever drains sees the change told before it goes on.
            lock.unlock();
            onChange();
            lock.lock();
        }
        m_busy = false;
        m_idle.notify_all();
    }
}

} // namespace orv
