#include "Application.h"

#include "Orvalin.h"
#include "ui/About.h"

namespace orv {

Application::Application(const QString &configPath)
    : m_config(m_state, configPath), m_sources(makeRealSources(m_state))
{
    m_window = std::make_unique<Orvalin>(m_state, m_config,
                                         Services{m_clock, m_desktop, m_dialog, *m_sources});
    m_window->makeAboutWindow = [this](QWidget *parent) { return new About(m_desktop, parent); };
}

Application::~Application() = default;

} // namespace orv

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace orv {

bool installFrenchTranslations(QTranslator &translator)
{
    if (!translator.load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return QCoreApplication::installTranslator(&translator);
}

} // namespace orv
