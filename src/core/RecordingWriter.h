#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

namespace orv {

class FileSystem;

// Appends sample lines to recording files durably: open, append, sync, close, for each
// write. A line that cannot be written waits in memory with the other lines of its file,
// in order; each file waits on its own, so one that cannot be written never holds back
// another. A file ends with a complete line even after a failed write.
class RecordingWriter {
public:
    explicit RecordingWriter(FileSystem &files)
        : m_files(files)
    {
    }

    // Queues the line for its file, then tries every file that has lines waiting.
    void append(const QString &file, const QByteArray &line);
    // Queues the line without writing anything yet.
    void enqueue(const QString &file, const QByteArray &line);
    void retry();

    struct Waiting {
        QString file;
        int lines = 0;
        QString reason; // French, from the last failed attempt
    };
    QList<Waiting> waiting() const;
    int waitingLines() const;

    // What could not be written goes to rescue files, one per recording file, in the first
    // folder of the list that takes them; same header and line format as the file itself.
    struct Rescue {
        QStringList files;
        int lines = 0;  // lines kept in them
        int lost = 0;   // lines no folder could take
        QString reason; // French, when lines are lost
    };
    Rescue rescue(const QStringList &folders, const QDateTime &now);

    // Creates the file, or empties it, with only the header line. 0 or an error number.
    static int createWithHeader(FileSystem &files, const QString &file);

private:
    struct Queue {
        QString file;
        std::deque<QByteArray> lines;
        int error = 0;
    };
    int writeQueue(Queue &queue);
    int writeRescue(const QString &path, const Queue &queue);

    FileSystem &m_files;
    std::vector<Queue> m_queues;
};

// Rescue files the user has not been told about yet are listed in their folder, so the
// next start can say where they are.
void noteRescueFiles(FileSystem &files, const QString &folder, const QStringList &rescued);
QStringList takeRescueNotes(FileSystem &files, const QString &folder);

} // namespace orv
