// The logger without a window: start-up, choices, the sampling and readout ticks, the end.
#include "Eventually.h"
#include "LoggerRig.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <cerrno>

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
        first.settle();
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
    EXPECT_EQ(rig.sources.log.calls, (QStringList{"open serial", "close serial", "open board"}));
    EXPECT_FALSE(logger.maintenanceTimer().isActive());
    rig.settle();
    EXPECT_EQ(readAll(rig.settingsPath), QByteArray("\"NE PAS MODIFIER CE FICHIER\",\"data_tr.csv\",4,1,3600\r\n"));

    // Choices given for this run only never reach the file, but later choices keep them.
    Rig overridden;
    Logger &other = overridden.start({Interval::Hours24, SourceKind::Board, QStringLiteral("z.csv")});
    overridden.settle();
    EXPECT_EQ(other.settings().recordingFile, QStringLiteral("z.csv"));
    EXPECT_EQ(readAll(overridden.settingsPath),
              QByteArray("\"NE PAS MODIFIER CE FICHIER\",\"data_tr.csv\",1,0,3600\r\n"));
}

TEST(LoggerRecording, SamplesHoldWhatTheSourceGaveTheFirstOneAPollOfItsOwn)
{
    Rig rig;
    Logger &logger = rig.start();
    logger.chooseSource(SourceKind::Board);
    // No readout tick has run: the first sample must not be blank for it.
    rig.sources.log.readings = {128, std::nullopt};
    QSignalSpy samples(&logger, &Logger::sampleTaken);
    logger.startRecording();
    EXPECT_EQ(logger.sampleTimer().interval(), 10);
    rig.runTicks(1);
    rig.sources.log.readings = {7, 8}; // the device changes; no readout yet
    rig.runTicks(1);
    logger.onReadoutTimer();
    rig.runTicks(1);
    EXPECT_EQ(samples.count(), 3);
    EXPECT_EQ(rig.csv(), kHeader
                             + "1;128;;12-05-2026;14:03:07\r\n2;128;;12-05-2026;14:03:08\r\n"
                               "3;7;8;12-05-2026;14:03:09\r\n");

    // The disk fills up: the sample waits, then goes out once there is room.
    QSignalSpy waiting(&logger, &Logger::waitingChanged);
    rig.files.writeError = ENOSPC;
    rig.runTicks(1);
    rig.settle();
    EXPECT_EQ(logger.waitingLines(), 1);
    rig.files.writeError = 0;
    rig.settle();
    EXPECT_EQ(logger.waitingLines(), 0);
    EXPECT_EQ(waiting.count(), 2);
    EXPECT_TRUE(rig.csv().endsWith("4;7;8;12-05-2026;14:03:10\r\n"));

    logger.stopRecording();
    EXPECT_FALSE(logger.sampleTimer().isActive());
    logger.onSampleTimer(); // a tick already queued does nothing
    EXPECT_EQ(logger.samples().count(), 4);
}

TEST(LoggerEnd, WhatCannotBeWrittenIsRescuedAndTheNextStartIsTold)
{
    Rig rig;
    Logger &logger = rig.start({std::nullopt, SourceKind::Board, std::nullopt});
    QDir(rig.dir.path()).mkdir(QStringLiteral("sub"));
    logger.useNewRecordingFile(rig.dir.filePath(QStringLiteral("sub/rec.csv")));
    logger.startRecording();
    rig.runTicks(1);
    rig.settle();
    QDir(rig.dir.filePath(QStringLiteral("sub"))).removeRecursively();
    rig.runTicks(2);

    const Logger::Ending ending = logger.shutDown();
    EXPECT_EQ(ending.exitCode(), 3);
    ASSERT_EQ(ending.rescue.files.size(), 1);
    EXPECT_EQ(ending.rescue.lines, 2);
    EXPECT_EQ(readAll(ending.rescue.files[0]),
              kHeader + "2;128;255;12-05-2026;14:03:08\r\n3;128;255;12-05-2026;14:03:09\r\n");
    EXPECT_FALSE(logger.readoutTimer().isActive());
    EXPECT_TRUE(rig.sources.log.calls.endsWith(QStringLiteral("close board")));

    // The next start tells where they are, once.
    EXPECT_TRUE(rig.start().rescuedEarlierNotices().value(0).contains(ending.rescue.files[0]));
    EXPECT_TRUE(rig.start().rescuedEarlierNotices().isEmpty());
}

