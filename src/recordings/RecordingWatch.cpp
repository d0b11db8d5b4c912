// SPDX-License-Identifier: GPL-3.0-or-later
#include "recordings/RecordingWatch.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QPointer>
#include <QThread>
#include <QTimer>

namespace orv {

class RecordingWatch::Worker : public QObject {
public:
    Worker(std::shared_ptr<RecordingFiles> files, const QString &path, RecordingWatch *watch,
           std::shared_ptr<std::atomic<bool>> stop)
        : m_files(std::move(files))
        , m_reader(*m_files, path)
        , m_watch(watch)
        , m_stop(std::move(stop))
        , m_watcher(this)
        , m_timer(this)
    {
        m_timer.setInterval(kPollMs);
        connect(&m_timer, &QTimer::timeout, this, &Worker::check);
        connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &Worker::check);
        connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &Worker::check);
    }

    void begin()
    {
        check();
        m_timer.start();
    }

    void check()
    {
        if (m_stop->load() || m_refused)
            return;
        qint64 lastReport = -1;
        QDeadlineTimer sinceReport(0);
        const RecordingReader::Update u = m_reader.poll([&](qint64 done, qint64 total) {
            // At most ten reports a second reach the window.
            if (!m_stop->load() && done != lastReport && (sinceReport.hasExpired() || done == total)) {
                lastReport = done;
                sinceReport.setRemainingTime(100);
                QMetaObject::invokeMethod(m_watch, [w = m_watch, done, total] { Q_EMIT w->progressed(done, total); });
            }
            return !m_stop->load();
        });
        watchPaths();
        if (m_stop->load() || u.kind == RecordingReader::Update::Kind::Unchanged
            || u.kind == RecordingReader::Update::Kind::Cancelled)
            return;
        if (u.kind == RecordingReader::Update::Kind::Failed) {
            // Not a recording: nothing to follow, and said once.
            m_refused = true;
            m_timer.stop();
        }
        QMetaObject::invokeMethod(m_watch, [w = m_watch, u] { Q_EMIT w->updated(u); });
    }

private:
    // A replaced file loses its watch; its folder's tells when the new one comes.
    void watchPaths()
    {
        const QString path = m_reader.path();
        const QString folder = QFileInfo(path).absolutePath();
        if (!m_watcher.files().contains(path) && QFileInfo(path).isFile())
            m_watcher.addPath(path);
        if (m_watcher.directories().isEmpty() && QFileInfo(folder).isDir())
            m_watcher.addPath(folder);
    }

    std::shared_ptr<RecordingFiles> m_files;
    RecordingReader m_reader;
    RecordingWatch *m_watch;
    std::shared_ptr<std::atomic<bool>> m_stop;
    QFileSystemWatcher m_watcher;
    QTimer m_timer;
    bool m_refused = false;
};

RecordingWatch::RecordingWatch(std::shared_ptr<RecordingFiles> files, const QString &path, QObject *parent)
    : QObject(parent)
    , m_stop(std::make_shared<std::atomic<bool>>(false))
{
    m_thread = new QThread;
    m_thread->setObjectName(QStringLiteral("recording reader"));
    m_worker = new Worker(std::move(files), path, this, m_stop);
    m_worker->moveToThread(m_thread);
    connect(
        m_thread, &QThread::finished, m_worker, [w = m_worker] { delete w; }, Qt::DirectConnection);
}

RecordingWatch::~RecordingWatch()
{
    m_stop->store(true);
    m_thread->quit();
    if (m_thread->wait(QDeadlineTimer(2000))) {
        delete m_thread;
        return;
    }
    // The worker is stuck in a read of a dead disk; it ends, and cleans up after itself, when
    // the read returns. It no longer reports: m_stop is set.
    QThread *thread = m_thread;
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
}

void RecordingWatch::start()
{
    m_thread->start();
    QMetaObject::invokeMethod(m_worker, [w = m_worker] { w->begin(); });
}

} // namespace orv
