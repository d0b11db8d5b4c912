#pragma once

// The real program as a process: a copy of the built executable in a folder of its
// own (so its settings file lands there), started offscreen with the window driver
// preloaded. The driver only types and clicks; everything else is the program's own
// start-up, timers, clock and files.

#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>

#include <functional>
#include <memory>

namespace orv::test {

// Waits for a child process's doing, letting no event loop run; bounded.
inline bool within(int ms, const std::function<bool()> &condition)
{
    const QDeadlineTimer deadline(ms);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(10);
    }
    return true;
}

struct RealProgram {
    QTemporaryDir dir;     // the program's folder, also its current directory
    QTemporaryDir runtime; // XDG_RUNTIME_DIR, where the single-instance lock lives
    QString exe = dir.filePath(QStringLiteral("orvalin"));

    RealProgram()
    {
        QFile::copy(QStringLiteral(ORVALIN_EXE), exe);
        QFile::setPermissions(exe, QFile::permissions(exe) | QFileDevice::ExeOwner);
    }

    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        QString preload = QStringLiteral(ORVALIN_WINDOW_DRIVER);
        if (env.contains(QStringLiteral("LD_PRELOAD")))
            preload += QLatin1Char(':') + env.value(QStringLiteral("LD_PRELOAD"));
        env.insert(QStringLiteral("LD_PRELOAD"), preload);
        // In the sanitizer build the driver comes before the runtime in the load order.
        QString asan = env.value(QStringLiteral("ASAN_OPTIONS"));
        env.insert(QStringLiteral("ASAN_OPTIONS"),
                   (asan.isEmpty() ? QString() : asan + QLatin1Char(':')) + QStringLiteral("verify_asan_link_order=0"));
        return env;
    }

    std::unique_ptr<QProcess> start() const
    {
        auto p = std::make_unique<QProcess>();
        p->setProcessEnvironment(environment());
        p->setWorkingDirectory(dir.path());
        p->start(exe, {});
        return p;
    }
};

// Sends one command to the driver and returns its answer line (empty if none came).
inline QByteArray command(QProcess &program, const QByteArray &line, int ms = 20000)
{
    program.write(line + '\n');
    program.waitForBytesWritten(ms);
    QByteArray answer;
    within(ms, [&] {
        program.waitForReadyRead(10);
        if (!program.canReadLine())
            return program.state() == QProcess::NotRunning;
        answer = program.readLine().trimmed();
        return true;
    });
    return answer;
}

} // namespace orv::test
