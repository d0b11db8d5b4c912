// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "recordings/RecordingReader.h"

#include <QObject>

#include <atomic>
#include <memory>

class QThread;

namespace orv {

// Reads a recording file off the caller's thread, then follows it: a change the system
// reports (inotify) or a poll twice a second, for file systems that report nothing, reads
// what was added. Every result comes back as a signal on the caller's thread.
class RecordingWatch : public QObject {
    Q_OBJECT
public:
    static constexpr int kPollMs = 500;

    RecordingWatch(std::shared_ptr<RecordingFiles> files, const QString &path, QObject *parent = nullptr);
    // Stops a read under way at its next chunk; a read stuck in the system is left to end
    // on its own after a bounded wait, so closing a window never hangs.
    ~RecordingWatch() override;

    void start();

Q_SIGNALS:
    void progressed(qint64 done, qint64 total);
    void updated(const orv::RecordingReader::Update &update);

private:
    class Worker;
    QThread *m_thread = nullptr;
    Worker *m_worker = nullptr;
    std::shared_ptr<std::atomic<bool>> m_stop;
};

} // namespace orv
