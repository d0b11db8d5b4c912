// SPDX-License-Identifier: GPL-3.0-or-later
#include "publishing/UnpublishedFile.h"

#include "core/FileSystem.h"
#include "core/RescueFiles.h"
#include "core/Texts.h"

#include <QDir>

#include <cerrno>

namespace orv {

namespace {

// yyyy-MM-dd_HH-mm-ss from the sample's MM-DD-YYYY and HH:MM:SS, as rescue files are named.
QString stampOf(const Sample &sample)
{
    const QString date = sample.dateText();
    const QString time = sample.timeText();
    return QStringLiteral("%1-%2-%3_%4")
        .arg(date.mid(6, 4), date.left(2), date.mid(3, 2), QString(time).replace(u':', u'-'));
}

} // namespace

UnpublishedFile::Kept UnpublishedFile::keep(const std::vector<SampleMessage> &samples)
{
    Kept kept;
    if (samples.empty())
        return kept;
    QByteArray lines;
    for (const SampleMessage &s : samples)
        lines += recordingLine(s.number, s.sample);
    int error = m_path.isEmpty() ? ENOENT : append(lines);
    // A file that cannot take more is left as it is; the next folder that takes a new one gets the rest.
    for (qsizetype i = 0; error != 0 && i < m_folders.size(); ++i)
        error = create(m_folders[i], stampOf(samples.front().sample), lines);
    if (error == 0) {
        kept.lines = static_cast<int>(samples.size());
    } else {
        kept.lost = static_cast<int>(samples.size());
        kept.reason = fileErrorReason(error);
    }
    return kept;
}

int UnpublishedFile::append(const QByteArray &lines)
{
    int fd = -1;
    int error = m_files.open(m_path, FileSystem::Open::AppendExisting, fd);
    if (error != 0)
        return error;
    qint64 good = -1;
    m_files.size(fd, good);
    error = m_files.write(fd, lines);
    if (error == 0)
        error = m_files.sync(fd);
    else if (good >= 0)
        m_files.truncate(fd, good); // the file keeps ending with a complete line
    const int closeError = m_files.close(fd);
    return error != 0 ? error : closeError;
}

int UnpublishedFile::create(const QString &folder, const QString &stamp, const QByteArray &lines)
{
    int error = m_files.makeFolder(folder);
    for (int n = 1; error == 0 && n <= 99; ++n) {
        const QString name = n == 1 ? QStringLiteral("secours-%1-non-publiees-mqtt.csv").arg(stamp)
                                    : QStringLiteral("secours-%1-%2-non-publiees-mqtt.csv").arg(stamp).arg(n);
        const QString path = QDir(folder).filePath(name);
        error = writeNewFile(m_files, path, recordingHeader() + lines);
        if (error == EEXIST) {
            error = 0; // another run's: the next number
            continue;
        }
        if (error != 0)
            break;
        m_path = path;
        noteRescueFiles(m_files, folder, {path});
        return 0;
    }
    return error != 0 ? error : EEXIST;
}

} // namespace orv
