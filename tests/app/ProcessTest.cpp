// The real program as a process: one instance per user, and what a kill leaves on disk.
#include "Fakes.h"
#include "app/SingleInstance.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>

#include <gtest/gtest.h>

using namespace orv::test;

namespace {

// A copy of the program in a folder of its own, so its settings file lands there.
struct Installed {
    QTemporaryDir dir;
    QTemporaryDir runtime;
    QString exe;

    Installed()
    {
        exe = dir.filePath(QStringLiteral("orvalin"));
        QFile::copy(QStringLiteral(ORVALIN_EXE), exe);
        QFile::setPermissions(exe, QFile::permissions(exe) | QFileDevice::ExeOwner);
    }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        return env;
    }

    std::unique_ptr<QProcess> launch() const
    {
        auto p = std::make_unique<QProcess>();
        p->setProcessEnvironment(environment());
        p->setWorkingDirectory(dir.path());
        p->start(exe, {});
        p->waitForStarted(10000);
        return p;
    }

    // Start-up has run once the settings file exists.
    bool waitForStartup() const
    {
        for (int i = 0; i < 500; ++i) {
            if (QFile::exists(dir.filePath(QStringLiteral("orvtr.cfg"))))
                return true;
            QThread::msleep(20);
        }
        return false;
    }
};

} // namespace

TEST(SingleInstance, SecondStartEndsSilentlyAndAKilledRunDoesNotBlock)
{
    Installed app;
    auto first = app.launch();
    ASSERT_TRUE(app.waitForStartup());

    auto second = app.launch();
    ASSERT_TRUE(second->waitForFinished(10000));
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_TRUE(second->readAllStandardOutput().isEmpty());
    EXPECT_EQ(first->state(), QProcess::Running);

    // A crashed run leaves its lock behind; the next start takes it over.
    ::kill(static_cast<pid_t>(first->processId()), SIGKILL);
    first->waitForFinished(10000);
    auto third = app.launch();
    EXPECT_FALSE(third->waitForFinished(1500)); // still running: it did not take itself for a second instance
    third->kill();
    third->waitForFinished(10000);
}

// Run only as the child of the test below: records as fast as it can until killed.
TEST(KilledDuringRecording, Child)
{
    const QByteArray dir = qgetenv("ORVALIN_TEST_CHILD_DIR");
    if (dir.isEmpty())
        GTEST_SKIP() << "runs only as a child process";
    Rig rig;
    QDir::setCurrent(QString::fromLocal8Bit(dir));
    orv::Orvalin &w = rig.start();
    w.CmdRecord_Click();
    for (;;) {
        rig.runTicks(100);
        if (!w.ui().Timer1->isActive())
            w.CmdRecord_Click();
    }
}

TEST(KilledDuringRecording, FileEndsWithACompleteLine)
{
    QTemporaryDir dir;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ORVALIN_TEST_CHILD_DIR"), dir.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const QString csv = dir.filePath(QStringLiteral("data_tr.csv"));
    for (int round = 0; round < 3; ++round) {
        QProcess child;
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--gtest_filter=KilledDuringRecording.Child")});
        ASSERT_TRUE(child.waitForStarted(10000));
        const qint64 target = (round + 1) * 20000;
        for (int i = 0; i < 1000 && QFileInfo(csv).size() < target; ++i)
            QThread::msleep(5);
        ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
        child.waitForFinished(10000);

        const QByteArray bytes = Rig::readFile(csv);
        ASSERT_GT(bytes.size(), 36);
        EXPECT_TRUE(bytes.startsWith("N\xB0Record;"));
        EXPECT_TRUE(bytes.endsWith("\r\n")) << "round " << round;
        // One header only, however often the program was killed and started again.
        EXPECT_EQ(bytes.count("Record;Valeur1"), 1);
    }
}

TEST(SingleInstance, ALockThatCannotBeMadeDoesNotStopTheProgram)
{
    QTemporaryDir dir;
    orv::SingleInstance first(dir.path());
    EXPECT_TRUE(first.acquire());
    orv::SingleInstance second(dir.path());
    EXPECT_FALSE(second.acquire());
    orv::SingleInstance nowhere(dir.filePath(QStringLiteral("missing/folder")));
    EXPECT_TRUE(nowhere.acquire());
}
