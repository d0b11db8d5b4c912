#include "app/Application.h"

#include "app/MainWindow.h"
#include "app/Publishing.h"
#include "ui/AboutWindow.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>

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
}

Application::~Application()
{
    for (const QPointer<ViewerWindow> &viewer : m_viewers)
        delete viewer.data();
}

void Application::endPublishing()
{
    m_publishing.reset();
}

void Application::publish(const BrokerAddress &broker)
{
    m_publishing = std::make_unique<Publishing>(m_real.logger(), broker, defaultRescueFolders());
    Publisher &publisher = m_publishing->publisher;
    QWidget *light = m_window->controls().led;
    const auto show = [light, &publisher] { light->setToolTip(publisher.summary()); };
    QObject::connect(&publisher, &Publisher::changed, light, show);
    QObject::connect(&publisher, &Publisher::notice, [](const QString &text) {
        std::fprintf(stderr, "orvalin : %s\n", text.toLocal8Bit().constData());
    });
    show();
}

bool installFrenchTranslations(QTranslator &translator)
{
    if (!translator.load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return QCoreApplication::installTranslator(&translator);
}

} // namespace orv
