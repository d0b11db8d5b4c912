#include "Application.h"

#include "Logger.h"
#include "MainWindow.h"
#include "settings/SettingsFile.h"
#include "sources/RealSourceFactory.h"
#include "ui/AboutWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QTranslator>

namespace orv {

QStringList defaultRescueFolders()
{
    return {QStandardPaths::writableLocation(QStandardPaths::AppDataLocation), QDir::tempPath()};
}

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

Application::Application(const SettingsLocation &settings)
    : m_sources(std::make_unique<RealSourceFactory>()),
      m_settingsFile(std::make_unique<SettingsFile>(m_files, settings.path, settings.fallback, settings.startFrom))
{
    m_logger = std::make_unique<Logger>(
        LoggerServices{m_clock, m_files, *m_sources, *m_settingsFile, defaultRescueFolders()});
    m_window = std::make_unique<MainWindow>(*m_logger, WindowServices{m_desktop, m_dialog});
    m_window->makeAboutWindow = [this](QWidget *parent) { return new AboutWindow(m_desktop, parent); };
}

Application::~Application() = default;

bool installFrenchTranslations(QTranslator &translator)
{
    if (!translator.load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return QCoreApplication::installTranslator(&translator);
}

} // namespace orv
