// SPDX-License-Identifier: GPL-3.0-or-later
// The real program as a process: single instance, killed or stopped while recording, the
// command line, the headless mode, viewers and exports.
#include "Helpers.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace {

using orv::test::readAll;
using orv::test::within;

// A copy of the program in a folder of its own, which is also its current folder, so its
// settings file lands there; its own lock, runtime, config and data folders.
struct Program {
    QTemporaryDir dir;
    QString exe = dir.filePath(QStringLiteral("orvalin"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();

    Program()
    {
        QFile::copy(QStringLiteral(ORVALIN_EXE), exe);
        QDir(dir.path()).mkdir(QStringLiteral("run"));
        QFile::setPermissions(dir.filePath(QStringLiteral("run")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("ORVALIN_LOCK_ROOT"), dir.path());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), path(QStringLiteral("run")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), path(QStringLiteral("data")));
        env.insert(QStringLiteral("TMPDIR"), dir.path()); // the last rescue folder
        env.remove(QStringLiteral("DISPLAY"));
    }
    QString path(const QString &name) const { return dir.filePath(name); }

    // shell: a command line for sh, where "$0" is the program.
    std::unique_ptr<QProcess> start(const QStringList &arguments, const QString &shell = {}) const
    {
        auto p = std::make_unique<QProcess>();
        p->setProcessEnvironment(env);
        p->setWorkingDirectory(dir.path());
        if (shell.isEmpty())
            p->start(exe, arguments);
        else
            p->start(QStringLiteral("sh"), {QStringLiteral("-c"), shell, exe});
        return p;
    }
    // Runs to its end; exit code, stdout + stderr.
    std::pair<int, QByteArray> run(const QStringList &arguments) const
    {
        auto p = start(arguments);
        p->waitForFinished(20000);
        return {p->exitCode(), p->readAllStandardOutput() + p->readAllStandardError()};
    }
};

// What the program wrote so far; QProcess gathers it only while it is waited for.
struct Output {
    QByteArray out, err;
    void collect(QProcess &p)
    {
        p.waitForReadyRead(50);
        out += p.readAllStandardOutput();
        err += p.readAllStandardError();
    }
};

void signalAndWait(QProcess &p, int signal)
{
    ::kill(static_cast<pid_t>(p.processId()), signal);
    p.waitForFinished(20000);
}

} // namespace

TEST(RealProgram, OneInstanceAtATimeAndAKilledOneDoesNotBlockTheNext)
{
    Program program;
    // Ten starts at once leave exactly one running; the others end silently.
    std::vector<std::unique_ptr<QProcess>> starts;
    for (int i = 0; i < 10; ++i)
        starts.push_back(program.start({}));
    const auto ended = [&] {
        return std::count_if(starts.begin(), starts.end(), [](auto &p) {
            p->waitForFinished(0); // only to take the news of its end
            return p->state() == QProcess::NotRunning;
        });
    };
    within(20000, [&] { return ended() == 9; }); // a slow build starts slowly
    int running = 0;
    for (auto &p : starts) {
        if (p->state() != QProcess::NotRunning) {
            ++running;
            continue;
        }
        EXPECT_EQ(p->exitCode(), 0);
        EXPECT_TRUE((p->readAllStandardOutput() + p->readAllStandardError()).isEmpty());
    }
    EXPECT_EQ(running, 1);
    for (auto &p : starts)
        if (p->state() != QProcess::NotRunning)
            signalAndWait(*p, SIGKILL);
    auto next = program.start({});
    EXPECT_FALSE(next->waitForFinished(1500)) << "the lock of a killed run must not hold";
    signalAndWait(*next, SIGTERM);
    EXPECT_EQ(next->exitCode(), 0);
}

