// SPDX-License-Identifier: GPL-3.0-or-later
// Entry of the logger: the command line, one instance per user, then the window or, for
// unattended recording, no window at all.
#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/Headless.h"
#include "app/SingleInstance.h"
#include "app/TerminationSignals.h"
#include "core/FileNames.h"
#include "core/Texts.h"
#include "logging/Logger.h"
#include "ui/Look.h"
#include "ui/MainWindow.h"
#include "ui/Pictures.h"
#include "viewer/RecordingExport.h"
#include "viewer/ViewerWindow.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QStandardPaths>
#include <QStyle>
#include <QThread>
#include <QTimer>
#include <QTranslator>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Descriptors 0, 1 and 2 left closed by whoever started the program would go to the first
// files it opens (the lock, the recording file), and its output into them.
void openClosedStandardDescriptors()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        // The lowest free number: fd itself, as those below it are open.
        const int opened = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (opened >= 0 && opened != fd) {
            ::dup2(opened, fd);
            ::close(opened);
        }
    }
}

void say(const QString &text)
{
    const QByteArray line = QByteArray("orvalin : ") + text.toLocal8Bit() + '\n';
    [[maybe_unused]] const ssize_t n = ::write(STDERR_FILENO, line.constData(), static_cast<size_t>(line.size()));
}

void sayNoDisplay(const QString &why)
{
    say(QStringLiteral("aucun écran graphique (%1) : lancez-le depuis une session de bureau, "
                       "ou sans fenêtre avec --headless --record.")
            .arg(why));
}

// The window needs a display; a platform chosen by hand (offscreen) is Qt's to check.
bool displayNamed()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
           || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

// While the window's application starts: Qt's words on a display it cannot reach are
// English and end in an abort; they become the program's own line and exit code 1.
void onStartMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtFatalMsg
        && (message.contains(QLatin1String("could not connect to display"))
            || message.contains(QLatin1String("no Qt platform plugin could be initialized")))) {
        const QString display =
            qEnvironmentVariable(qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ? "DISPLAY" : "WAYLAND_DISPLAY");
        sayNoDisplay(display.isEmpty()
                         ? QStringLiteral("aucun module d'affichage ne démarre")
                         : QStringLiteral("l'affichage %1 ne répond pas").arg(orv::displayableName(display)));
        ::_exit(1);
    }
    // The platform's warnings before that fatal end are Qt's own English.
    if (context.category && QByteArrayView(context.category).startsWith("qt.qpa") && type != QtFatalMsg)
        return;
    const QByteArray line = qFormatLogMessage(type, context, message).toLocal8Bit() + '\n';
    [[maybe_unused]] const ssize_t n = ::write(STDERR_FILENO, line.constData(), static_cast<size_t>(line.size()));
}

