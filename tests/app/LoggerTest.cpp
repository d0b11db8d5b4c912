// The logger without a window: start-up, choices, the sampling and readout ticks, the end,
// and what the headless program prints.
#include "LoggerRig.h"
#include "app/Headless.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

using namespace orv;

namespace {

using test::readAll;

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
}

struct Rig : test::LoggerRig {
    QByteArray csv(const char *name = "data_tr.csv") { return file(QLatin1String(name)); }
};

const QByteArray kHeader("N\xB0Record;Valeur1;Valeur2;Date;Time\r\n");

} // namespace

TEST(LoggerStartUp, FirstStartWritesTheDefaultsSecondStartAppliesThemUntouched)
{
    {
        Rig first;
        Logger &logger = first.start();
        EXPECT_EQ(first.files.kindOf(first.settingsPath), FileSystem::Kind::Regular);
        EXPECT_EQ(readAll(first.settingsPath),
                  QByteArray("\"NE PAS MODIFIER CE FICHIER\",\"data_tr.csv\",1,0,3600\r\n"));
        EXPECT_EQ(logger.settings().interval, Interval::Second1);
        EXPECT_TRUE(logger.readoutTimer().isActive());
        EXPECT_FALSE(logger.maintenanceTimer().isActive());
        EXPECT_TRUE(logger.damagedSettingsNotice().isEmpty());
    }
    // Stored serial source at 15 minutes: in effect at once, the port opened once, the
    // file not rewritten; a damaged width is not rewritten either.
    Rig second;
    const QByteArray stored("\"NE PAS MODIFIER CE FICHIER\",\"x.csv\",4,2,abc\r\n");
    writeFile(second.settingsPath, stored);
    Logger &logger = second.start();
    EXPECT_EQ(logger.settings().interval, Interval::Minutes15);
    EXPECT_EQ(logger.settings().source, SourceKind::Serial);
    EXPECT_EQ(second.sources.log.calls, QStringList{QStringLiteral("open serial")});
    EXPECT_EQ(logger.maintenanceTimer().interval(), 10000);
    EXPECT_EQ(readAll(second.settingsPath), stored);
    EXPECT_TRUE(logger.damagedSettingsNotice().contains(QStringLiteral("endommagé")));
}

TEST(LoggerChoices, EachChoiceTakesEffectAndIsSavedOnce)
{
    Rig rig;
    Logger &logger = rig.start();
    rig.sources.log.calls.clear();
    logger.chooseInterval(Interval::Minutes15);
    logger.chooseSource(SourceKind::Serial);
    logger.chooseSource(SourceKind::Serial); // the port in use stays as it is
    logger.chooseSource(SourceKind::Board);
    EXPECT_EQ(rig.sources.log.calls, (QStringList{"close keyboard", "open serial", "close serial", "open board"}));
    EXPECT_FALSE(logger.maintenanceTimer().isActive());
    EXPECT_EQ(readAll(rig.settingsPath), QByteArray("\"NE PAS MODIFIER CE FICHIER\",\"data_tr.csv\",4,1,3600\r\n"));

    // Choices given for this run only never reach the file, but later choices keep them.
    Rig overridden;
    Logger &other = overridden.start({Interval::Hours24, SourceKind::Board, QStringLiteral("z.csv")});
    EXPECT_EQ(other.settings().recordingFile, QStringLiteral("z.csv"));
    EXPECT_EQ(readAll(overridden.settingsPath),
              QByteArray("\"NE PAS MODIFIER CE FICHIER\",\"data_tr.csv\",1,0,3600\r\n"));
}

TEST(LoggerRecording, SamplesRecordWhatTheSourceLastGaveAndTheReadoutRetriesWaitingLines)
{
    Rig rig;
    Logger &logger = rig.start();
    logger.chooseSource(SourceKind::Board);
    rig.sources.log.readings = {128, std::nullopt};
    QSignalSpy samples(&logger, &Logger::sampleTaken);
    logger.startRecording();
    EXPECT_EQ(logger.sampleTimer().interval(), 10);
    rig.runTicks(2);
    EXPECT_EQ(samples.count(), 2);
    EXPECT_EQ(rig.csv(), kHeader + "1;128;;12-05-2026;14:03:07\r\n2;128;;12-05-2026;14:03:08\r\n");

    // The disk fills up: the sample waits; the readout tick writes it once there is room.
    QSignalSpy waiting(&logger, &Logger::waitingChanged);
    rig.files.writeError = ENOSPC;
    rig.runTicks(1);
    rig.settle();
    EXPECT_EQ(logger.recorder().writer().waitingLines(), 1);
    rig.files.writeError = 0;
    logger.onReadoutTimer();
    rig.settle();
    EXPECT_EQ(logger.recorder().writer().waitingLines(), 0);
    EXPECT_EQ(waiting.count(), 2);
    EXPECT_TRUE(rig.csv().endsWith("3;128;;12-05-2026;14:03:09\r\n"));

    logger.stopRecording();
    EXPECT_FALSE(logger.sampleTimer().isActive());
    logger.onSampleTimer(); // a tick already queued does nothing
    EXPECT_EQ(logger.recorder().store().count(), 3);
}

