// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/FileSystem.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace orv {

// What the writer knows of one recording file between two attempts. Only the thread that
// writes the file touches it.
struct LineFile {
    QString path;
    // An attempt whose bytes may or may not be on the disk: its write went through but its
    // sync or its close failed. The next attempt writes them again at the same place, so
    // they are on the disk once a sync succeeds, and never twice in the file.
    struct Attempt {
        FileSystem::Status file;
        qint64 offset = 0;
        qsizetype lines = 0; // the first lines of the batch it wrote
        bool withHeader = false;
    };
    std::optional<Attempt> unconfirmed;
    // The file as our last confirmed write left it (size: where our bytes end); a file that
    // differs was changed by someone else, and its end is looked at before appending.
    std::optional<FileSystem::Status> known;
};

// A piece of a line left at the end of a file (a power cut in the middle of a line). It is
// not a measurement: it is cut off so new lines start on a line of their own, and its bytes
// are kept elsewhere when possible.
struct Fragment {
    QByteArray bytes;
    QString keptIn;   // the file that keeps the bytes; empty when none could
    bool cut = false; // false: too long to drop unkept, a line end was added after it
};
// Keeps the bytes of a fragment of `file` somewhere and says where; empty when nothing could.
using FragmentKeeper = std::function<QString(const QString &file, const QByteArray &bytes)>;

// Appends `batch` (whole lines) to the file, writing the header first into a file it
// creates. Returns 0 only when the write, the sync and the close all succeeded; the caller
// keeps the lines until then. A torn end found before appending is reported in `fragment`.
int appendLines(FileSystem &files, LineFile &file, const std::vector<QByteArray> &batch, const FragmentKeeper &keep,
                std::optional<Fragment> &fragment);

// Creates the file, or empties it, with only the header line, durably.
int createWithHeader(FileSystem &files, LineFile &file);

} // namespace orv
