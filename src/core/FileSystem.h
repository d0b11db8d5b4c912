// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace orv {

// An error of our own beside the system's errno values: the name designates a pipe, a
// device or anything else that is not a plain file, which the program never writes to.
inline constexpr int kNotARegularFile = 0x10000;
// A recording file cannot be emptied while lines of an earlier recording still wait for it.
inline constexpr int kLinesStillWaiting = 0x10001;

// The reason for a failed file operation, in French, for the user ("le disque est plein").
// Every error the program can meet has its own words; others get a generic sentence.
QString fileErrorReason(int error);

// The disk as the program uses it; tests wrap the real one to inject a full disk or a slow
// sync. Every call returns 0 or an error number (errno, or kNotARegularFile). Opening never
// blocks and never takes a controlling terminal; only regular files are opened.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    enum class Kind { Missing, Regular, Folder, Other };
    // What the name designates now. Missing also when a folder on the way is missing.
    virtual Kind kindOf(const QString &path) const = 0;

    enum class Open {
        Read,          // existing file, reading
        WriteExisting, // existing file, writing from the start, nothing cut
        Update,        // existing file, reading and writing, nothing cut
        AppendExisting,
        CreateNew,     // fails with EEXIST when the name exists
        CreateOrEmpty, // creates, or empties an existing file
    };
    virtual int open(const QString &path, Open mode, int &fd) = 0;
    // Writes all of data (at the end for an appending file), or returns why not.
    virtual int write(int fd, QByteArrayView data) = 0;
    virtual int writeAt(int fd, qint64 offset, QByteArrayView data) = 0;
    virtual int read(int fd, qint64 maxBytes, QByteArray &out) = 0;
    virtual int readAt(int fd, qint64 offset, qint64 maxBytes, QByteArray &out) = 0;
    virtual int size(int fd, qint64 &bytes) = 0;
    // Which file an open descriptor designates and how long it is: a file replaced under
    // the same name has another identity.
    struct Status {
        quint64 device = 0;
        quint64 inode = 0;
        qint64 size = 0;
        bool sameFileAs(const Status &other) const { return device == other.device && inode == other.inode; }
    };
    virtual int status(int fd, Status &out) = 0;
    virtual int truncate(int fd, qint64 bytes) = 0;
    // Data on the disk: a power cut after this loses nothing written before.
    virtual int sync(int fd) = 0;
    virtual int close(int fd) = 0;

    virtual int rename(const QString &from, const QString &to) = 0;
    virtual int remove(const QString &path) = 0;
    virtual int makeFolder(const QString &path) = 0; // with its parents; 0 if it exists
    // Names of the plain files in a folder; empty when it cannot be read.
    virtual QStringList fileNames(const QString &folder) const = 0;
    // Makes a new or renamed entry in the folder of path durable.
    virtual void syncFolderOf(const QString &path) = 0;
};

// The end of a durable write on fd: synced when `error` (the write's outcome) is 0, closed in
// any case (a network share may report a lost write only at the close). The first error.
int syncAndClose(FileSystem &files, int fd, int error);

// The real disk, through the POSIX calls.
class PosixFileSystem : public FileSystem {
public:
    Kind kindOf(const QString &path) const override;
    int open(const QString &path, Open mode, int &fd) override;
    int write(int fd, QByteArrayView data) override;
    int writeAt(int fd, qint64 offset, QByteArrayView data) override;
    int read(int fd, qint64 maxBytes, QByteArray &out) override;
    int readAt(int fd, qint64 offset, qint64 maxBytes, QByteArray &out) override;
    int size(int fd, qint64 &bytes) override;
    int status(int fd, Status &out) override;
    int truncate(int fd, qint64 bytes) override;
    int sync(int fd) override;
    int close(int fd) override;
    int rename(const QString &from, const QString &to) override;
    int remove(const QString &path) override;
    int makeFolder(const QString &path) override;
    QStringList fileNames(const QString &folder) const override;
    void syncFolderOf(const QString &path) override;
};

} // namespace orv
