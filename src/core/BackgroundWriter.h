#pragma once

#include "RecordingWriter.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>

namespace orv {

// The recording writer on a thread of its own, so a slow disk (a USB stick, a network
// share) never stalls the sampling and the window. Lines keep their order per file; what
// cannot be written waits as with the writer itself. One thread hands lines over.
class BackgroundWriter {
public:
    explicit BackgroundWriter(FileSystem &files);
    // Writes what was handed over, then ends the thread.
    ~BackgroundWriter();
    BackgroundWriter(const BackgroundWriter &) = delete;
    BackgroundWriter &operator=(const BackgroundWriter &) = delete;

    // Never waits for the disk.
    void append(const QString &file, const QByteArray &line);
    void retry();
    // Returns once every line handed over has been tried at least once, or after timeoutMs
    // (false then); a negative timeout waits as long as it takes.
    bool drain(int timeoutMs = -1);

    // Lines that could not be written, as of the last attempt; lines on their way to the
    // disk are not counted.
    QList<RecordingWriter::Waiting> waiting() const;
    int waitingLines() const;

    // Waits for the lines on their way, then keeps what still waits in rescue files.
    RecordingWriter::Rescue rescue(const QStringList &folders, const QDateTime &now);

    // Called on the writer's thread when the lines that wait change.
    void setOnChange(std::function<void()> callback);

private:
    void run();
    bool idle() const { return m_inbox.empty() && !m_retry && !m_busy; }

    RecordingWriter m_writer; // only the writer's thread touches it, but for rescue()
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<std::pair<QString, QByteArray>> m_inbox;
    bool m_retry = false;
    bool m_busy = false;
    bool m_stop = false;
    QList<RecordingWriter::Waiting> m_waiting;
    int m_waitingLines = 0;
    std::function<void()> m_onChange;
    std::thread m_thread;
};

} // namespace orv