TEST(LoggerEnd, WhatCannotBeWrittenIsRescuedAndTheNextStartIsTold)
{
    Rig rig;
    Logger &logger = rig.start();
    QDir(rig.dir.path()).mkdir(QStringLiteral("sub"));
    ASSERT_TRUE(logger.useNewRecordingFile(rig.dir.filePath(QStringLiteral("sub/rec.csv"))).isEmpty());
    logger.startRecording();
    rig.runTicks(1);
    rig.settle();
    QDir(rig.dir.filePath(QStringLiteral("sub"))).removeRecursively();
    rig.runTicks(2);

    const Logger::Ending ending = logger.shutDown();
    ASSERT_EQ(ending.rescue.files.size(), 1);
    EXPECT_EQ(ending.rescue.lines, 2);
    EXPECT_EQ(readAll(ending.rescue.files[0]), kHeader + "2;0;;12-05-2026;14:03:08\r\n3;0;;12-05-2026;14:03:09\r\n");
    EXPECT_FALSE(logger.readoutTimer().isActive());
    EXPECT_TRUE(rig.sources.log.calls.endsWith(QStringLiteral("close keyboard")));

    Logger &next = rig.start();
    EXPECT_EQ(next.rescuedEarlier(), ending.rescue.files);
}

TEST(LoggerSettings, AFailedSaveIsToldOnceAndKeepsTheOldFile)
{
    Rig rig;
    Logger &logger = rig.start();
    const QByteArray before = readAll(rig.settingsPath);
    QSignalSpy told(&logger, &Logger::settingsNotSaved);
    rig.files.writeError = ENOSPC;
    logger.chooseInterval(Interval::Hour1);
    logger.chooseInterval(Interval::Hours3);
    ASSERT_EQ(told.count(), 1);
    EXPECT_TRUE(told[0][0].toString().contains(QStringLiteral("le disque est plein")));
    EXPECT_EQ(readAll(rig.settingsPath), before);
    EXPECT_EQ(logger.settings().interval, Interval::Hours3); // the choice still holds for this run
}

TEST(LoggerRecording, ASlowDiskKeepsEveryLineInOrderAcrossStopFileChangeAndQuit)
{
    Rig rig;
    rig.files.syncDelayMs = 100; // a USB stick: samples come faster than the disk takes them
    Logger &logger = rig.start();
    logger.startRecording();
    rig.runTicks(4);
    logger.stopRecording();
    ASSERT_TRUE(logger.useNewRecordingFile(rig.dir.filePath(QStringLiteral("b.csv"))).isEmpty());
    logger.startRecording();
    rig.runTicks(3);
    EXPECT_EQ(logger.shutDown().rescue.lines, 0);
    EXPECT_EQ(readAll(rig.dir.filePath(QStringLiteral("data_tr.csv"))),
              kHeader
                  + "1;0;;12-05-2026;14:03:07\r\n2;0;;12-05-2026;14:03:08\r\n3;0;;12-05-2026;14:03:09\r\n"
                    "4;0;;12-05-2026;14:03:10\r\n");
    EXPECT_EQ(readAll(rig.dir.filePath(QStringLiteral("b.csv"))),
              kHeader + "1;0;;12-05-2026;14:03:10\r\n2;0;;12-05-2026;14:03:11\r\n3;0;;12-05-2026;14:03:12\r\n");
}

TEST(Headless, AnOutputReaderThatStallsOrLeavesNeverHoldsUpASample)
{
    int out[2], err[2];
    ASSERT_EQ(::pipe2(out, O_CLOEXEC), 0);
    ASSERT_EQ(::pipe2(err, O_CLOEXEC | O_NONBLOCK), 0);
    ::fcntl(out[1], F_SETPIPE_SZ, 4096);
    // A reader that takes nothing: the pipe is full, and its writing end blocks.
    ::fcntl(out[1], F_SETFL, O_NONBLOCK);
    while (::write(out[1], "xxxxxxxxxxxxxxxx", 16) > 0) {
    }
    ::fcntl(out[1], F_SETFL, 0);
    auto drain = [](int fd) {
        QByteArray all;
        char buffer[8192];
        for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
            all.append(buffer, n);
        return all;
    };

    Rig rig;
    Logger &logger = rig.start({Interval::Second1, SourceKind::Board, QStringLiteral("h.csv")});
    Headless headless(logger, out[1], err[1]);
    ASSERT_EQ(headless.start(), Headless::AllWritten);
    rig.runTicks(3);
    EXPECT_TRUE(drain(err[0]).contains("la sortie standard ne suit pas"));
    ::fcntl(out[0], F_SETFL, O_NONBLOCK);
    drain(out[0]);
    rig.runTicks(1);
    EXPECT_TRUE(drain(err[0]).contains("la sortie standard reprend ; 3 ligne(s)"));
    EXPECT_TRUE(drain(out[0]).startsWith("4;"));
    ::close(out[0]); // the reader is gone
    rig.runTicks(1);
    EXPECT_TRUE(drain(err[0]).contains("ne suit pas ou est fermée"));
    EXPECT_EQ(rig.csv("h.csv").count('\n'), 6);
    EXPECT_EQ(headless.finish(), Headless::AllWritten);
    for (int fd : {out[1], err[0], err[1]})
        ::close(fd);
}
