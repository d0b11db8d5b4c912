// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"

#include "app/Headless.h"
#include "ui/AboutWindow.h"
#include "ui/MainWindow.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <unistd.h>

namespace orv {

Application::Application(const SettingsLocation &settings)
    : m_real(settings)
{
    m_window = std::make_unique<MainWindow>(m_real.logger(), WindowServices{m_desktop, m_dialog});
    m_window->makeAboutWindow = [this](QWidget *parent) { return new AboutWindow(m_desktop, parent); };
    // Top-level windows of their own, so the main window's keys and menus stay its own.
    m_window->openRecording = [this](QWidget *parent) {
        for (const QString &path : m_viewerDialogs.openNames(parent)) {
            auto *viewer = new ViewerWindow(path, {m_viewerDialogs, m_recordingFiles});
            viewer->setAttribute(Qt::WA_DeleteOnClose);
            viewer->show();
            m_viewers.emplace_back(viewer);
        }
    };
    // What publishing says goes to standard error; the window's light shows how it goes.
    QObject::connect(&m_real.logger(), &Logger::publishingNotice,
                     [](const QString &text) { sayWithoutWaiting(STDERR_FILENO, text); });
}

Application::~Application()
{
    for (const QPointer<ViewerWindow> &viewer : m_viewers)
        delete viewer.data();
}

bool installFrenchTranslations(QTranslator &translator)
{
    if (!translator.load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return QCoreApplication::installTranslator(&translator);
}

} // namespace orv
