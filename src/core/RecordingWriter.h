// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>
#include <thread>
#include <vector>

namespace orv {

class Clock;
class FileSystem;
struct Fragment;

// Appends sample lines to recording files durably, each file on a thread of its own: a disk
// that blocks holds back only the lines of its own file, never the sampling, the window or
// another file. A line counts as written once its write, its sync and its close succeeded;
// until then it waits in memory with the other lines of its file, in order, and is tried
// again. What still waits at the end goes to a rescue file.
class RecordingWriter {
public:
    struct Options {
        QStringList rescueFolders; // in order of preference
        int firstRetryMs = 1000;   // after a failure; doubled up to lastRetryMs
        int lastRetryMs = 10000;
    };
    RecordingWriter(FileSystem &files, const Clock &clock, Options options);
    // Ends the threads after the attempt under way; whatever still waits is not written.
    ~RecordingWriter();
    RecordingWriter(const RecordingWriter &) = delete;
    RecordingWriter &operator=(const RecordingWriter &) = delete;

    // Never waits for the disk.
    void append(const QString &file, const QByteArray &line);
    // Creates (or empties) the file with only its header, once the lines handed over for it
    // before are written; refused (kLinesStillWaiting) while they cannot be. `done` gets 0 or
    // the error, on the file's thread.
    void create(const QString &file, std::function<void(int error)> done);
    // Tries every waiting line now, instead of at the next retry.
    void retry();

    struct Waiting {
        QString file;
        int lines = 0;
        QString reason; // French, from the last failed attempt; empty while on their way
        friend bool operator==(const Waiting &, const Waiting &) = default;
    };
    // Lines whose last attempt failed, per file.
    QList<Waiting> waiting() const;
    int waitingLines() const;
    // Every line not yet confirmed written, on its way or waiting, per file.
    QList<Waiting> unconfirmed() const;

    // Returns once every line handed over has been tried at least once, or after timeoutMs
    // (false then); a negative timeout waits as long as it takes. For tests and tools.
    bool drain(int timeoutMs = -1);

    struct Rescue {
        QStringList files;      // rescue files written
        int lines = 0;          // lines kept in them
        int lost = 0;           // lines no folder could take
        QString reason;         // French, when lines are lost
        QStringList lostFrom;   // the recording files those lines were for
        bool mayRepeat = false; // lines were on their way at the deadline: the file may hold them too
    };
    // The end: every file gets a last attempt until `deadlineMs`; then every line not
    // confirmed goes to a rescue file, each folder given `attemptMs` before the next is tried.
    // Never waits for a thread stuck on its disk beyond those times.
    Rescue finish(int deadlineMs, int attemptMs);
    // A thread is still inside a call to a disk that does not answer.
    bool stuck() const;

    // Called on a writer thread when what waits changes (files, counts or reasons).
    void setOnChange(std::function<void()> callback);
    // Called on a writer thread when a torn end was cut off a recording file.
    void setOnFragment(std::function<void(const QString &file, const Fragment &fragment)> callback);

private:
    struct FileThread;
    struct Shared;
    struct RescueAttempt;
    FileThread &threadFor(const QString &file);
    void run(FileThread &thread);
    void changed();

    FileSystem &m_files;
    const Clock &m_clock;
    Options m_options;
    std::shared_ptr<Shared> m_shared;
    std::map<QString, std::unique_ptr<FileThread>> m_threads; // touched by the owner's thread only
    // The last file asked for: a sample a second need not rebuild its path (a getcwd) each time.
    QString m_lastName;
    FileThread *m_lastThread = nullptr;
    std::vector<std::thread> m_rescueThreads;
    std::vector<std::shared_ptr<RescueAttempt>> m_rescueAttempts;
};

} // namespace orv
