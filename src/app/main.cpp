// Entry of the logger: the command line, one instance per user, then the window or, for
// unattended recording, no window at all.
#include "Application.h"
#include "CommandLine.h"
#include "Headless.h"
#include "MainWindow.h"
#include "SingleInstance.h"
#include "TerminationSignals.h"
#include "ui/Look.h"
#include "ui/Pictures.h"
#include "viewer/RecordingExport.h"
#include "viewer/ViewerWindow.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLocale>
#include <QScreen>
#include <QStandardPaths>
#include <QStyle>
#include <QTimer>
#include <QTranslator>

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

orv::SettingsLocation settingsHere()
{
    return orv::settingsLocation(QCoreApplication::applicationDirPath(),
                                 QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
}

int runHeadless(int argc, char **argv, const orv::CommandLine &command)
{
    QCoreApplication app(argc, argv);
    orv::TerminationSignals termination;
    orv::RealLogger real(settingsHere());
    orv::Headless headless(real.logger(), STDOUT_FILENO, STDERR_FILENO);
    real.logger().startUp(command.overrides);
    if (headless.start() != orv::Headless::AllWritten)
        return orv::Headless::Refused;
    QObject::connect(&termination, &orv::TerminationSignals::received, &headless, &orv::Headless::finish);
    QObject::connect(&headless, &orv::Headless::finished, &app, &QCoreApplication::exit, Qt::QueuedConnection);
    return QCoreApplication::exec();
}

// The look and the language of every window of the program.
void dressWindows(QTranslator &qtFrench)
{
    QApplication::setStyle(QStringLiteral("Fusion"));
    orv::installFontSubstitutions();
    QApplication::setWindowIcon(orv::programIcon());
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    orv::installFrenchTranslations(qtFrench);
}

// Viewers only read files: no lock, no source, so they run beside a recording.
int runViewers(int argc, char **argv, const orv::CommandLine &command)
{
    QApplication app(argc, argv);
    QTranslator qtFrench;
    dressWindows(qtFrench);
    orv::QtViewerDialogs dialogs;
    orv::ViewerWindow::open(command.files, {dialogs, std::make_shared<orv::PosixRecordingFiles>()});
    return QApplication::exec();
}

// No window, and no display needed: pictures are drawn on the offscreen platform.
int runExport(int argc, char **argv, const orv::CommandLine &command)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Standard error carries the export's own French messages, not Qt's notes on the session.
    qputenv("QT_LOGGING_RULES", "default.warning=false;qt.*.warning=false");
    QGuiApplication app(argc, argv);
    orv::PosixRecordingFiles files;
    const orv::ExportOutcome outcome =
        orv::exportRecording(files, command.exportFile, command.exportOutput, command.exportSize);
    for (const QString &message : outcome.messages)
        std::fprintf(stderr, "orvalin : %s\n", message.toLocal8Bit().constData());
    return outcome.failed ? orv::kExportFailed : 0;
}

int runWindow(int argc, char **argv, const orv::CommandLine &command)
{
    QApplication app(argc, argv);
    QTranslator qtFrench;
    dressWindows(qtFrench);
    orv::TerminationSignals termination;

    orv::Application program(settingsHere());
    orv::MainWindow &window = program.window();
    QObject::connect(&window, &orv::MainWindow::programEnded, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    QObject::connect(&termination, &orv::TerminationSignals::received, &window, &orv::MainWindow::endWithoutQuestion);
    program.logger().startUp(command.overrides);
    window.showStartUp();
    window.setGeometry(
        QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.size(), window.screen()->availableGeometry()));
    window.show();
    // Once the window is up, exactly as a press of the record button.
    if (command.record)
        QTimer::singleShot(0, &window, &orv::MainWindow::onRecordClicked);
    return QApplication::exec();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication::setApplicationName(QStringLiteral("orvalin"));
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const orv::CommandLine command = orv::parseCommandLine(arguments);
    switch (command.action) {
    case orv::CommandLine::Action::ShowHelp:
        std::fputs(orv::commandLineHelp().toLocal8Bit().constData(), stdout);
        return 0;
    case orv::CommandLine::Action::ShowVersion:
        std::fputs(orv::versionText().toLocal8Bit().constData(), stdout);
        return 0;
    case orv::CommandLine::Action::Refuse:
        std::fprintf(stderr, "%s\n", command.error.toLocal8Bit().constData());
        return orv::Headless::Refused;
    case orv::CommandLine::Action::View: return runViewers(argc, argv, command);
    case orv::CommandLine::Action::Export: return runExport(argc, argv, command);
    case orv::CommandLine::Action::Run: break;
    }

    // Before any file, device or window: a second instance ends here. The window says
    // nothing; a headless run, started from a terminal or a service, says why.
    orv::SingleInstance instance(orv::defaultLockDir());
    if (!instance.acquire()) {
        if (!command.headless)
            return 0;
        std::fputs("orvalin : une autre instance est déjà lancée\n", stderr);
        return orv::Headless::Refused;
    }

    // A file size limit must turn into a write error the recorder can handle, not a kill.
    std::signal(SIGXFSZ, SIG_IGN);
    return command.headless ? runHeadless(argc, argv, command) : runWindow(argc, argv, command);
}
