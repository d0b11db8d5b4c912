#include "RecordingFile.h"

#include "Texts.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orv {

namespace {

// Writes the whole buffer or reports the errno that stopped it.
int writeAll(int fd, const QByteArray &data)
{
    const char *p = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return ENOSPC;
        p += n;
        left -= n;
    }
    return 0;
}

// A new folder entry is durable only once its folder is synced too.
void syncParentFolder(const QByteArray &path)
{
    QByteArray dir = QFile::encodeName(QFileInfo(QFile::decodeName(path)).absolutePath());
    const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

QString RecordingFile::describeError(int err, const QString &fileName)
{
    QString why;
    switch (err) {
    case ENOENT:
    case ENOTDIR:
        why = QStringLiteral("le dossier n'existe pas");
        break;
    case EISDIR:
        why = QStringLiteral("ce nom désigne un dossier");
        break;
    case EACCES:
    case EPERM:
    case EROFS:
        why = QStringLiteral("accès refusé en écriture");
        break;
    case ENOSPC:
    case EDQUOT:
        why = QStringLiteral("le disque est plein");
        break;
    case EFBIG:
        why = QStringLiteral("le fichier a atteint la taille maximale");
        break;
    case ETXTBSY:
    case EBUSY:
        why = QStringLiteral("le fichier est verrouillé");
        break;
    default:
        why = QStringLiteral("erreur système %1").arg(err);
        break;
    }
    return QStringLiteral("Impossible d'écrire dans « %1 » : %2.").arg(fileName, why);
}

bool RecordingFile::append(const QString &fileName, const QByteArray &line)
{
    m_pending.push_back({fileName, line});
    return flush();
}

bool RecordingFile::flush()
{
    while (!m_pending.empty()) {
        const QString fileName = m_pending.front().fileName;
        const int err = writeFrontGroup();
        if (err != 0) {
            m_lastError = describeError(err, fileName);
            return false;
        }
    }
    m_lastError.clear();
    return true;
}

int RecordingFile::writeFrontGroup()
{
    const QString fileName = m_pending.front().fileName;
    const QByteArray path = QFile::encodeName(fileName);
    struct stat st {};
    const bool existed = ::stat(path.constData(), &st) == 0;
    const int fd = ::open(path.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return errno;

    int err = 0;
    if (!existed) {
        err = writeAll(fd, recordingHeader());
        if (err != 0) {
            // Leave no headerless file behind: the next attempt must see no file.
            ::close(fd);
            ::unlink(path.constData());
            return err;
        }
    }

    while (!m_pending.empty() && m_pending.front().fileName == fileName) {
        const off_t good = ::lseek(fd, 0, SEEK_END);
        err = writeAll(fd, m_pending.front().bytes);
        if (err != 0) {
            // Cut a partial line back so the file always ends with a complete one.
            if (good >= 0 && ::ftruncate(fd, good) != 0) {
                // The file keeps its torn tail; nothing more can be done from here.
            }
            break;
        }
        m_pending.pop_front();
    }

    // Durable when the tick returns: a power cut loses at most the line being written.
    if (::fdatasync(fd) != 0 && err == 0 && errno != EINVAL)
        err = errno;
    ::close(fd);
    if (!existed)
        syncParentFolder(path);
    return err;
}

bool RecordingFile::createWithHeader(const QString &fileName, QString *error)
{
    const QByteArray path = QFile::encodeName(fileName);
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        if (error)
            *error = describeError(errno, fileName);
        return false;
    }
    int err = writeAll(fd, recordingHeader());
    if (err == 0 && ::fdatasync(fd) != 0)
        err = errno;
    ::close(fd);
    syncParentFolder(path);
    if (err != 0) {
        if (error)
            *error = describeError(err, fileName);
        return false;
    }
    return true;
}

} // namespace orv
