#include "RecordingWriter.h"

#include "FileSystem.h"
#include "Texts.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>

namespace orv {

namespace {

const QString kNotesName = QStringLiteral("fichiers-de-secours.txt");

} // namespace

void RecordingWriter::append(const QString &file, const QByteArray &line)
{
    enqueue(file, line);
    retry();
}

void RecordingWriter::enqueue(const QString &file, const QByteArray &line)
{
    auto it = std::find_if(m_queues.begin(), m_queues.end(), [&](const Queue &q) { return q.file == file; });
    if (it == m_queues.end()) {
        m_queues.push_back({file, {}, 0});
        it = std::prev(m_queues.end());
    }
    it->lines.push_back(line);
}

void RecordingWriter::retry()
{
    for (Queue &queue : m_queues)
        queue.error = writeQueue(queue);
    std::erase_if(m_queues, [](const Queue &q) { return q.lines.empty(); });
}

int RecordingWriter::writeQueue(Queue &queue)
{
    int fd = -1;
    bool created = false;
    int error = m_files.open(queue.file, FileSystem::Open::AppendExisting, fd);
    if (error == ENOENT) {
        error = m_files.open(queue.file, FileSystem::Open::CreateNew, fd);
        created = error == 0;
        if (error == EEXIST) // made by someone else meanwhile
            error = m_files.open(queue.file, FileSystem::Open::AppendExisting, fd);
    }
    if (error != 0)
        return error;

    if (created) {
        error = m_files.write(fd, recordingHeader());
        if (error != 0) {
            // No headerless file is left behind: the next attempt must find no file.
            m_files.close(fd);
            m_files.remove(queue.file);
            return error;
        }
    }
    while (!queue.lines.empty()) {
        qint64 good = -1;
        m_files.size(fd, good);
        error = m_files.write(fd, queue.lines.front());
        if (error != 0) {
            // A torn line is cut back, so the file always ends with a complete one.
            if (good >= 0)
                m_files.truncate(fd, good);
            break;
        }
        queue.lines.pop_front();
    }
    // Durable before the tick returns: a power cut loses at most the line being written.
    const int syncError = m_files.sync(fd);
    const int closeError = m_files.close(fd);
    if (created)
        m_files.syncFolderOf(queue.file);
    if (error == 0)
        error = syncError != 0 ? syncError : closeError;
    return error;
}

QList<RecordingWriter::Waiting> RecordingWriter::waiting() const
{
    QList<Waiting> out;
    for (const Queue &q : m_queues)
        out.append({q.file, static_cast<int>(q.lines.size()), fileErrorReason(q.error)});
    return out;
}

int RecordingWriter::waitingLines() const
{
    int n = 0;
    for (const Queue &q : m_queues)
        n += static_cast<int>(q.lines.size());
    return n;
}

namespace {

// secours-<stamp>-[<n>-]<name>, cut to what a folder entry may hold (255 bytes) so that a
// long original name cannot stop its own rescue; the extension is kept.
QString rescueName(const QString &stamp, int n, const QString &name)
{
    const QString prefix =
        n == 1 ? QStringLiteral("secours-%1-").arg(stamp) : QStringLiteral("secours-%1-%2-").arg(stamp).arg(n);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    QString stem = dot > 0 ? name.left(dot) : name;
    QString suffix = dot > 0 ? name.mid(dot) : QString();
    constexpr qsizetype kNameMax = 255;
    while ((prefix + stem + suffix).toUtf8().size() > kNameMax) {
        QString &cut = stem.isEmpty() ? suffix : stem;
        cut.chop(cut.size() >= 2 && cut.back().isLowSurrogate() ? 2 : 1);
    }
    return prefix + stem + suffix;
}

} // namespace

RecordingWriter::Rescue RecordingWriter::rescue(const QStringList &folders, const QDateTime &now)
{
    Rescue result;
    const QString stamp = now.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"));
    for (Queue &queue : m_queues) {
        const QString name = QFileInfo(queue.file).fileName();
        int error = ENOENT;
        for (const QString &folder : folders) {
            error = m_files.makeFolder(folder);
            QString path;
            // Two rescues in one second (or two files of one name) each get a file of their own.
            for (int n = 1; error == 0 && n <= 99; ++n) {
                path = QDir(folder).filePath(rescueName(stamp, n, name));
                error = writeRescue(path, queue);
                if (error == EEXIST && n < 99)
                    error = 0; // taken: try the next number
                else
                    break;
            }
            if (error == 0) {
                result.files.append(path);
                result.lines += static_cast<int>(queue.lines.size());
                noteRescueFiles(m_files, folder, {path});
                queue.lines.clear();
                break;
            }
        }
        if (!queue.lines.empty()) {
            result.lost += static_cast<int>(queue.lines.size());
            result.reason = fileErrorReason(error);
        }
    }
    std::erase_if(m_queues, [](const Queue &q) { return q.lines.empty(); });
    return result;
}

int RecordingWriter::writeRescue(const QString &path, const Queue &queue)
{
    int fd = -1;
    int error = m_files.open(path, FileSystem::Open::CreateNew, fd);
    if (error != 0)
        return error;
    QByteArray bytes = recordingHeader();
    for (const QByteArray &line : queue.lines)
        bytes += line;
    error = m_files.write(fd, bytes);
    if (error == 0)
        error = m_files.sync(fd);
    const int closeError = m_files.close(fd);
    if (error == 0)
        error = closeError;
    if (error != 0) {
        m_files.remove(path);
        return error;
    }
    m_files.syncFolderOf(path);
    return 0;
}

int RecordingWriter::createWithHeader(FileSystem &files, const QString &file)
{
    int fd = -1;
    int error = files.open(file, FileSystem::Open::CreateOrEmpty, fd);
    if (error != 0)
        return error;
    error = files.write(fd, recordingHeader());
    if (error == 0)
        error = files.sync(fd);
    const int closeError = files.close(fd);
    files.syncFolderOf(file);
    return error != 0 ? error : closeError;
}

void noteRescueFiles(FileSystem &files, const QString &folder, const QStringList &rescued)
{
    const QString notes = QDir(folder).filePath(kNotesName);
    int fd = -1;
    int error = files.open(notes, FileSystem::Open::AppendExisting, fd);
    if (error == ENOENT)
        error = files.open(notes, FileSystem::Open::CreateNew, fd);
    if (error != 0)
        return;
    for (const QString &path : rescued)
        files.write(fd, path.toUtf8() + '\n');
    files.sync(fd);
    files.close(fd);
}

QStringList takeRescueNotes(FileSystem &files, const QString &folder)
{
    const QString notes = QDir(folder).filePath(kNotesName);
    int fd = -1;
    if (files.open(notes, FileSystem::Open::Read, fd) != 0)
        return {};
    QByteArray bytes;
    files.read(fd, 64 * 1024, bytes);
    files.close(fd);
    files.remove(notes);
    QStringList paths;
    for (const QByteArray &line : bytes.split('\n'))
        if (!line.isEmpty())
            paths.append(QString::fromUtf8(line));
    return paths;
}

} // namespace orv
