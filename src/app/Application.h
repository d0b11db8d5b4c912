// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "logging/RealLogger.h"
#include "ui/Desktop.h"
#include "viewer/ViewerWindow.h"

#include <QPointer>

#include <memory>
#include <vector>

class QTranslator;

namespace orv {

class MainWindow;

// The program with its window: the desktop around the real logger.
class Application {
public:
    explicit Application(const SettingsLocation &settings);
    ~Application();

    Logger &logger() { return m_real.logger(); }
    MainWindow &window() { return *m_window; }

private:
    RealLogger m_real;
    QtDesktop m_desktop;
    QtSaveDialog m_dialog;
    QtViewerDialogs m_viewerDialogs;
    std::shared_ptr<RecordingFiles> m_recordingFiles = std::make_shared<PosixRecordingFiles>();
    std::vector<QPointer<ViewerWindow>> m_viewers; // closed with the program
    std::unique_ptr<MainWindow> m_window;
};

// Qt's own texts (question box buttons, file dialog) in French, whatever the system language.
bool installFrenchTranslations(QTranslator &translator);

} // namespace orv