TEST(LoggerEnd, AHungDiskNeitherHoldsUpTheLoggerNorTheEnd)
{
    Rig rig;
    Logger &logger = rig.start();
    logger.startRecording();
    rig.runTicks(1);
    rig.settle();
    rig.files.blockSyncs(); // a stalled network share
    // A settings save and the sampling go on while the disk does not answer.
    logger.setWindowWidth(7170);
    rig.runTicks(3);
    EXPECT_EQ(logger.samples().count(), 4);
    ASSERT_TRUE(test::eventually([&] { return rig.files.blockedSyncs() == 2; }, false));
    EXPECT_EQ(logger.unconfirmed().value(0).lines, 3);

    const Logger::Ending ending = logger.shutDown();
    EXPECT_TRUE(ending.settingsUnsaved);
    EXPECT_TRUE(logger.stuckOnDisk());
    ASSERT_EQ(ending.rescue.files.size(), 0) << "the rescue folder is on the hung disk too";
    EXPECT_EQ(ending.rescue.lost, 3);
    EXPECT_EQ(ending.exitCode(), 4);
    EXPECT_TRUE(ending.messages().join('\n').contains(QStringLiteral("3 mesure(s) perdues")));

    // With the rescue folder elsewhere, every line is in the file or in the rescue.
    Rig other;
    other.rescueFolders = {other.dir.filePath(QStringLiteral("rescue"))};
    Logger &second = other.start();
    second.startRecording();
    other.runTicks(1);
    other.settle();
    other.files.setFaultyPrefix(other.dir.filePath(QStringLiteral("data_tr.csv")));
    other.files.blockSyncs();
    other.runTicks(2);
    const Logger::Ending kept = second.shutDown();
    ASSERT_EQ(kept.rescue.files.size(), 1) << kept.messages().join('\n').toStdString();
    EXPECT_TRUE(kept.rescue.mayRepeat);
    EXPECT_EQ(readAll(kept.rescue.files[0]), kHeader + "2;0;;12-05-2026;14:03:08\r\n3;0;;12-05-2026;14:03:09\r\n");
}

TEST(LoggerRecording, ANewFileIsUsedAtOnceAndTheOldNameComesBackIfItCannotBeMade)
{
    struct Case {
        const char *what;
        const char *name;
        bool waitingInIt;    // lines of the recording before wait for this very file
        bool recordBefore;   // a recording starts before the outcome is known
        const char *failure; // empty: made
    };
    const Case cases[] = {
        {"a new file", "b.csv", false, false, ""},
        {"recorded into already", "absent/b.csv", false, true, "le dossier n'existe pas"},
        {"the same name, lines waiting", "data_tr.csv", true, false,
         "des mesures attendent encore d'être écrites dans ce fichier"},
    };
    for (const Case &c : cases) {
        Rig rig;
        Logger &logger = rig.start();
        if (c.waitingInIt) {
            logger.startRecording();
            rig.files.writeError = ENOSPC;
            rig.runTicks(1);
            logger.stopRecording();
        }
        QSignalSpy failed(&logger, &Logger::newRecordingFileFailed);
        const QString file = rig.dir.filePath(QLatin1String(c.name));
        logger.useNewRecordingFile(file);
        EXPECT_EQ(logger.settings().recordingFile, file) << c.what; // at once, without waiting for the disk
        if (c.recordBefore)
            logger.startRecording();
        rig.settle();
        const bool made = !*c.failure;
        ASSERT_EQ(failed.count(), made ? 0 : 1) << c.what;
        if (!made) {
            EXPECT_EQ(failed[0][1].toString(), QString::fromUtf8(c.failure))
                << c.what << failed[0][1].toString().toStdString();
        }
        const bool kept = made || c.recordBefore;
        EXPECT_EQ(logger.settings().recordingFile, kept ? file : QStringLiteral("data_tr.csv")) << c.what;
        EXPECT_EQ(readAll(rig.settingsPath).contains(file.toUtf8()), made) << c.what;
        rig.files.writeError = 0;
    }
}

TEST(LoggerSettings, AFailedSaveIsToldOnceAndKeepsTheOldFile)
{
    Rig rig;
    Logger &logger = rig.start();
    rig.settle();
    const QByteArray before = readAll(rig.settingsPath);
    QSignalSpy told(&logger, &Logger::settingsNotSaved);
    rig.files.writeError = ENOSPC;
    logger.chooseInterval(Interval::Hour1);
    logger.chooseInterval(Interval::Hours3);
    rig.settle();
    ASSERT_EQ(told.count(), 1);
    EXPECT_TRUE(told[0][0].toString().contains(QStringLiteral("le disque est plein")));
    EXPECT_EQ(readAll(rig.settingsPath), before);
    EXPECT_EQ(logger.settings().interval, Interval::Hours3); // the choice still holds for this run
}
