// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/RecordingWriter.h"

#include "core/FileNames.h"

#include "core/Clock.h"
#include "core/FileSystem.h"
#include "core/LineFile.h"
#include "core/RescueFiles.h"
#include "core/Texts.h"

#include <QDir>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace orv {

namespace {

using SteadyClock = std::chrono::steady_clock;

// One thing to do on a file, in the order it was asked: a line to append, or the file to
// create (or empty) with its header.
struct Item {
    QByteArray line;
    std::function<void(int error)> create; // set for a creation
};

} // namespace

struct RecordingWriter::Shared {
    std::mutex mutex;
    std::function<void()> onChange;
    std::function<void(const QString &, const Fragment &)> onFragment;
};

struct RecordingWriter::FileThread {
    QString name;  // as the user gave it first
    LineFile file; // the thread's own
    mutable std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable idle;
    std::deque<Item> items; // lines not yet confirmed written, and creations, in order
    int lines = 0;          // line items among them
    int error = 0;          // of the last attempt
    bool retryNow = true;   // the next lines are tried at once, not at the next retry
    bool busy = false;
    bool stop = false;
    bool abandoned = false; // the end took its lines: nothing more is tried
    int retryMs = 0;
    SteadyClock::time_point nextRetry;
    std::thread thread;

    bool due(SteadyClock::time_point now) const
    {
        return !items.empty() && (items.front().create || error == 0 || retryNow || now >= nextRetry);
    }
    // Everything handed over has been tried since the last retry was asked for.
    bool settled() const { return !busy && (items.empty() || (!items.front().create && error != 0 && !retryNow)); }
};

RecordingWriter::RecordingWriter(FileSystem &files, const Clock &clock, Options options)
    : m_files(files)
    , m_clock(clock)
    , m_options(std::move(options))
    , m_shared(std::make_shared<Shared>())
{
}

RecordingWriter::~RecordingWriter()
{
    for (auto &entry : m_threads) {
        const auto &t = entry.second;
        {
            std::lock_guard lock(t->mutex);
            t->stop = true;
        }
        t->wake.notify_all();
    }
    for (auto &entry : m_threads)
        entry.second->thread.join();
    for (std::thread &t : m_rescueThreads)
        t.join();
}

void RecordingWriter::setOnChange(std::function<void()> callback)
{
    std::lock_guard lock(m_shared->mutex);
    m_shared->onChange = std::move(callback);
}

void RecordingWriter::setOnFragment(std::function<void(const QString &, const Fragment &)> callback)
{
    std::lock_guard lock(m_shared->mutex);
    m_shared->onFragment = std::move(callback);
}

void RecordingWriter::changed()
{
    std::function<void()> callback;
    {
        std::lock_guard lock(m_shared->mutex);
        callback = m_shared->onChange;
    }
    if (callback)
        callback();
}

RecordingWriter::FileThread &RecordingWriter::threadFor(const QString &file)
{
    if (m_lastThread && file == m_lastName)
        return *m_lastThread;
    // A bare name and the full path of one file are one file, with one order of lines.
    const QString path = QDir::cleanPath(absoluteFileName(file));
    std::unique_ptr<FileThread> &t = m_threads[path];
    if (!t) {
        t = std::make_unique<FileThread>();
        t->name = file;
        t->file.path = path;
        t->retryMs = m_options.firstRetryMs;
        t->thread = std::thread([this, raw = t.get()] { run(*raw); });
    }
    m_lastName = file;
    m_lastThread = t.get();
    return *t;
}

void RecordingWriter::append(const QString &file, const QByteArray &line)
{
    FileThread &t = threadFor(file);
    {
        std::lock_guard lock(t.mutex);
        t.items.push_back({line, {}});
        ++t.lines;
    }
    t.wake.notify_one();
}

void RecordingWriter::create(const QString &file, std::function<void(int)> done)
{
    FileThread &t = threadFor(file);
    {
        std::lock_guard lock(t.mutex);
        t.items.push_back({QByteArray(), std::move(done)});
    }
    t.wake.notify_one();
}

void RecordingWriter::retry()
{
    for (auto &entry : m_threads) {
        const auto &t = entry.second;
        {
            std::lock_guard lock(t->mutex);
            t->retryNow = true;
        }
        t->wake.notify_one();
    }
}

