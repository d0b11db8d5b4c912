// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Recorder.h"

#include "core/Clock.h"
#include "core/Texts.h"

namespace orv {

Recorder::Recorder(const Clock &clock, FileSystem &files, const QStringList &rescueFolders)
    : m_clock(clock)
    , m_writer(files, clock, {rescueFolders})
{
}

void Recorder::start(const SamplingPlan &plan, const QString &file)
{
    m_plan = plan;
    m_file = file;
    m_store.clear();
    m_schedule.start(m_clock.steadyMs(), plan.intervalMs);
    m_nextSampleTick = 0;
    m_recording = true;
}

Recorder::Tick Recorder::tick(const Readings &readings)
{
    Tick result;
    if (!m_recording)
        return result;
    const qint64 now = m_clock.steadyMs();
    const qint64 tick = m_schedule.tickAt(now);
    if (tick >= m_nextSampleTick) {
        if (m_store.full()) {
            // Nothing goes beyond the last slot.
            m_recording = false;
            result.stoppedFull = true;
            return result;
        }
        Sample sample;
        sample.value1 = readings.value1;
        sample.value2 = readings.value2;
        // Two reads of the clock, date first, as the file has always been stamped.
        sample.setDate(m_clock.localNow().date());
        sample.setTime(m_clock.localNow().time());
        const int number = m_store.append(sample);
        m_writer.append(m_file, recordingLine(number, sample));
        const qint64 perSample = m_plan.ticksPerSample;
        if (now - m_schedule.dueAt(m_nextSampleTick) > LateSampleMs) {
            // Back from a stall (a stopped process, a suspended machine): the grid starts
            // again at this sample, so the next one is a whole interval away, never two
            // samples in the same second.
            m_schedule.realign(now);
            m_nextSampleTick = perSample;
        } else {
            m_nextSampleTick = (tick / perSample + 1) * perSample;
        }
        result.sampleTaken = true;
    }
    // Straight to the next sample: the ticks between two samples of a long interval would
    // only wake the process for nothing.
    const qint64 later = m_schedule.dueAt(m_nextSampleTick) - m_clock.steadyMs();
    result.delayMs = later > 0 ? static_cast<int>(std::min<qint64>(later, std::numeric_limits<int>::max()))
                               : m_schedule.delayAfter(m_clock.steadyMs());
    return result;
}

} // namespace orv
