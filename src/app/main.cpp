// Entry of the logger: one instance per user, French texts, then the main window.
#include "Application.h"
#include "Logger.h"
#include "MainWindow.h"
#include "SingleInstance.h"
#include "TerminationSignals.h"
#include "settings/SettingsFile.h"
#include "ui/Look.h"
#include "ui/Pictures.h"

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QScreen>
#include <QStandardPaths>
#include <QStyle>
#include <QTranslator>

#include <csignal>

int main(int argc, char **argv)
{
    QCoreApplication::setApplicationName(QStringLiteral("orvalin"));

    // Before any file, device or window: a second instance ends here, silently.
    orv::SingleInstance instance(orv::defaultLockDir());
    if (!instance.acquire())
        return 0;

    // A file size limit must turn into a write error the recorder can handle, not a kill.
    std::signal(SIGXFSZ, SIG_IGN);

    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    orv::installFontSubstitutions();
    QApplication::setWindowIcon(orv::programIcon());
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    QTranslator qtFrench;
    orv::installFrenchTranslations(qtFrench);
    orv::TerminationSignals termination;

    const QString exeDir = QCoreApplication::applicationDirPath();
    const QString userDir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    orv::Application logger(orv::settingsLocation(exeDir, userDir));
    orv::MainWindow &window = logger.window();
    QObject::connect(&window, &orv::MainWindow::programEnded, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    QObject::connect(&termination, &orv::TerminationSignals::received, &window,
                     &orv::MainWindow::endWithoutQuestion);
    logger.logger().startUp();
    window.showStartUp();
    window.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.size(),
                                           window.screen()->availableGeometry()));
    window.show();
    return QApplication::exec();
}
