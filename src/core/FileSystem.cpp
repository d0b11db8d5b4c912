// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/FileSystem.h"

#include "core/FileNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orv {

QString fileErrorReason(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR: return QStringLiteral("le dossier n'existe pas");
    case EISDIR: return QStringLiteral("ce nom désigne un dossier");
    case kNotARegularFile:
    case ENXIO:
    case ENODEV: return QStringLiteral("ce nom désigne un tube ou un périphérique");
    case EACCES:
    case EPERM: return QStringLiteral("accès refusé en écriture");
    case EROFS: return QStringLiteral("le disque est en lecture seule");
    case ENOSPC:
    case EDQUOT: return QStringLiteral("le disque est plein");
    case EFBIG: return QStringLiteral("le fichier a atteint la taille maximale");
    case ENAMETOOLONG: return QStringLiteral("le nom est trop long");
    case ETXTBSY:
    case EBUSY:
    case EAGAIN: return QStringLiteral("le fichier est verrouillé ou occupé");
    case EEXIST: return QStringLiteral("un fichier de ce nom existe déjà");
    case EMFILE:
    case ENFILE: return QStringLiteral("trop de fichiers ouverts");
    case EIO: return QStringLiteral("erreur de lecture ou d'écriture du disque");
    case ETIMEDOUT: return QStringLiteral("le disque ne répond pas");
    case kLinesStillWaiting: return QStringLiteral("des mesures attendent encore d'être écrites dans ce fichier");
    case ELOOP: return QStringLiteral("le nom mène à une boucle de liens");
    case EINVAL: return QStringLiteral("ce nom n'est pas accepté par le système");
    default: return QStringLiteral("erreur inattendue du système de fichiers");
    }
}

namespace {

// Names keep the bytes they came with, also those that are not UTF-8.
QByteArray native(const QString &path)
{
    return encodeFileName(path);
}

int flagsFor(FileSystem::Open mode)
{
    switch (mode) {
    case FileSystem::Open::Read: return O_RDONLY;
    case FileSystem::Open::WriteExisting: return O_WRONLY;
    case FileSystem::Open::Update: return O_RDWR;
    case FileSystem::Open::AppendExisting: return O_WRONLY | O_APPEND;
    case FileSystem::Open::CreateNew: return O_WRONLY | O_CREAT | O_EXCL;
    case FileSystem::Open::CreateOrEmpty: return O_WRONLY | O_CREAT;
    }
    return O_RDONLY;
}

} // namespace

FileSystem::Kind PosixFileSystem::kindOf(const QString &path) const
{
    struct stat st {};
    if (::stat(native(path).constData(), &st) != 0)
        return Kind::Missing;
    if (S_ISREG(st.st_mode))
        return Kind::Regular;
    if (S_ISDIR(st.st_mode))
        return Kind::Folder;
    return Kind::Other;
}

int PosixFileSystem::open(const QString &path, Open mode, int &fd)
{
    fd = -1;
    const QByteArray name = native(path);
    // A pipe or a device is refused before it is opened: opening one can block or act on
    // the device (a serial line, the console).
    struct stat st {};
    if (::stat(name.constData(), &st) == 0 && !S_ISREG(st.st_mode))
        return S_ISDIR(st.st_mode) ? EISDIR : kNotARegularFile;

    int opened;
    do
        opened = ::open(name.constData(), flagsFor(mode) | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
    while (opened < 0 && errno == EINTR);
    if (opened < 0)
        return errno;
    // The name may have changed between the look and the open.
    if (::fstat(opened, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(opened);
        return kNotARegularFile;
    }
    // Emptied only once it is known to be a plain file.
    if (mode == Open::CreateOrEmpty && ::ftruncate(opened, 0) != 0) {
        const int error = errno;
        ::close(opened);
        return error;
    }
    fd = opened;
    return 0;
}

int PosixFileSystem::write(int fd, QByteArrayView data)
{
    const char *p = data.data();
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

int PosixFileSystem::writeAt(int fd, qint64 offset, QByteArrayView data)
{
    const char *p = data.data();
    qsizetype left = data.size();
    off_t at = static_cast<off_t>(offset);
    while (left > 0) {
        const ssize_t n = ::pwrite(fd, p, static_cast<size_t>(left), at);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return ENOSPC;
        p += n;
        at += n;
        left -= n;
    }
    return 0;
}

namespace {

// Up to maxBytes through `next` (read, or pread at a moving offset), whatever the chunks.
template <typename Next>
int readUpTo(qint64 maxBytes, QByteArray &out, Next next)
{
    out.clear();
    char chunk[4096];
    while (out.size() < maxBytes) {
        const qint64 want = std::min<qint64>(static_cast<qint64>(sizeof chunk), maxBytes - out.size());
        const ssize_t n = next(chunk, static_cast<size_t>(want));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            break;
        out.append(chunk, static_cast<qsizetype>(n));
    }
    return 0;
}

} // namespace

int syncAndClose(FileSystem &files, int fd, int error)
{
    if (error == 0)
        error = files.sync(fd);
    const int closeError = files.close(fd);
    return error != 0 ? error : closeError;
}

int PosixFileSystem::read(int fd, qint64 maxBytes, QByteArray &out)
{
    return readUpTo(maxBytes, out, [fd](char *chunk, size_t want) { return ::read(fd, chunk, want); });
}

int PosixFileSystem::readAt(int fd, qint64 offset, qint64 maxBytes, QByteArray &out)
{
    return readUpTo(maxBytes, out, [fd, offset, &out](char *chunk, size_t want) {
        return ::pread(fd, chunk, want, static_cast<off_t>(offset + out.size()));
    });
}

int PosixFileSystem::status(int fd, Status &out)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return errno;
    out.device = static_cast<quint64>(st.st_dev);
    out.inode = static_cast<quint64>(st.st_ino);
    out.size = static_cast<qint64>(st.st_size);
    return 0;
}

int PosixFileSystem::size(int fd, qint64 &bytes)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return errno;
    bytes = static_cast<qint64>(st.st_size);
    return 0;
}

int PosixFileSystem::truncate(int fd, qint64 bytes)
{
    return ::ftruncate(fd, static_cast<off_t>(bytes)) == 0 ? 0 : errno;
}

int PosixFileSystem::sync(int fd)
{
    if (::fdatasync(fd) == 0)
        return 0;
    // Some file systems cannot sync at all; their data is as safe as it gets.
    return errno == EINVAL ? 0 : errno;
}

int PosixFileSystem::close(int fd)
{
    // Linux releases the descriptor even when close reports an error; never retry.
    return ::close(fd) == 0 ? 0 : errno;
}

int PosixFileSystem::rename(const QString &from, const QString &to)
{
    return ::rename(native(from).constData(), native(to).constData()) == 0 ? 0 : errno;
}

int PosixFileSystem::remove(const QString &path)
{
    return ::unlink(native(path).constData()) == 0 ? 0 : errno;
}

int PosixFileSystem::makeFolder(const QString &path)
{
    if (kindOf(path) == Kind::Folder)
        return 0;
    if (QDir().mkpath(path))
        return 0;
    return errno != 0 ? errno : EACCES;
}

QStringList PosixFileSystem::fileNames(const QString &folder) const
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

void PosixFileSystem::syncFolderOf(const QString &path)
{
    const QByteArray dir = native(QFileInfo(path).absolutePath());
    const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace orv
