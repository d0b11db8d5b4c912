// SPDX-License-Identifier: GPL-3.0-or-later
#include "logging/RealLogger.h"

#include "logging/PrivateFolder.h"
#include "settings/SettingsFile.h"
#include "sources/RealSourceFactory.h"

#include <QDir>
#include <QStandardPaths>

#include <unistd.h>

namespace orv {

namespace {

// Where lines still waiting at the end, and samples never published, are kept: the user's
// data folder, then the temporary folder.
QStringList defaultRescueFolders()
{
    QStringList folders{QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)};
    // The last resort lies in the shared temporary folder: a folder of the user's own.
    const QString temp = privateTempFolder(QDir::tempPath(), ::getuid()).path;
    if (!temp.isEmpty())
        folders.append(temp);
    return folders;
}

} // namespace

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

RealLogger::RealLogger(const SettingsLocation &settings)
    : m_sources(std::make_unique<RealSourceFactory>())
    , m_settingsFile(std::make_unique<SettingsFile>(m_files, settings.path, settings.fallback, settings.startFrom))
    , m_logger(std::make_unique<Logger>(
          LoggerServices{m_clock, m_files, *m_sources, *m_settingsFile, defaultRescueFolders()}))
{
}

RealLogger::~RealLogger() = default;

} // namespace orv
