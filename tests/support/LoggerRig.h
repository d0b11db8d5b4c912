// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FakeClock.h"
#include "FakeSources.h"
#include "FaultyFileSystem.h"
#include "Helpers.h"
#include "logging/Logger.h"
#include "settings/SettingsFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <memory>

namespace orv::test {

// A logger on fakes, in a folder of its own that is also the current directory.
struct LoggerRig {
    QTemporaryDir dir;
    QString previousDir = QDir::currentPath();
    FakeClock clock;
    FaultyFileSystem files;
    FakeSourceFactory sources;
    QString settingsPath = dir.filePath(QStringLiteral("orvtr.cfg"));
    SettingsFile settingsFile{files, settingsPath, dir.filePath(QStringLiteral("user/orvtr.cfg"))};
    std::unique_ptr<Logger> logger;

    LoggerRig() { QDir::setCurrent(dir.path()); }
    ~LoggerRig()
    {
        files.releaseSyncs(); // a thread left waiting on the disk can end
        logger.reset();
        QDir::setCurrent(previousDir);
    }
    // Short enough for a test, long enough for a disk that answers.
    EndingTimes ending{300, 300};
    QStringList rescueFolders{dir.filePath(QStringLiteral("rescue"))};

    Logger &make()
    {
        logger = std::make_unique<Logger>(LoggerServices{clock, files, sources, settingsFile, rescueFolders, ending});
        return *logger;
    }
    Logger &start(const Logger::Overrides &overrides = {}, Logger::Reading reading = Logger::Reading::Readout)
    {
        make().startUp(overrides, reading);
        return *logger;
    }
    // Runs the sampling timer for `ticks` ticks, each when it is due.
    void runTicks(int ticks)
    {
        for (int i = 0; i < ticks && logger->sampleTimer().isActive(); ++i) {
            clock.advance(logger->sampleTimer().interval());
            logger->onSampleTimer();
        }
    }
    // The writer's thread has tried everything and said so.
    void settle()
    {
        // What the disk's answer sets off (a save after a new file) is settled too.
        for (int round = 0; round < 3; ++round) {
            logger->waitForWrites();
            QCoreApplication::sendPostedEvents();
        }
    }
    QByteArray file(const QString &name)
    {
        settle();
        return readAll(dir.filePath(name));
    }
};

} // namespace orv::test
