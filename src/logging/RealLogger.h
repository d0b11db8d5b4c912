// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Clock.h"
#include "core/FileSystem.h"
#include "logging/Logger.h"

#include <memory>

namespace orv {

class SettingsFile;
class SourceFactory;

// Where the settings are read and saved: see resolveSettingsPath.
struct SettingsLocation {
    QString path;      // where saves go
    QString fallback;  // the user's file, when path cannot be written
    QString startFrom; // the portable file to start from while path holds none yet
};
SettingsLocation settingsLocation(const QString &executableDir, const QString &userConfigDir);

// The logger on the real clock, disk and devices, with or without a window.
class RealLogger {
public:
    explicit RealLogger(const SettingsLocation &settings);
    ~RealLogger();
    Logger &logger() { return *m_logger; }

private:
    SystemClock m_clock;
    PosixFileSystem m_files;
    std::unique_ptr<SourceFactory> m_sources;
    std::unique_ptr<SettingsFile> m_settingsFile;
    std::unique_ptr<Logger> m_logger;
};

} // namespace orv
