#include "SingleInstance.h"

#include <QDir>
#include <QStandardPaths>

namespace orv {

SingleInstance::SingleInstance(const QString &lockDir)
    : m_lock(std::make_unique<QLockFile>(QDir(lockDir).filePath(QStringLiteral("orvalin.lock"))))
{
    // Never consider a live instance's lock stale, however long it has run.
    m_lock->setStaleLockTime(0);
}

bool SingleInstance::acquire()
{
    if (m_lock->tryLock(0))
        return true;
    // A lock whose process is gone is removed and taken.
    if (m_lock->error() == QLockFile::LockFailedError && m_lock->removeStaleLockFile())
        return m_lock->tryLock(0);
    return false;
}

QString defaultLockDir()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    QDir().mkpath(dir);
    return dir;
}

} // namespace orv
