// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace orv {

class FileSystem;

// Lines that could not reach their recording file are kept, at the end, in a rescue file of
// a folder of the user's: "secours-<date>_<time>-<name>", with the file's header and lines.
// A torn piece of a line cut off a recording file is kept beside them, "fragment-...".
inline constexpr const char *kRescuePrefix = "secours-";
inline constexpr const char *kFragmentPrefix = "fragment-";

// A new file with these bytes, written, synced and closed, its folder synced; on a failure
// nothing is left at the path (EEXIST: another file has the name). 0 or the errno.
int writeNewFile(FileSystem &files, const QString &path, const QByteArray &bytes);

// Writes `bytes` to a new file "<prefix><stamp>-[<n>-]<name>" in `folder`, durably (write,
// sync, close, folder entry), where name is the last component of `source`. 0 or an error.
int writeKeptFile(FileSystem &files, const QString &folder, const QString &prefix, const QDateTime &now,
                  const QString &source, const QByteArray &bytes, QString &path);

// The files of a folder the user has not been told about yet. Rescue and fragment files
// are found whether or not a note names them, so a note that could not be written never
// hides one; each is told once.
int noteRescueFiles(FileSystem &files, const QString &folder, const QStringList &kept);
QStringList takeRescueNotes(FileSystem &files, const QString &folder);

// The first folder of the list in which a new file can be made now, or why none can.
struct FolderCheck {
    QString folder; // empty when none
    int error = 0;
};
FolderCheck firstWritableFolder(FileSystem &files, const QStringList &folders);

} // namespace orv
