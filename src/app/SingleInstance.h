#pragma once

#include <QString>

namespace orv {

// One running logger per user: a kernel lock (flock) on a file in the user's runtime
// folder. The lock dies with its process, so a crashed run leaves nothing to take over,
// and the file is never removed, so no start can slip in between another's creating
// and locking it.
class SingleInstance {
public:
    explicit SingleInstance(const QString &lockDir);
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // False only when another instance holds the lock; keep the object alive while running.
    bool acquire();

private:
    QString m_path;
    int m_fd = -1;
};

// The per-user folder for the lock: the runtime folder, or the temporary folder.
QString defaultLockDir();

} // namespace orv