// From a shell: standard output closed (the lock file, opened first, would take its number)
// and a name that is not UTF-8, with an escape character that must not reach the terminal.
TEST(RealProgram, ClosedOutputsStayClosedAndANameKeepsItsBytes)
{
    Program program;
    auto p = program.start({}, QStringLiteral("exec \"$0\" --headless --record --source usb --file "
                                              "\"$(printf 'donn\\351es\\033.csv')\" >&-"));
    const std::string name = QFile::encodeName(program.dir.path()).toStdString() + "/donn\351es\033.csv";
    Output said;
    ASSERT_TRUE(within(5000, [&] {
        said.collect(*p);
        std::ifstream file(name);
        return std::count(std::istreambuf_iterator<char>(file), {}, '\n') >= 2;
    })) << said.err.toStdString();
    signalAndWait(*p, SIGTERM);
    EXPECT_EQ(p->exitCode(), 0);
    EXPECT_TRUE(said.err.startsWith("orvalin : enregistrement dans donn\\xe9es\\x1b.csv\n")) << said.err.toStdString();
}

TEST(RealProgram, WithoutADisplayTheWindowSaysSoInFrenchAndEnds)
{
    Program program;
    program.env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    program.env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    for (const char *display : {"", ":7391"}) {
        program.env.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(display));
        const auto [code, said] = program.run({QStringLiteral("--record")});
        EXPECT_EQ(code, 1);
        EXPECT_EQ(said, QStringLiteral("orvalin : aucun écran graphique (%1) : lancez-le depuis une session de bureau, "
                                       "ou sans fenêtre avec --headless --record.\n")
                            .arg(*display ? QStringLiteral("l'affichage :7391 ne répond pas")
                                          : QStringLiteral("ni DISPLAY ni WAYLAND_DISPLAY"))
                            .toUtf8());
    }
}

TEST(RealProgram, CommandLineChoicesHoldForOneRunBadOnesAreRefusedAndAnUnattendedRecordingIsShared)
{
    Program program;
    const QString settings = program.path(QStringLiteral("orvtr.cfg"));
    struct Case {
        QStringList arguments;
        int exitCode;
        const char *says;
    };
    const Case cases[] = {
        {{"--version"}, 0, "Orvalin Temps Réel, version"},
        {{"--help"}, 0, "--headless"},
        {{"--bogus"}, 2, "option inconnue « --bogus »"},
        {{"--headless"}, 2, "--headless s'utilise avec --record"},
        {{"--record", "--interval", "2s"}, 2, "intervalle « 2s » inconnu"},
        {{"--headless", "--record"}, 2, "le mode test se commande au clavier"}, // the stored source
        {{"--export", "a.csv", "--output", "a.pdf"}, 2, "format de « a.pdf » inconnu ; au choix : .xlsx .png .svg"},
        {{"--size", "1600x900"}, 2, "--output et --size s'utilisent avec --export"},
        {{"--export", "/dev/zero", "--output", "z.xlsx"},
         1,
         "Impossible de lire « /dev/zero » : c'est un tube ou un périphérique, pas un fichier."},
    };
    for (const Case &c : cases) {
        const auto [code, said] = program.run(c.arguments);
        EXPECT_EQ(code, c.exitCode) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(QString::fromUtf8(said).contains(QString::fromUtf8(c.says))) << said.toStdString();
    }
    const QByteArray stored = readAll(settings);
    EXPECT_EQ(stored, QByteArray("\"NE PAS MODIFIER CE FICHIER\",\"data_tr.csv\",1,0,3600\r\n"));

    // The board is absent here: samples come, with empty fields, into the file of this run.
    auto p = program.start({"--headless", "--record", "--source", "usb", "--interval", "10s", "--file", "once.csv"});
    Output said;
    ASSERT_TRUE(within(5000, [&] {
        said.collect(*p);
        return said.err.contains("K8055") && readAll(program.path("once.csv")).count('\n') == 2;
    }));
    // A window started meanwhile says what runs and how to stop it.
    auto window = program.start({});
    Output told;
    const QByteArray stop = QStringLiteral("(processus n° %1) avec la commande : kill %1").arg(p->processId()).toUtf8();
    EXPECT_TRUE(within(5000, [&] {
        told.collect(*window);
        return told.err.contains(program.path("once.csv").toUtf8()) && told.err.contains(stop);
    })) << told.err.toStdString();
    EXPECT_EQ(window->state(), QProcess::Running) << "its message box waits for the user";
    signalAndWait(*window, SIGKILL);
    // Viewers and exports take no lock and need no display.
    const auto [picture, saidPicture] = program.run({"--export", "once.csv", "--output", "o.png", "--size", "640x360"});
    EXPECT_EQ(picture, 0) << saidPicture.toStdString();
    EXPECT_EQ(QImage(program.path("o.png")).size(), QSize(640, 360));
    const auto [workbook, saidWorkbook] = program.run({"--export", "once.csv", "--output", "o.xlsx"});
    EXPECT_EQ(workbook, 0) << saidWorkbook.toStdString();
    EXPECT_TRUE(readAll(program.path("o.xlsx")).startsWith("PK"));
    EXPECT_EQ(program.run({"--export", "once.csv", "--output", "o.svg"}).first, 0);
    EXPECT_TRUE(readAll(program.path("o.svg")).contains("<svg"));
    auto viewer = program.start({"once.csv"});
    EXPECT_FALSE(viewer->waitForFinished(1500)) << viewer->readAllStandardError().toStdString();
    signalAndWait(*viewer, SIGTERM);

    signalAndWait(*p, SIGINT);
    EXPECT_EQ(p->exitCode(), 0);
    EXPECT_TRUE(said.out.startsWith("1;;;"));
    EXPECT_EQ(readAll(settings), stored);
}

