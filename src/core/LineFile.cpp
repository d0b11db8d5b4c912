// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/LineFile.h"

#include "core/Texts.h"

#include <algorithm>
#include <cerrno>

namespace orv {

namespace {

// A torn line of ours is a few dozen bytes; a file whose last line end lies further back
// was not written by a recorder, and only a line end is added after it.
constexpr qint64 kLongestFragment = 4096;
// A fragment no folder could keep is dropped only when its bytes fit in the message.
constexpr qsizetype kLongestUnkeptFragment = 200;
// Enough of a line to tell ours from any other.
constexpr qint64 kCompared = 128;

QByteArray intendedBytes(const std::vector<QByteArray> &batch, qsizetype lines, bool withHeader)
{
    QByteArray bytes = withHeader ? recordingHeader() : QByteArray();
    for (qsizetype i = 0; i < lines && i < static_cast<qsizetype>(batch.size()); ++i)
        bytes += batch[static_cast<std::size_t>(i)];
    return bytes;
}

// Whether the file still holds the start of an unconfirmed attempt, and nothing else after
// it: the same file, ending within the attempt's bytes, with the same last bytes.
bool holdsPartOf(FileSystem &files, int fd, const FileSystem::Status &now, const LineFile::Attempt &attempt,
                 const std::vector<QByteArray> &batch)
{
    if (!attempt.file.sameFileAs(now))
        return false;
    const QByteArray intended = intendedBytes(batch, attempt.lines, attempt.withHeader);
    const qint64 held = now.size - attempt.offset;
    if (held < 0 || held > intended.size())
        return false;
    if (held == 0)
        return true;
    const qint64 n = std::min(held, kCompared);
    QByteArray tail;
    if (files.readAt(fd, now.size - n, n, tail) != 0)
        return false;
    return tail == intended.mid(held - n, n);
}

// Looks at the end of a file someone else may have left torn. Sets where the new bytes go.
int mendTornEnd(FileSystem &files, int fd, const QString &path, const FileSystem::Status &now,
                const FragmentKeeper &keep, std::optional<Fragment> &fragment, qint64 &offset, bool &withHeader)
{
    const qint64 n = std::min(now.size, kLongestFragment + 1);
    QByteArray tail;
    int error = files.readAt(fd, now.size - n, n, tail);
    if (error != 0)
        return error;
    if (tail.endsWith('\n'))
        return 0;
    const qsizetype lineEnd = tail.lastIndexOf('\n');
    const bool whole = lineEnd >= 0 || n == now.size; // the fragment starts within what was read
    Fragment found;
    found.bytes = tail.mid(lineEnd + 1);
    if (whole)
        found.keptIn = keep(path, found.bytes);
    if (whole && (!found.keptIn.isEmpty() || found.bytes.size() <= kLongestUnkeptFragment)) {
        const qint64 start = now.size - found.bytes.size();
        error = files.truncate(fd, start);
        if (error != 0)
            return error;
        found.cut = true;
        offset = start;
        withHeader = start == 0; // nothing but a piece: the file starts again
    } else {
        error = files.writeAt(fd, now.size, QByteArrayLiteral("\r\n"));
        if (error != 0)
            return error;
        offset = now.size + 2;
    }
    fragment = std::move(found);
    return 0;
}

} // namespace

int appendLines(FileSystem &files, LineFile &file, const std::vector<QByteArray> &batch, const FragmentKeeper &keep,
                std::optional<Fragment> &fragment)
{
    int fd = -1;
    bool created = false;
    int error = files.open(file.path, FileSystem::Open::Update, fd);
    if (error == ENOENT) {
        error = files.open(file.path, FileSystem::Open::CreateNew, fd);
        created = error == 0;
        if (error == EEXIST) // made by someone else meanwhile
            error = files.open(file.path, FileSystem::Open::Update, fd);
    }
    if (error != 0)
        return error;
    FileSystem::Status now;
    error = files.status(fd, now);

    qint64 offset = now.size;
    bool withHeader = created;
    bool resuming = false;
    if (error == 0 && !created) {
        resuming = file.unconfirmed && holdsPartOf(files, fd, now, *file.unconfirmed, batch);
        if (resuming) {
            offset = file.unconfirmed->offset;
            withHeader = file.unconfirmed->withHeader;
        } else if (now.size > 0 && !(file.known && file.known->sameFileAs(now) && file.known->size == now.size)) {
            error = mendTornEnd(files, fd, file.path, now, keep, fragment, offset, withHeader);
        }
    }
    const QByteArray bytes = intendedBytes(batch, static_cast<qsizetype>(batch.size()), withHeader);
    bool written = false;
    if (error == 0) {
        error = files.writeAt(fd, offset, bytes);
        written = error == 0;
        if (error != 0)
            files.truncate(fd, offset); // the file ends with a whole line
    }
    // Written is not yet on the disk: only a sync and a close that succeed say so.
    error = syncAndClose(files, fd, error);
    if (created)
        files.syncFolderOf(file.path);

    if (error != 0) {
        file.known.reset();
        if (written)
            file.unconfirmed = LineFile::Attempt{now, offset, static_cast<qsizetype>(batch.size()), withHeader};
        else if (!resuming) // the file is as it was before this attempt
            file.unconfirmed.reset();
        // No file with neither header nor line is left behind for a later start.
        if (created && !written)
            files.remove(file.path);
        return error;
    }
    file.unconfirmed.reset();
    now.size = offset + bytes.size();
    file.known = now;
    return 0;
}

int createWithHeader(FileSystem &files, LineFile &file)
{
    file.unconfirmed.reset();
    file.known.reset();
    int fd = -1;
    int error = files.open(file.path, FileSystem::Open::CreateOrEmpty, fd);
    if (error != 0)
        return error;
    FileSystem::Status now;
    error = files.status(fd, now);
    const QByteArray header = recordingHeader();
    if (error == 0)
        error = files.writeAt(fd, 0, header);
    error = syncAndClose(files, fd, error);
    files.syncFolderOf(file.path);
    if (error == 0) {
        now.size = header.size();
        file.known = now;
    }
    return error;
}

} // namespace orv
