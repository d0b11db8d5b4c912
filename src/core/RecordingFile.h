#pragma once

#include <QByteArray>
#include <QString>

#include <deque>

namespace orv {

// Appends sample lines to the recording file: open, append, flush to disk, close, for
// every line. A line that cannot be written waits in memory, in order, and goes out
// first at the next write, so the file ends complete once the cause is gone.
class RecordingFile {
public:
    // Queues the line behind any waiting ones and tries to write them all.
    // Returns true when nothing is left waiting.
    bool append(const QString &fileName, const QByteArray &line);
    // Tries again to write the waiting lines, each to the file it was meant for.
    bool flush();

    int pendingCount() const { return static_cast<int>(m_pending.size()); }
    // French description of the last failure; empty after a successful write.
    QString lastError() const { return m_lastError; }

    // Creates (or empties) a file holding only the header line. On failure returns
    // false and fills *error with a French reason.
    static bool createWithHeader(const QString &fileName, QString *error);

    // French reason for an errno value of a failed file operation.
    static QString describeError(int err, const QString &fileName);

private:
    struct Line {
        QString fileName;
        QByteArray bytes;
    };
    // Writes the waiting lines meant for the front line's file; errno or 0.
    int writeFrontGroup();

    std::deque<Line> m_pending;
    QString m_lastError;
};

} // namespace orv
