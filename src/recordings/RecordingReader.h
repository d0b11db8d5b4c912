// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "recordings/RecordingParser.h"
#include "recordings/SampleTable.h"

#include "core/FileSystem.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

namespace orv {

// The disk as the viewer reads it; tests wrap the real one to inject faults. Calls return 0
// or an error number, as FileSystem's do. Opening never blocks and opens only plain files.
class RecordingFiles {
public:
    virtual ~RecordingFiles() = default;
    virtual FileSystem::Kind kindOf(const QString &path) const = 0;
    virtual int open(const QString &path, int &fd) = 0;
    virtual int size(int fd, qint64 &bytes) = 0;
    virtual int readAt(int fd, qint64 offset, qint64 maxBytes, QByteArray &out) = 0;
    virtual void close(int fd) = 0;
};

class PosixRecordingFiles : public RecordingFiles {
public:
    FileSystem::Kind kindOf(const QString &path) const override;
    int open(const QString &path, int &fd) override;
    int size(int fd, qint64 &bytes) override;
    int readAt(int fd, qint64 offset, qint64 maxBytes, QByteArray &out) override;
    void close(int fd) override;

private:
    PosixFileSystem m_fs;
};

// "Impossible de lire « x.csv » : c'est un dossier."
QString readFailureText(const QString &path, const QString &reason);
// "2,1 Go", "350 Mo", "12 ko"
QString byteSizeText(qint64 bytes);

// One recording file, read whole, then followed: each poll reads what was added, or the
// whole file again when it was replaced or cut shorter.
class RecordingReader {
public:
    struct Limits {
        qint64 maxBytes = qint64(256) << 20; // a year of samples every second is 1.1 GB; a file of
                                             // the program holds one 32000-sample recording in 1.1 MB
        qint64 chunk = qint64(4) << 20;
        qint64 sniff = qint64(64) << 10; // no sample nor header in this much: not a recording
    };
    struct Update {
        enum class Kind {
            Unchanged,
            Loaded,     // samples: the whole file (a first read, or the file was replaced)
            Appended,   // samples: the lines added since the last poll
            Failed,     // the first read failed: error says why
            Unreadable, // a later poll failed: what was read stays, error says why
            Cancelled,
        };
        Kind kind = Kind::Unchanged;
        std::shared_ptr<SampleTable> samples;
        ReadNotes notes; // as they stand for the whole file
        QString error;   // French reason, without the file's name
    };
    // Called after every chunk of a read with the bytes read so far and the file's size;
    // false stops the read.
    using Progress = std::function<bool(qint64 done, qint64 total)>;

    RecordingReader(RecordingFiles &files, QString path, Limits limits);
    RecordingReader(RecordingFiles &files, QString path)
        : RecordingReader(files, std::move(path), Limits{})
    {
    }

    const QString &path() const { return m_path; }
    Update load(const Progress &progress = {});
    Update poll(const Progress &progress = {});

private:
    struct Opened;
    Update readFrom(int fd, qint64 size, bool whole, const Progress &progress);
    QString refusal(qint64 size) const;

    RecordingFiles &m_files;
    QString m_path;
    Limits m_limits;
    bool m_loaded = false;
    RecordingParser m_parser;
    qint64 m_consumed = 0; // bytes of whole lines read
    qint64 m_seenSize = -1;
    QByteArray m_fingerprint; // the bytes just before m_consumed, to see a replaced file
    bool m_unreadable = false;
};

} // namespace orv
