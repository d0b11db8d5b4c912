#include "RealLogger.h"

#include "settings/SettingsFile.h"
#include "sources/RealSourceFactory.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace orv {

SettingsLocation settingsLocation(const QString &executableDir, const QString &userConfigDir)
{
    const QString portable = QDir(executableDir).filePath(QStringLiteral("orvtr.cfg"));
    SettingsLocation where;
    where.path = resolveSettingsPath(executableDir, userConfigDir);
    where.fallback = QDir(userConfigDir).filePath(QStringLiteral("orvtr.cfg"));
    if (where.path != portable)
        where.startFrom = portable;
    return where;
}

namespace {

// The last resort lies in the shared temporary folder: a folder of this user's own, which
// nobody else may have made or be able to write into (no planted links, no notes of others).
QString privateTempFolder()
{
    const QString path = QDir::tempPath() + QStringLiteral("/orvalin-%1").arg(::getuid());
    const QByteArray name = QFile::encodeName(path);
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST)
        return {};
    struct stat st {};
    if (::lstat(name.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid()
        || (st.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        return {};
    return path;
}

} // namespace

QStringList defaultRescueFolders()
{
    QStringList folders{QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)};
    const QString temp = privateTempFolder();
    if (!temp.isEmpty())
        folders.append(temp);
    return folders;
}

RealLogger::RealLogger(const SettingsLocation &settings)
    : m_sources(std::make_unique<RealSourceFactory>())
    , m_settingsFile(std::make_unique<SettingsFile>(m_files, settings.path, settings.fallback, settings.startFrom))
    , m_logger(std::make_unique<Logger>(
          LoggerServices{m_clock, m_files, *m_sources, *m_settingsFile, defaultRescueFolders()}))
{
}

RealLogger::~RealLogger() = default;

} // namespace orv
