#pragma once

#include "core/Clock.h"
#include "core/FileSystem.h"
#include "ui/Desktop.h"

#include <memory>

class QTranslator;

namespace orv {

class Logger;
class MainWindow;
class SettingsFile;
class SourceFactory;

// Where the settings are read and saved: see resolveSettingsPath.
struct SettingsLocation {
    QString path;      // where saves go
    QString fallback;  // the user's file, when path cannot be written
    QString startFrom; // the portable file to start from while path holds none yet
};
SettingsLocation settingsLocation(const QString &executableDir, const QString &userConfigDir);

// Folders where lines still waiting at the end are kept: the user's data folder, then the
// temporary folder.
QStringList defaultRescueFolders();

// The program with its window: the real clock, disk, devices and desktop around the logger.
class Application {
public:
    explicit Application(const SettingsLocation &settings);
    ~Application();

    Logger &logger() { return *m_logger; }
    MainWindow &window() { return *m_window; }

private:
    SystemClock m_clock;
    PosixFileSystem m_files;
    QtDesktop m_desktop;
    QtSaveDialog m_dialog;
    std::unique_ptr<SourceFactory> m_sources;
    std::unique_ptr<SettingsFile> m_settingsFile;
    std::unique_ptr<Logger> m_logger;
    std::unique_ptr<MainWindow> m_window;
};

// Qt's own texts (question box buttons, file dialog) in French, whatever the system language.
bool installFrenchTranslations(QTranslator &translator);

} // namespace orv