void RecordingWriter::run(FileThread &t)
{
    const FragmentKeeper keep = [this](const QString &file, const QByteArray &bytes) {
        for (const QString &folder : m_options.rescueFolders) {
            QString path;
            if (writeKeptFile(m_files, folder, QLatin1String(kFragmentPrefix), m_clock.localNow(), file, bytes, path)
                == 0) {
                noteRescueFiles(m_files, folder, {path});
                return path;
            }
        }
        return QString();
    };

    std::unique_lock lock(t.mutex);
    for (;;) {
        if (t.items.empty() || t.error == 0 || t.retryNow)
            t.wake.wait(lock, [&] { return t.stop || t.due(SteadyClock::now()); });
        else
            t.wake.wait_until(lock, t.nextRetry, [&] { return t.stop || t.due(SteadyClock::now()); });
        if (t.stop || t.abandoned)
            return;
        if (!t.due(SteadyClock::now()))
            continue;

        // The lines up to the next creation go out together: one open and one sync.
        std::vector<QByteArray> batch;
        for (const Item &item : t.items) {
            if (item.create)
                break;
            batch.push_back(item.line);
        }
        t.retryNow = false;
        t.busy = true;
        const int before = t.error;
        const int linesBefore = t.lines;
        lock.unlock();

        int error = 0;
        std::optional<Fragment> fragment;
        if (!batch.empty())
            error = appendLines(m_files, t.file, batch, keep, fragment);
        if (fragment) {
            std::function<void(const QString &, const Fragment &)> report;
            {
                std::lock_guard shared(m_shared->mutex);
                report = m_shared->onFragment;
            }
            if (report)
                report(t.file.path, *fragment);
        }

        lock.lock();
        if (error == 0) {
            t.items.erase(t.items.begin(), t.items.begin() + static_cast<std::ptrdiff_t>(batch.size()));
            t.lines -= static_cast<int>(batch.size());
            t.retryMs = m_options.firstRetryMs;
        } else {
            t.nextRetry = SteadyClock::now() + std::chrono::milliseconds(t.retryMs);
            t.retryMs = std::min(t.retryMs * 2, m_options.lastRetryMs);
        }
        t.error = error;
        // A creation asked for after the batch: the batch's lines stay before it, unwritten
        // or written.
        std::function<void(int)> created;
        int createError = 0;
        const std::size_t next = error == 0 ? 0 : batch.size();
        if (t.items.size() > next && t.items[next].create && !t.abandoned) {
            created = std::move(t.items[next].create);
            t.items.erase(t.items.begin() + static_cast<std::ptrdiff_t>(next));
            if (error != 0) {
                // The lines of the earlier recording stay first; the file is not emptied under them.
                createError = kLinesStillWaiting;
            } else {
                lock.unlock();
                createError = createWithHeader(m_files, t.file);
                lock.lock();
            }
        }
        const bool visibleChange = (before != 0 || t.error != 0) && (before != t.error || linesBefore != t.lines);
        // Told before the thread counts as idle, so a drain never returns ahead of the news.
        lock.unlock();
        if (created)
            created(createError);
        if (visibleChange)
            changed();
        lock.lock();
        t.busy = false;
        t.idle.notify_all();
    }
}

QList<RecordingWriter::Waiting> RecordingWriter::waiting() const
{
    QList<Waiting> out;
    for (const auto &entry : m_threads) {
        const auto &t = entry.second;
        std::lock_guard lock(t->mutex);
        if (t->lines > 0 && t->error != 0)
            out.append({t->name, t->lines, fileErrorReason(t->error)});
    }
    return out;
}

int RecordingWriter::waitingLines() const
{
    int n = 0;
    for (const Waiting &w : waiting())
        n += w.lines;
    return n;
}

QList<RecordingWriter::Waiting> RecordingWriter::unconfirmed() const
{
    QList<Waiting> out;
    for (const auto &entry : m_threads) {
        const auto &t = entry.second;
        std::lock_guard lock(t->mutex);
        if (t->lines > 0)
            out.append({t->name, t->lines, t->error != 0 ? fileErrorReason(t->error) : QString()});
    }
    return out;
}

