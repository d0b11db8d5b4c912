// The built program itself, started offscreen and worked through its own window: what a
// kill leaves in the recording file, and ten starts at once.
#include "RealProgram.h"

#include <QRegularExpression>

#include <algorithm>
#include <csignal>
#include <vector>

#include <gtest/gtest.h>

using namespace orv::test;

namespace {

const QByteArray kHeader("N\xB0Record;Valeur1;Valeur2;Date;Time\r\n");

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct Line {
    int number;
    int value1;
};

// The sample lines of a keyboard-test recording: "n;value;;MM-DD-YYYY;HH:MM:SS" and
// CR LF. A line that does not match, or a missing line end, is returned as number -1.
std::vector<Line> sampleLines(const QByteArray &bytes)
{
    static const QRegularExpression line(QStringLiteral("^(\\d+);(-?\\d+);;\\d\\d-\\d\\d-\\d{4};\\d\\d:\\d\\d:\\d\\d$"));
    std::vector<Line> out;
    QList<QByteArray> parts = bytes.mid(kHeader.size()).split('\n');
    const bool complete = parts.last().isEmpty();
    parts.removeLast();
    for (const QByteArray &p : parts) {
        const QRegularExpressionMatch m = line.match(QString::fromLatin1(p.endsWith('\r') ? p.chopped(1) : "?"));
        out.push_back(m.hasMatch() ? Line{m.captured(1).toInt(), m.captured(2).toInt()} : Line{-1, 0});
    }
    if (!complete)
        out.push_back(Line{-1, 0});
    return out;
}

void kill9(QProcess &p)
{
    ::kill(static_cast<pid_t>(p.processId()), SIGKILL);
    p.waitForFinished(10000);
}

} // namespace

TEST(RealProgram, KilledWhileRecordingThenStartedAgainAppendsWithoutASecondHeader)
{
    RealProgram app;
    const QString csv = app.path("data_tr.csv");

    auto first = app.start();
    ASSERT_EQ(command(*first, "ready"), "ready");
    ASSERT_EQ(command(*first, "record"), "record Record  Stop");
    // Samples come once a second on the real clock; kill once three are on disk.
    ASSERT_TRUE(within(30000, [&] { return sampleLines(readFile(csv)).size() >= 3; }));
    kill9(*first);

    const QByteArray killed = readFile(csv);
    ASSERT_TRUE(killed.startsWith(kHeader));
    EXPECT_TRUE(killed.endsWith("\r\n"));
    const std::vector<Line> before = sampleLines(killed);
    for (std::size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(before[i].number, static_cast<int>(i) + 1) << "line " << i;

    // The lock of the killed run is taken over; the file is appended to.
    auto second = app.start();
    ASSERT_EQ(command(*second, "ready"), "ready");
    ASSERT_EQ(command(*second, "record"), "record Record  Stop");
    ASSERT_EQ(command(*second, "key +++"), "typed +++");
    ASSERT_TRUE(within(30000, [&] {
        const std::vector<Line> all = sampleLines(readFile(csv));
        return all.size() >= before.size() + 2 && all.back().value1 == 3;
    }));
    EXPECT_EQ(command(*second, "quit yes"), "asked OrvalinTR1.03|Arrêter l'orvalin et quitter ?");
    ASSERT_TRUE(second->waitForFinished(10000));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);

    const QByteArray after = readFile(csv);
    EXPECT_TRUE(after.startsWith(killed)) << "the killed run's lines were changed";
    EXPECT_EQ(after.count("Record;Valeur1"), 1);
    EXPECT_TRUE(after.endsWith("\r\n"));
    const std::vector<Line> lines = sampleLines(after);
    ASSERT_GT(lines.size(), before.size());
    for (std::size_t i = before.size(); i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].number, static_cast<int>(i - before.size()) + 1) << "line " << i;
        EXPECT_GE(lines[i].value1, 0);
        EXPECT_LE(lines[i].value1, 3);
    }
}

TEST(RealProgram, TenStartsAtOnceLeaveExactlyOneRunning)
{
    RealProgram app;
    const QString gate = app.path("gate");
    QProcessEnvironment env = app.environment();
    const QString driver = env.value(QStringLiteral("LD_PRELOAD"));
    env.remove(QStringLiteral("LD_PRELOAD"));

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round == 0 ? "no lock yet" : "the lock of a killed run");
        std::vector<std::unique_ptr<QProcess>> starts;
        for (int i = 0; i < 10; ++i) {
            auto p = std::make_unique<QProcess>();
            p->setProcessEnvironment(env);
            p->setWorkingDirectory(app.dir.path());
            // Each waits at the gate, then becomes the program under the same process id.
            p->start(QStringLiteral("/bin/sh"),
                     {QStringLiteral("-c"),
                      QStringLiteral("until [ -e \"$1\" ]; do sleep 0.01; done; LD_PRELOAD=\"$3\" exec \"$2\""),
                      QStringLiteral("gate"), gate, app.exe, driver});
            ASSERT_TRUE(p->waitForStarted(10000));
            starts.push_back(std::move(p));
        }
        QFile(gate).open(QIODevice::WriteOnly);

        auto ended = [&] {
            return std::count_if(starts.begin(), starts.end(),
                                 [](const auto &p) { return p->state() == QProcess::NotRunning; });
        };
        within(60000, [&] {
            for (auto &p : starts)
                p->waitForFinished(0);
            return ended() >= 9;
        });
        if (ended() < 9) {
            int windows = 0;
            for (auto &p : starts)
                if (p->state() != QProcess::NotRunning && command(*p, "ready", 5000) == "ready")
                    ++windows;
            FAIL() << 10 - ended() << " programs still running, " << windows << " of them with a window";
        }
        auto survivor = std::find_if(starts.begin(), starts.end(),
                                     [](const auto &p) { return p->state() != QProcess::NotRunning; });
        ASSERT_NE(survivor, starts.end());
        // Past its start-up with the window shown: a running program, not one on its way out.
        ASSERT_EQ(command(**survivor, "ready"), "ready");
        EXPECT_EQ(ended(), 9);
        for (auto &p : starts) {
            if (p == *survivor)
                continue;
            EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
            EXPECT_EQ(p->exitCode(), 0);
            EXPECT_EQ(p->readAllStandardOutput() + p->readAllStandardError(), "");
        }
        QFile::remove(gate);
        if (round == 0) {
            kill9(**survivor);
        } else {
            EXPECT_EQ(command(**survivor, "quit yes"), "asked OrvalinTR1.03|Arrêter l'orvalin et quitter ?");
            EXPECT_TRUE((*survivor)->waitForFinished(10000));
        }
    }
}
