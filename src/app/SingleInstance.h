#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

namespace orv {

// One running logger per user: a lock file in the user's runtime folder. A lock left
// by a crashed run names a dead process and is taken over.
class SingleInstance {
public:
    explicit SingleInstance(const QString &lockDir);
    // True when this process is the only instance; keep the object alive while running.
    bool acquire();

private:
    std::unique_ptr<QLockFile> m_lock;
};

// The per-user folder for the lock: the runtime folder, or the temporary folder.
QString defaultLockDir();

} // namespace orv