bool RecordingWriter::drain(int timeoutMs)
{
    retry();
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    for (auto &entry : m_threads) {
        const auto &t = entry.second;
        std::unique_lock lock(t->mutex);
        const auto settled = [&] { return t->settled() || t->abandoned; };
        if (timeoutMs < 0)
            t->idle.wait(lock, settled);
        else if (!t->idle.wait_until(lock, deadline, settled))
            return false;
    }
    return true;
}

namespace {

// The lines of one recording file on their way to a rescue file.
struct RescueItem {
    std::size_t index = 0; // in the end's list
    QString file;
    QByteArray bytes; // header and lines
    int lines = 0;
    QString keptIn;
};

} // namespace

// One folder's attempt, on a thread of its own so a folder that does not answer is left
// behind; shared with that thread, which may outlive the wait.
struct RecordingWriter::RescueAttempt {
    std::mutex mutex;
    std::condition_variable done;
    std::vector<RescueItem> items;
    int error = 0;
    bool finished = false;
};

RecordingWriter::Rescue RecordingWriter::finish(int deadlineMs, int attemptMs)
{
    // A last chance for every file, until the deadline.
    retry();
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(deadlineMs);
    for (auto &entry : m_threads) {
        const auto &t = entry.second;
        std::unique_lock lock(t->mutex);
        t->idle.wait_until(lock, deadline, [&] { return t->settled(); });
    }

    Rescue rescue;
    std::vector<RescueItem> items;
    for (auto &entry : m_threads) {
        const auto &t = entry.second;
        std::lock_guard lock(t->mutex);
        t->abandoned = true;
        t->wake.notify_one();
        if (t->lines == 0)
            continue;
        // Lines on their way, or written whose sync or close failed, may be in the file too.
        // (The file is only the thread's while it is busy.)
        rescue.mayRepeat = rescue.mayRepeat || t->busy || t->file.unconfirmed.has_value();
        RescueItem item{items.size(), t->name, recordingHeader(), t->lines, {}};
        for (const Item &i : t->items)
            item.bytes += i.line;
        items.push_back(std::move(item));
    }

    const QDateTime now = m_clock.localNow();
    int lastError = ENOENT;
    for (const QString &folder : m_options.rescueFolders) {
        if (std::all_of(items.begin(), items.end(), [](const RescueItem &i) { return !i.keptIn.isEmpty(); }))
            break;
        auto attempt = std::make_shared<RescueAttempt>();
        for (const RescueItem &i : items)
            if (i.keptIn.isEmpty())
                attempt->items.push_back(i);
        m_rescueThreads.emplace_back([attempt, folder, now, &files = m_files] {
            QStringList kept;
            int error = 0;
            for (std::size_t k = 0; k < attempt->items.size(); ++k) {
                QString path;
                error = writeKeptFile(files, folder, QLatin1String(kRescuePrefix), now, attempt->items[k].file,
                                      attempt->items[k].bytes, path);
                std::lock_guard lock(attempt->mutex);
                attempt->items[k].keptIn = path;
                if (error != 0) {
                    attempt->error = error;
                    break;
                }
                kept.append(path);
            }
            if (!kept.isEmpty())
                noteRescueFiles(files, folder, kept);
            std::lock_guard lock(attempt->mutex);
            attempt->finished = true;
            attempt->done.notify_all();
        });
        std::unique_lock lock(attempt->mutex);
        const bool answered =
            attempt->done.wait_for(lock, std::chrono::milliseconds(attemptMs), [&] { return attempt->finished; });
        lastError = answered ? attempt->error : ETIMEDOUT;
        for (const RescueItem &done : attempt->items)
            if (!done.keptIn.isEmpty())
                items[done.index].keptIn = done.keptIn;
        m_rescueAttempts.push_back(attempt);
    }
    for (const RescueItem &i : items) {
        if (!i.keptIn.isEmpty()) {
            rescue.files.append(i.keptIn);
            rescue.lines += i.lines;
        } else {
            rescue.lost += i.lines;
            rescue.lostFrom.append(i.file);
            rescue.reason = fileErrorReason(lastError);
        }
    }
    return rescue;
}

bool RecordingWriter::stuck() const
{
    for (const auto &entry : m_threads) {
        const auto &t = entry.second;
        std::lock_guard lock(t->mutex);
        if (t->busy)
            return true;
    }
    for (const auto &attempt : m_rescueAttempts) {
        std::lock_guard lock(attempt->mutex);
        if (!attempt->finished)
            return true;
    }
    return false;
}

} // namespace orv
