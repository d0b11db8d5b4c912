// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <array>
#include <limits>
#include <optional>
#include <vector>

namespace orv {

// A value nobody measured (an empty field). The reader refuses this number in a file, so it
// never stands for a measurement.
inline constexpr qint32 kNoValue = std::numeric_limits<qint32>::min();

// Date and time of a sample as the file writes them, local wall-clock time without a zone,
// counted in seconds from 01-01-1970 00:00:00 as if it were UTC: a chart, a cell of a
// spreadsheet and a label all show exactly the text of the file.
using WallSeconds = qint64;

// One recording: a run of record numbers from 1, as the positions of its samples.
struct RecordingSpan {
    qsizetype first = 0;
    qsizetype count = 0;
    qsizetype end() const { return first + count; }
    friend bool operator==(const RecordingSpan &, const RecordingSpan &) = default;
};

// The samples of a file, one column per field (16 bytes a sample, so a file of 3 million
// lines fits in about 50 MB), and the recordings they fall into.
class SampleTable {
public:
    qsizetype size() const { return static_cast<qsizetype>(m_times.size()); }
    bool empty() const { return m_times.empty(); }
    WallSeconds time(qsizetype i) const { return m_times[static_cast<std::size_t>(i)]; }
    // series 0 is value 1, series 1 value 2; kNoValue when the field was empty.
    qint32 value(int series, qsizetype i) const
    {
        return m_values[static_cast<std::size_t>(series)][static_cast<std::size_t>(i)];
    }
    const std::vector<WallSeconds> &times() const { return m_times; }
    const std::vector<qint32> &values(int series) const { return m_values[static_cast<std::size_t>(series)]; }
    const std::vector<RecordingSpan> &recordings() const { return m_recordings; }
    // The recording that holds sample i.
    qsizetype recordingOf(qsizetype i) const;

    void reserve(qsizetype samples);
    void add(WallSeconds time, qint32 value1, qint32 value2, bool startsRecording);
    // Samples read after these, in file order. When more began inside the last recording of
    // this table (it was read from a later part of the file), its first span continues it.
    void append(const SampleTable &more);
    void setContinuesEarlier(bool c) { m_continuesEarlier = c; }

private:
    std::vector<WallSeconds> m_times;
    std::array<std::vector<qint32>, 2> m_values;
    std::vector<RecordingSpan> m_recordings;
    bool m_continuesEarlier = false;
};

// What a spreadsheet's summary and the list of recordings say of a run of samples.
struct SeriesSummary {
    qsizetype measured = 0; // samples with a value; min, mean and max only when > 0
    qint32 min = 0;
    qint32 max = 0;
    double mean = 0;
};
struct SpanSummary {
    WallSeconds start = 0;
    WallSeconds end = 0;
    qsizetype count = 0;
    std::optional<qint64> interval; // the usual step between two samples, in seconds
    std::array<SeriesSummary, 2> series;
};
SpanSummary summarize(const SampleTable &table, RecordingSpan span);

// Texts of the list and of the chart, in French.
QString fileDate(WallSeconds t);       // MM-DD-YYYY, as the file writes it
QString fileTime(WallSeconds t);       // HH:MM:SS
QString frenchDateTime(WallSeconds t); // 07/12/2026 14:03:07
QString groupedCount(qsizetype n);     // 14 400
QString intervalText(qint64 seconds);  // 1 s, 15 min, 1 h 30 min
// "Enregistrement 3 : 12-07-2026 14:03:07 → 18:11:16, 14 400 mesures, intervalle 1 s"
QString recordingTitle(int number, const SpanSummary &s);
QString allRecordingsTitle(int recordings, const SpanSummary &s);

// Calendar arithmetic on WallSeconds without a time zone.
WallSeconds wallSeconds(int year, int month, int day, int hour, int minute, int second);
struct CivilTime {
    int year, month, day, hour, minute, second;
};
CivilTime civil(WallSeconds t);

} // namespace orv
