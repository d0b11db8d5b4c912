// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/RescueFiles.h"

#include "core/FileNames.h"
#include "core/FileSystem.h"

#include <QCoreApplication>
#include <QDir>

#include <algorithm>
#include <cerrno>

namespace orv {

namespace {

const QString kNoteName = QStringLiteral("fichiers-de-secours.txt");
const QString kToldName = QStringLiteral("fichiers-de-secours-annonces.txt");
constexpr qint64 kLongestList = 1024 * 1024;

// "<prefix><stamp>-[<n>-]<name>", cut to what a folder entry may hold (255 bytes) so that a
// long original name cannot stop its own rescue; the extension is kept.
QString keptName(const QString &prefix, const QString &stamp, int n, const QString &source)
{
    QString name = lastPathComponent(source);
    if (name.isEmpty())
        name = QStringLiteral("enregistrement.csv");
    const QString lead =
        n == 1 ? QStringLiteral("%1%2-").arg(prefix, stamp) : QStringLiteral("%1%2-%3-").arg(prefix, stamp).arg(n);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    QString stem = dot > 0 ? name.left(dot) : name;
    QString suffix = dot > 0 ? name.mid(dot) : QString();
    constexpr qsizetype kNameMax = 255;
    while (encodeFileName(lead + stem + suffix).size() > kNameMax) {
        QString &cut = stem.isEmpty() ? suffix : stem;
        cut.chop(cut.size() >= 2 && cut.back().isLowSurrogate() ? 2 : 1);
    }
    return lead + stem + suffix;
}

int appendDurably(FileSystem &files, const QString &path, const QByteArray &bytes)
{
    int fd = -1;
    int error = files.open(path, FileSystem::Open::AppendExisting, fd);
    const bool created = error == ENOENT;
    if (created)
        error = files.open(path, FileSystem::Open::CreateNew, fd);
    if (error != 0)
        return error;
    error = syncAndClose(files, fd, files.write(fd, bytes));
    if (created)
        files.syncFolderOf(path);
    return error;
}

// The lines of a small list file; false when it cannot be read.
bool readList(FileSystem &files, const QString &path, QStringList &lines)
{
    int fd = -1;
    if (files.open(path, FileSystem::Open::Read, fd) != 0)
        return false;
    QByteArray bytes;
    const int error = files.read(fd, kLongestList, bytes);
    files.close(fd);
    if (error != 0)
        return false;
    for (const QByteArray &line : bytes.split('\n'))
        if (!line.isEmpty())
            lines.append(decodeFileName(line));
    return true;
}

QByteArray listBytes(const QStringList &paths)
{
    QByteArray bytes;
    for (const QString &path : paths)
        bytes += encodeFileName(path) + '\n';
    return bytes;
}

} // namespace

int writeNewFile(FileSystem &files, const QString &path, const QByteArray &bytes)
{
    int fd = -1;
    int error = files.open(path, FileSystem::Open::CreateNew, fd);
    if (error != 0)
        return error;
    error = syncAndClose(files, fd, files.write(fd, bytes));
    if (error != 0) {
        files.remove(path);
        return error;
    }
    files.syncFolderOf(path);
    return 0;
}

int writeKeptFile(FileSystem &files, const QString &folder, const QString &prefix, const QDateTime &now,
                  const QString &source, const QByteArray &bytes, QString &path)
{
    int error = files.makeFolder(folder);
    const QString stamp = now.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"));
    // Two rescues in one second, or of two files of one name, each get a file of their own.
    for (int n = 1; error == 0 && n <= 99; ++n) {
        path = QDir(folder).filePath(keptName(prefix, stamp, n, source));
        error = writeNewFile(files, path, bytes);
        if (error != EEXIST)
            break;
        if (n < 99)
            error = 0;
    }
    if (error != 0)
        path.clear();
    return error;
}

int noteRescueFiles(FileSystem &files, const QString &folder, const QStringList &kept)
{
    return appendDurably(files, QDir(folder).filePath(kNoteName), listBytes(kept));
}

QStringList takeRescueNotes(FileSystem &files, const QString &folder)
{
    const QDir dir(folder);
    QStringList noted;
    const bool noteRead = readList(files, dir.filePath(kNoteName), noted);
    QStringList candidates = noted;
    for (const QString &name : files.fileNames(folder))
        if (name.startsWith(QLatin1String(kRescuePrefix)) || name.startsWith(QLatin1String(kFragmentPrefix)))
            candidates.append(dir.filePath(name));
    QStringList told;
    readList(files, dir.filePath(kToldName), told);

    QStringList fresh;
    for (const QString &path : std::as_const(candidates))
        if (!told.contains(path) && !fresh.contains(path) && files.kindOf(path) == FileSystem::Kind::Regular)
            fresh.append(path);
    std::sort(fresh.begin(), fresh.end());
    const bool remembered = fresh.isEmpty() || appendDurably(files, dir.filePath(kToldName), listBytes(fresh)) == 0;
    // A note is removed only once read whole and what it named is remembered as told.
    if (noteRead && !noted.isEmpty() && remembered)
        files.remove(dir.filePath(kNoteName));
    return fresh;
}

FolderCheck firstWritableFolder(FileSystem &files, const QStringList &folders)
{
    FolderCheck check{QString(), ENOENT};
    for (const QString &folder : folders) {
        check.error = files.makeFolder(folder);
        if (check.error != 0)
            continue;
        const QString probe =
            QDir(folder).filePath(QStringLiteral(".essai-%1").arg(QCoreApplication::applicationPid()));
        int fd = -1;
        check.error = files.open(probe, FileSystem::Open::CreateNew, fd);
        if (check.error == EEXIST) // left by a run that was killed
            check.error = files.remove(probe) == 0 ? files.open(probe, FileSystem::Open::CreateNew, fd) : EEXIST;
        if (check.error != 0)
            continue;
        // A full disk takes a new entry but not a byte: try one.
        check.error = files.write(fd, QByteArrayLiteral("\n"));
        files.close(fd);
        files.remove(probe);
        if (check.error == 0) {
            check.folder = folder;
            return check;
        }
    }
    return check;
}

} // namespace orv
