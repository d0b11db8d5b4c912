// SPDX-License-Identifier: GPL-3.0-or-later
// The recorder on a fake clock: when samples are taken, what they hold, and the file.
#include "core/Recorder.h"

#include "FakeClock.h"
#include "FaultyFileSystem.h"
#include "Helpers.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace orv;

namespace {

// Runs the sampling timer as the event loop would: each tick when the last one said, or at
// once when the process comes back from a stall after its time.
struct Recording {
    QTemporaryDir dir;
    test::FakeClock clock;
    test::FaultyFileSystem files;
    Recorder recorder{clock, files, {}};
    qint64 due = 0;
    bool stoppedFull = false;

    QString path(const char *name = "rec.csv") const { return dir.filePath(QLatin1String(name)); }
    QByteArray file(const char *name = "rec.csv")
    {
        recorder.writer().drain();
        return test::readAll(path(name));
    }

    void start(Interval interval, const char *file = "rec.csv")
    {
        recorder.start(samplingPlan(interval), path(file));
        due = clock.steadyMs() + TickSchedule::FirstTickMs;
    }
    void run(qint64 ms, const Readings &readings = {})
    {
        const qint64 end = clock.steadyMs() + ms;
        while (recorder.recording() && due <= end) {
            if (due > clock.steadyMs())
                clock.advance(due - clock.steadyMs());
            const Recorder::Tick t = recorder.tick(readings);
            due = clock.steadyMs() + t.delayMs;
            stoppedFull = stoppedFull || t.stoppedFull;
        }
        clock.advance(end - clock.steadyMs());
    }
    QStringList sampleTimes() const
    {
        QStringList times;
        for (int i = 1; i <= recorder.store().count(); ++i)
            times << QString(recorder.store().at(i).timeText());
        return times;
    }
};

} // namespace

TEST(Recorder, SamplesFollowTheirPlanForEveryInterval)
{
    struct Case {
        Interval interval;
        qint64 runMs;
        QStringList times;
    };
    const Case cases[] = {
        {Interval::Second1, 2'500, {"14:03:07", "14:03:08", "14:03:09"}},
        {Interval::Seconds10, 25'000, {"14:03:07", "14:03:17", "14:03:27"}},
        {Interval::Minute1, 150'000, {"14:03:07", "14:04:07", "14:05:07"}},
        {Interval::Minutes15, 35 * 60'000, {"14:03:07", "14:18:07", "14:33:07"}},
        {Interval::Minutes30, 59 * 60'000, {"14:03:07", "14:33:07"}},
        {Interval::Hour1, 9'000'000, {"14:03:07", "15:03:07", "16:03:07"}},
        {Interval::Hours3, 7 * 3'600'000, {"14:03:07", "17:03:07", "20:03:07"}},
        {Interval::Hours6, 13 * 3'600'000, {"14:03:07", "20:03:07", "02:03:07"}},
        {Interval::Hours12, 25 * 3'600'000, {"14:03:07", "02:03:07", "14:03:07"}},
        {Interval::Hours24, 47 * 3'600'000, {"14:03:07", "14:03:07"}},
    };
    for (const Case &c : cases) {
        Recording r;
        r.start(c.interval);
        r.run(c.runMs, {1, 2});
        EXPECT_EQ(r.sampleTimes(), c.times) << static_cast<int>(c.interval);
    }
}

TEST(Recorder, AStalledProcessGivesOneSampleOnResumeThenOneIntervalLater)
{
    struct Case {
        Interval interval;
        qint64 startMs, beforeMs, stallMs, afterMs;
        const char *times;
    };
    const Case cases[] = {
        // Grid at .900 of each second, stopped 6 s, back at 13.2 s: the next sample at 14.2,
        // not at 13.9 with the same stamp.
        {Interval::Second1, 890, 100, 5'210, 1'000, "14:03:07 14:03:13 14:03:14"},
        // Stopped 20 min across the 15-minute sample: one on resume, the next 15 min later.
        {Interval::Minutes15, 0, 60'000, 20 * 60'000, 15 * 60'000, "14:03:07 14:24:07 14:39:07"},
    };
    for (const Case &c : cases) {
        Recording r;
        r.clock.advance(c.startMs);
        r.start(c.interval);
        r.run(c.beforeMs);
        r.clock.advance(c.stallMs); // the process stood still: its timer fires late
        r.run(c.afterMs);
        EXPECT_EQ(r.sampleTimes().join(' '), QLatin1String(c.times)) << static_cast<int>(c.interval);
    }
}

TEST(Recorder, AFullStoreStopsTheRecordingAtTheLastSlot)
{
    Recording r;
    r.files.skipSync = true; // 32000 syncs would only make the test slow
    r.start(Interval::Second1, "full.csv");
    r.run(qint64(SampleStore::Capacity + 5) * 1000, {7, 8});
    EXPECT_TRUE(r.stoppedFull);
    EXPECT_EQ(r.recorder.store().count(), SampleStore::Capacity);
    const QByteArray file = r.file("full.csv");
    EXPECT_EQ(file.count('\n'), SampleStore::Capacity + 1);
    EXPECT_TRUE(file.endsWith("32000;7;8;12-05-2026;22:56:26\r\n"));
}
