// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "logging/PrivateFolder.h"

#include <QDateTime>
#include <QString>

#include <optional>
#include <sys/types.h>
#include <vector>

namespace orv {

// Where the lock files of one user live: in <runtimeRoot>/<uid>, the folder the login
// manager makes for each user while a session or a service of theirs runs, and in the
// user's own folder of the temporary folder, which every session finds, even one started
// by cron or over ssh that has no runtime folder.
struct LockRoots {
    QString runtimeRoot;
    QString tempRoot;
    uid_t uid = 0;
};
LockRoots systemLockRoots();

// What the running instance tells of itself in its lock file, for a refused start.
struct InstanceInfo {
    bool headless = false;
    qint64 pid = 0;
    QDateTime since;
    QString recordingFile;   // empty until start-up is done
    QString serviceUnit;     // "orvalin-headless" when systemd runs it as a service
    bool userService = true; // a unit of the user's own service manager
};
// This process: its number, the time now, and its service unit when it is one.
InstanceInfo thisInstance(bool headless, const QString &recordingFile);

// One running logger per user: kernel locks (flock) on a file in each of the user's
// folders that can be trusted. A lock dies with its process, so a crashed run leaves
// nothing to take over, and a file is never removed, so no start can slip in between
// another's creating and locking it.
class SingleInstance {
public:
    explicit SingleInstance(LockRoots roots);
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    enum class Start {
        Alone,       // every lock taken; keep the object alive while running
        AnotherRuns, // other() tells which
        Unguarded,   // no folder can be trusted with the lock: problem() says why
    };
    Start acquire(bool headless);
    // Tells later starts what this instance does; again once its recording file is known.
    void describe(const InstanceInfo &info);
    // After AnotherRuns: what the running instance wrote of itself; nullopt before it did.
    std::optional<InstanceInfo> other() const;
    const QString &problem() const { return m_problem; }

private:
    LockRoots m_roots;
    std::vector<int> m_fds;
    QString m_heldElsewhere; // the lock file another instance holds
    QString m_problem;
};

// For a window refused while another instance runs: the French text of its message box,
// or nothing when the other is a window (a second window ends silently).
QString otherInstanceNotice(const InstanceInfo &other);
// For a refused headless start: one line, in French, with what is known of the other.
QString otherInstanceRefusal(const std::optional<InstanceInfo> &other);
// For a start without a trusted lock folder, in French.
QString unguardedNotice(const QString &problem);

} // namespace orv
