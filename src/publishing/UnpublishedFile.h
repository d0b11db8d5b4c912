// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "publishing/SampleMessage.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace orv {

class FileSystem;

// Samples the broker never acknowledged, kept beside the rescue files as lines of the
// recording file under its header, one file per run: secours-<date of the first>-non-publiees-mqtt.csv
// in the first folder that takes it, listed there for the next start to tell.
class UnpublishedFile {
public:
    UnpublishedFile(FileSystem &files, QStringList folders)
        : m_files(files)
        , m_folders(std::move(folders))
    {
    }

    struct Kept {
        int lines = 0;  // now in the file
        int lost = 0;   // no folder took them (the recording file has them all the same)
        QString reason; // French, when lines are lost
    };
    Kept keep(const std::vector<SampleMessage> &samples);
    // Empty until something is kept.
    const QString &path() const { return m_path; }

private:
    int append(const QByteArray &lines);
    int create(const QString &folder, const QString &stamp, const QByteArray &lines);

    FileSystem &m_files;
    QStringList m_folders;
    QString m_path;
};

} // namespace orv
