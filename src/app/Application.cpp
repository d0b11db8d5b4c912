#include "Application.h"

#include "MainWindow.h"
#include "ui/AboutWindow.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace orv {

Application::Application(const SettingsLocation &settings)
    : m_real(settings)
{
    m_window = std::make_unique<MainWindow>(m_real.logger(), WindowServices{m_desktop, m_dialog});
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