// The window repaints a few small rectangles a second. Through shared memory each of them
// costs a round trip to the X server (both threads wake to wait for it); through the socket
// the few bytes simply go. A user's own choice stands; children do not inherit ours.
bool chooseSocketImages()
{
    if (qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        return false;
    qputenv("QT_XCB_NO_MITSHM", "1");
    return true;
}

// The application of a window, in French.
struct WindowApplication {
    WindowApplication(int &argc, char **argv)
        : socketImages(chooseSocketImages())
        , previousHandler(qInstallMessageHandler(onStartMessage))
        , app(argc, argv)
    {
        qInstallMessageHandler(previousHandler); // the display is there
        if (socketImages)
            qunsetenv("QT_XCB_NO_MITSHM");

        orv::useProgramLook();
        QApplication::setWindowIcon(orv::programIcon());
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        orv::installFrenchTranslations(qtFrench);
    }
    bool socketImages;
    QtMessageHandler previousHandler;
    QApplication app;
    QTranslator qtFrench;
};

orv::SettingsLocation settingsHere()
{
    return orv::settingsLocation(QCoreApplication::applicationDirPath(),
                                 QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
}

// A thread still inside a call to a disk that does not answer cannot be waited for: the
// process ends without running the destructors that would join it.
int endNow(int exitCode, const orv::Logger &logger)
{
    if (logger.stuckOnDisk()) {
        std::fflush(stdout);
        std::fflush(stderr);
        ::_exit(exitCode);
    }
    return exitCode;
}

int runHeadless(int argc, char **argv, const orv::CommandLine &command, orv::SingleInstance &instance)
{
    QCoreApplication app(argc, argv);
    orv::TerminationSignals termination;
    orv::RealLogger real(settingsHere());
    orv::Headless headless(real.logger(), STDOUT_FILENO, STDERR_FILENO);
    real.logger().startUp(command.overrides, orv::Logger::Reading::Samples);
    if (headless.start() != orv::Headless::AllWritten)
        return endNow(orv::Headless::Refused, real.logger());
    instance.describe(orv::thisInstance(true, real.logger().settings().recordingFile));
    if (command.broker)
        real.logger().publishTo(*command.broker);
    QObject::connect(&termination, &orv::TerminationSignals::received, &headless, &orv::Headless::finish);
    QObject::connect(&headless, &orv::Headless::finished, &app, &QCoreApplication::exit, Qt::QueuedConnection);
    return endNow(QCoreApplication::exec(), real.logger());
}

// Viewers only read files: no lock, no source, so they run beside a recording.
int runViewers(int argc, char **argv, const orv::CommandLine &command)
{
    WindowApplication application(argc, argv);
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
        say(message);
    return outcome.failed ? orv::kExportFailed : 0;
}

int runWindow(int argc, char **argv, const orv::CommandLine &command, orv::SingleInstance &instance,
              const QString &unguarded)
{
    WindowApplication application(argc, argv);
    orv::TerminationSignals termination;

    orv::Application program(settingsHere());
    orv::MainWindow &window = program.window();
    QObject::connect(&window, &orv::MainWindow::programEnded, &application.app, &QCoreApplication::exit,
                     Qt::QueuedConnection);
    QObject::connect(&termination, &orv::TerminationSignals::received, &window, &orv::MainWindow::endWithoutQuestion);
    program.logger().startUp(command.overrides);
    instance.describe(orv::thisInstance(false, program.logger().settings().recordingFile));
    if (command.broker)
        program.logger().publishTo(*command.broker);
    window.showStartUp();
    window.setGeometry(
        QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.size(), window.screen()->availableGeometry()));
    window.show();
    orv::QtDesktop desktop;
    if (!unguarded.isEmpty())
        desktop.inform(&window, QString::fromLatin1(orv::MainWindow::kAppTitle), orv::asSentence(unguarded));
    // Once the window is up, exactly as a press of the record button.
    if (command.record)
        QTimer::singleShot(0, &window, &orv::MainWindow::onRecordClicked);
    return endNow(QApplication::exec(), program.logger());
}

// A window started while an unattended recording runs says what runs and how to stop it;
// a second window ends silently. The other may still be starting: its description comes
// within a moment.
int tellAnotherRuns(int argc, char **argv, const orv::SingleInstance &instance)
{
    std::optional<orv::InstanceInfo> other = instance.other();
    for (int wait = 0; wait < 20 && (!other || (other->headless && other->recordingFile.isEmpty())); ++wait) {
        QThread::msleep(50);
        other = instance.other();
    }
    const QString notice = other ? orv::otherInstanceNotice(*other) : QString();
    if (notice.isEmpty())
        return 0;
    say(notice.simplified());
    WindowApplication application(argc, argv);
    QMessageBox box(QMessageBox::Information, QString::fromLatin1(orv::MainWindow::kAppTitle), notice, QMessageBox::Ok);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard); // the command, to copy
    box.exec();
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    openClosedStandardDescriptors();
    QCoreApplication::setApplicationName(QStringLiteral("orvalin"));
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << orv::decodeFileName(argv[i]);
    orv::CommandLine command = orv::parseCommandLine(arguments);
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
    // The command line never holds credentials: they come from the user's own file.
    if (command.broker) {
        const QString refusal = orv::completeBroker(*command.broker, orv::credentialsFile());
        if (!refusal.isEmpty()) {
            say(refusal);
            return orv::Headless::Refused;
        }
    }

    if (!command.headless && !displayNamed()) {
        sayNoDisplay(QStringLiteral("ni DISPLAY ni WAYLAND_DISPLAY"));
        return 1;
    }

    // Before any file, device or window: a second instance ends here. A headless run,
    // started from a terminal or a service, says why.
    orv::SingleInstance instance(orv::systemLockRoots());
    QString unguarded;
    switch (instance.acquire(command.headless)) {
    case orv::SingleInstance::Start::AnotherRuns:
        if (!command.headless)
            return tellAnotherRuns(argc, argv, instance);
        say(orv::otherInstanceRefusal(instance.other()));
        return orv::Headless::Refused;
    case orv::SingleInstance::Start::Unguarded:
        // Refusing every start because of a folder someone else made would be worse.
        unguarded = orv::unguardedNotice(instance.problem());
        say(unguarded);
        break;
    case orv::SingleInstance::Start::Alone: break;
    }

    // A file size limit must turn into a write error the recorder can handle, not a kill.
    std::signal(SIGXFSZ, SIG_IGN);
    return command.headless ? runHeadless(argc, argv, command, instance)
                            : runWindow(argc, argv, command, instance, unguarded);
}
