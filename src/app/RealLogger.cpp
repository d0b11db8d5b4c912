#include "RealLogger.h"

#include "settings/SettingsFile.h"
#include "sources/RealSourceFactory.h"

#include <QDir>
#include <QStandardPaths>

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

QStringList defaultRescueFolders()
{
    return {QStandardPaths::writableLocation(QStandardPaths::AppDataLocation), QDir::tempPath()};
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
