// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Choices.h"
#include "core/Readings.h"
#include "core/RecordingWriter.h"
#include "core/SampleStore.h"
#include "core/TickSchedule.h"

#include <QString>

namespace orv {

class Clock;
class FileSystem;

// A recording without its window: the sample store, the tick grid with its sampling plan
// and the writer of the recording file, which writes on a thread of its own.
// Whoever runs the sampling timer calls tick() when the timer fires and waits the delay it
// returns.
class Recorder {
public:
    // Far beyond a busy machine's timer delay, well within a second.
    static constexpr qint64 LateSampleMs = 100;

    Recorder(const Clock &clock, FileSystem &files, const QStringList &rescueFolders);

    // Starts a recording into `file`: the store starts again from zero, the first tick is
    // due 10 ms from now.
    void start(const SamplingPlan &plan, const QString &file);
    void stop() { m_recording = false; }
    bool recording() const { return m_recording; }

    struct Tick {
        bool sampleTaken = false;
        bool stoppedFull = false; // a sample was due after the last slot: the recording stopped
        int delayMs = 0;          // until the next sample is due, while recording
    };
    // A sample is due at the grid ticks 0, N, 2N, ... (N ticks per sample). A sample taken
    // more than LateSampleMs after it was due stands for all the due ones that passed, and
    // the grid starts again from it: the next one is a whole interval later. The sample
    // holds exactly `readings` and the date and time now. The delay returned leads to the
    // next sample's tick.
    Tick tick(const Readings &readings);

    const SampleStore &store() const { return m_store; }
    RecordingWriter &writer() { return m_writer; }
    const RecordingWriter &writer() const { return m_writer; }

private:
    const Clock &m_clock;
    SampleStore m_store;
    TickSchedule m_schedule;
    RecordingWriter m_writer;
    SamplingPlan m_plan;
    QString m_file;
    qint64 m_nextSampleTick = 0;
    bool m_recording = false;
};

} // namespace orv
