#include "SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace orv {

SingleInstance::SingleInstance(const QString &lockDir)
    : m_path(QDir(lockDir).filePath(QStringLiteral("orvalin.lock")))
{
}

SingleInstance::~SingleInstance()
{
    // Closing releases the lock; the file stays for the next start.
    if (m_fd >= 0)
        ::close(m_fd);
}

bool SingleInstance::acquire()
{
    if (m_fd >= 0)
        return true;
    const QByteArray path = QFile::encodeName(m_path);
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    // No lock file can be made (a read-only runtime folder): better to run unguarded
    // than to refuse every start without a word.
    if (fd < 0)
        return true;
    int locked;
    do
        locked = ::flock(fd, LOCK_EX | LOCK_NB);
    while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
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
