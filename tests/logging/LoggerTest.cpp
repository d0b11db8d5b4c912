// SPDX-License-Identifier: GPL-3.0-or-later
// The logger without a window: start-up, choices, the sampling and readout ticks, the end.
#include "LoggerRig.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <cerrno>

using namespace orv;
using test::readAll;

const QByteArray kHeader("N\xB0Record;Valeur1;Valeur2;Date;Time\r\n");

TEST(Logger, StoredChoicesApplyAtOnceEachNewChoiceIsSavedOnceAFailedSaveIsToldOnce)
{
    // Stored serial source at 15 minutes: in effect at once, the port opened once, the
    // file not rewritten; a damaged width is not rewritten either.
    test::LoggerRig rig;
    const QByteArray stored("\"NE PAS MODIFIER CE FICHIER\",\"x.csv\",4,2,abc\r\n");
    ASSERT_TRUE(test::writeFile(rig.settingsPath, stored));
    Logger &logger = rig.start();
    EXPECT_EQ(logger.settings().interval, Interval::Minutes15);
    EXPECT_EQ(logger.maintenanceTimer().interval(), 10000);
    rig.settle();
    EXPECT_EQ(readAll(rig.settingsPath), stored);
    EXPECT_TRUE(logger.damagedSettingsNotice().contains(QStringLiteral("endommagé")));

    logger.chooseSource(SourceKind::Serial); // the port in use stays as it is
    logger.chooseInterval(Interval::Minute1);
    logger.chooseSource(SourceKind::Board);
    EXPECT_EQ(rig.sources.log.calls, (QStringList{"open serial", "close serial", "open board"}));
    EXPECT_FALSE(logger.maintenanceTimer().isActive());
    rig.settle();
    EXPECT_EQ(readAll(rig.settingsPath), QByteArray("\"NE PAS MODIFIER CE FICHIER\",\"x.csv\",3,1,3600\r\n"));

    // A failed save is told once; the choice still holds for this run.
    QSignalSpy told(&logger, &Logger::settingsNotSaved);
    rig.files.writeError = ENOSPC;
    logger.chooseInterval(Interval::Hour1);
    logger.chooseInterval(Interval::Hours3);
    rig.settle();
    ASSERT_EQ(told.count(), 1);
    EXPECT_TRUE(told[0][0].toString().contains(QStringLiteral("le disque est plein")));
    EXPECT_EQ(logger.settings().interval, Interval::Hours3);
}

TEST(LoggerRecording, SamplesHoldWhatTheSourceGaveTheFirstOneAPollOfItsOwn)
{
    test::LoggerRig rig;
    Logger &logger = rig.start({std::nullopt, SourceKind::Board, std::nullopt});
    // No readout tick has run: the first sample must not be blank for it.
    rig.sources.log.readings = {128, std::nullopt};
    logger.startRecording();
    rig.runTicks(1);
    rig.sources.log.readings = {7, 8}; // the device changes; no readout yet
    rig.runTicks(1);
    logger.onReadoutTimer();
    rig.runTicks(1);
    EXPECT_EQ(rig.file(QStringLiteral("data_tr.csv")),
              kHeader
                  + "1;128;;12-05-2026;14:03:07\r\n2;128;;12-05-2026;14:03:08\r\n"
                    "3;7;8;12-05-2026;14:03:09\r\n");
    logger.stopRecording();
    EXPECT_FALSE(logger.sampleTimer().isActive());
    logger.onSampleTimer(); // a tick already queued does nothing
    EXPECT_EQ(logger.samples().count(), 3);

    // Without a window nothing runs between samples: each sample reads the device itself,
    // and a missing device is looked for only while it is missing.
    test::LoggerRig quiet;
    Logger &headless = quiet.start({std::nullopt, SourceKind::Serial, std::nullopt}, Logger::Reading::Samples);
    headless.startRecording();
    for (qint32 value : {5, 6}) {
        quiet.sources.log.readings = {value, std::nullopt};
        quiet.runTicks(1);
    }
    EXPECT_TRUE(
        quiet.file(QStringLiteral("data_tr.csv")).endsWith("1;5;;12-05-2026;14:03:07\r\n2;6;;12-05-2026;14:03:08\r\n"));
    EXPECT_FALSE(headless.readoutTimer().isActive());
    EXPECT_FALSE(headless.maintenanceTimer().isActive());
    quiet.sources.log.missing = true; // the adapter is pulled
    quiet.sources.log.changed();
    EXPECT_TRUE(headless.maintenanceTimer().isActive());
    quiet.sources.log.missing = false;
    headless.onMaintenanceTimer();
    EXPECT_FALSE(headless.maintenanceTimer().isActive()) << "found again";
}

TEST(LoggerEnd, AHungDiskNeitherHoldsUpTheLoggerNorTheEnd)
{
    test::LoggerRig rig;
    Logger &logger = rig.start({std::nullopt, SourceKind::Board, std::nullopt});
    logger.startRecording();
    rig.runTicks(1);
    rig.settle();
    rig.files.blockSyncs(); // a stalled network share
    // A settings save and the sampling go on while the disk does not answer.
    logger.setWindowWidth(7170);
    rig.runTicks(3);
    EXPECT_EQ(logger.samples().count(), 4);
    ASSERT_TRUE(test::within(
        5000, [&] { return rig.files.blockedSyncs() == 2; }, false));

    const Logger::Ending ending = logger.shutDown();
    EXPECT_TRUE(ending.settingsUnsaved);
    EXPECT_TRUE(logger.stuckOnDisk());
    EXPECT_TRUE(rig.sources.log.calls.endsWith(QStringLiteral("close board")));
    ASSERT_EQ(ending.rescue.files.size(), 0) << "the rescue folder is on the hung disk too";
    EXPECT_EQ(ending.rescue.lost, 3); // told as in the quit question's case where no folder takes them
}