TEST(RealProgram, SignalledWhileItsDiskHangsItEndsInTimeWithEveryLineInTheFileOrTheRescue)
{
    if (QStandardPaths::findExecutable(QStringLiteral("strace")).isEmpty())
        GTEST_SKIP() << "needs strace to hold the syncs";
    Program program;
    // A traced process cannot look for leaks at its end (a sanitizer build would fail there).
    program.env.insert(QStringLiteral("ASAN_OPTIONS"),
                       program.env.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":detect_leaks=0"));
    // From its third sync on, the recording file's thread waits 4 s in each: a stalled share,
    // longer than the end may wait for it.
    auto tracer = program.start({}, QStringLiteral("exec strace -f -qq -o /dev/null -e trace=fdatasync -e "
                                                   "inject=fdatasync:delay_enter=4000000:when=3+ \"$0\" --headless "
                                                   "--record --source usb --file rec.csv"));
    Output said;
    const bool recording = within(8000, [&] {
        said.collect(*tracer);
        return said.out.contains("\n4;");
    });
    if (!recording && tracer->state() == QProcess::NotRunning)
        GTEST_SKIP() << "strace cannot trace here: " << said.err.toStdString();
    ASSERT_TRUE(recording) << said.err.toStdString();
    QFile children(QStringLiteral("/proc/%1/task/%1/children").arg(tracer->processId()));
    ASSERT_TRUE(children.open(QIODevice::ReadOnly));
    const pid_t pid = children.readAll().trimmed().toInt();
    ASSERT_GT(pid, 0);
    QElapsedTimer took;
    took.start();
    ::kill(pid, SIGTERM);
    ASSERT_TRUE(within(8000, [&] {
        said.collect(*tracer);
        return said.err.contains("gardées dans");
    })) << said.err.toStdString();
    EXPECT_LT(took.elapsed(), 6000) << "the end waited for the disk";
    tracer->waitForFinished(10000);
    EXPECT_EQ(tracer->exitCode(), 3);

    // Every line is in the file or in the rescue; the rescue may repeat the file's last ones.
    const QDir rescue(program.path(QStringLiteral("data/orvalin")));
    const QStringList kept = rescue.entryList({QStringLiteral("secours-*-rec.csv")});
    ASSERT_EQ(kept.size(), 1);
    QSet<QByteArray> lines;
    for (const QString &file : {program.path(QStringLiteral("rec.csv")), rescue.filePath(kept[0])})
        for (const QByteArray &line : readAll(file).split('\n'))
            if (line.contains(";12-"))
                lines.insert(line.left(line.indexOf(';')));
    for (const QByteArray &line : said.out.trimmed().split('\n'))
        EXPECT_TRUE(lines.contains(line.left(line.indexOf(';')))) << line.toStdString();

    // The next start says where they are.
    auto next = program.start({"--headless", "--record", "--source", "usb", "--file", "rec.csv"});
    Output again;
    ASSERT_TRUE(within(5000, [&] {
        again.collect(*next);
        return again.err.contains(kept[0].toUtf8());
    }));
    signalAndWait(*next, SIGTERM);
}
