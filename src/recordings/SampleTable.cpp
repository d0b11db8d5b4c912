// SPDX-License-Identifier: GPL-3.0-or-later
#include "recordings/SampleTable.h"

#include <algorithm>
#include <map>

namespace orv {

namespace {

constexpr qint64 kDay = 86400;

// Days from 01-01-1970 of a proleptic Gregorian date (H. Hinnant's days_from_civil).
qint64 daysFromCivil(qint64 y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const qint64 era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<qint64>(doe) - 719468;
}

QString two(int v)
{
    return QString::number(v).rightJustified(2, u'0');
}

} // namespace

WallSeconds wallSeconds(int year, int month, int day, int hour, int minute, int second)
{
    return daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) * kDay + hour * 3600
           + minute * 60 + second;
}

CivilTime civil(WallSeconds t)
{
    qint64 days = t / kDay;
    qint64 secs = t % kDay;
    if (secs < 0) {
        secs += kDay;
        --days;
    }
    // H. Hinnant's civil_from_days.
    const qint64 z = days + 719468;
    const qint64 era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    const qint64 y = static_cast<qint64>(yoe) + era * 400 + (m <= 2);
    return {static_cast<int>(y),
            static_cast<int>(m),
            static_cast<int>(d),
            static_cast<int>(secs / 3600),
            static_cast<int>(secs / 60 % 60),
            static_cast<int>(secs % 60)};
}

qsizetype SampleTable::recordingOf(qsizetype i) const
{
    const auto it = std::upper_bound(m_recordings.begin(), m_recordings.end(), i,
                                     [](qsizetype index, const RecordingSpan &r) { return index < r.first; });
    return it == m_recordings.begin() ? 0 : static_cast<qsizetype>(it - m_recordings.begin()) - 1;
}

void SampleTable::reserve(qsizetype samples)
{
    const auto n = static_cast<std::size_t>(samples);
    m_times.reserve(n);
    m_values[0].reserve(n);
    m_values[1].reserve(n);
}

void SampleTable::add(WallSeconds time, qint32 value1, qint32 value2, bool startsRecording)
{
    if (startsRecording || m_recordings.empty())
        m_recordings.push_back({size(), 0});
    ++m_recordings.back().count;
    m_times.push_back(time);
    m_values[0].push_back(value1);
    m_values[1].push_back(value2);
}

void SampleTable::append(const SampleTable &more)
{
    const qsizetype offset = size();
    m_times.insert(m_times.end(), more.m_times.begin(), more.m_times.end());
    for (std::size_t s = 0; s < 2; ++s)
        m_values[s].insert(m_values[s].end(), more.m_values[s].begin(), more.m_values[s].end());
    auto spans = more.m_recordings.begin();
    if (more.m_continuesEarlier && !m_recordings.empty() && spans != more.m_recordings.end())
        m_recordings.back().count += (spans++)->count;
    for (; spans != more.m_recordings.end(); ++spans)
        m_recordings.push_back({spans->first + offset, spans->count});
}

SpanSummary summarize(const SampleTable &table, RecordingSpan span)
{
    SpanSummary s;
    s.count = span.count;
    if (span.count == 0)
        return s;
    s.start = table.time(span.first);
    s.end = table.time(span.end() - 1);
    for (int k = 0; k < 2; ++k) {
        SeriesSummary &out = s.series[static_cast<std::size_t>(k)];
        const qint32 *v = table.values(k).data();
        qint64 sum = 0;
        qint32 lo = std::numeric_limits<qint32>::max(), hi = std::numeric_limits<qint32>::min();
        for (qsizetype i = span.first; i < span.end(); ++i) {
            if (v[i] == kNoValue)
                continue;
            ++out.measured;
            sum += v[i];
            lo = std::min(lo, v[i]);
            hi = std::max(hi, v[i]);
        }
        if (out.measured > 0) {
            out.min = lo;
            out.max = hi;
            out.mean = static_cast<double>(sum) / static_cast<double>(out.measured);
        }
    }
    // The usual step: the commonest of the first hundred steps, so one stall or a clock
    // change does not decide it.
    std::map<qint64, int> steps;
    for (qsizetype i = span.first + 1; i < std::min(span.end(), span.first + 101); ++i)
        if (const qint64 d = table.time(i) - table.time(i - 1); d > 0)
            ++steps[d];
    if (!steps.empty())
        s.interval = std::max_element(steps.begin(), steps.end(), [](const auto &a, const auto &b) {
                         return a.second < b.second;
                     })->first;
    return s;
}

QString fileDate(WallSeconds t)
{
    const CivilTime c = civil(t);
    return two(c.month) + u'-' + two(c.day) + u'-' + QString::number(c.year).rightJustified(4, u'0');
}

QString fileTime(WallSeconds t)
{
    const CivilTime c = civil(t);
    return two(c.hour) + u':' + two(c.minute) + u':' + two(c.second);
}

QString frenchDateTime(WallSeconds t)
{
    const CivilTime c = civil(t);
    return two(c.day) + u'/' + two(c.month) + u'/' + QString::number(c.year).rightJustified(4, u'0') + u' '
           + fileTime(t);
}

QString groupedCount(qsizetype n)
{
    QString digits = QString::number(n);
    for (qsizetype at = digits.size() - 3; at > (n < 0 ? 1 : 0); at -= 3)
        digits.insert(at, u' ');
    return digits;
}

QString intervalText(qint64 seconds)
{
    QStringList parts;
    if (seconds >= 3600)
        parts << QStringLiteral("%1 h").arg(seconds / 3600);
    if (seconds % 3600 >= 60)
        parts << QStringLiteral("%1 min").arg(seconds % 3600 / 60);
    if (seconds % 60 != 0 || seconds == 0)
        parts << QStringLiteral("%1 s").arg(seconds % 60);
    return parts.join(u' ');
}

namespace {

QString spanText(const SpanSummary &s)
{
    QString text = fileDate(s.start) + u' ' + fileTime(s.start) + QStringLiteral(" → ");
    if (civil(s.end).day != civil(s.start).day || s.end - s.start >= kDay)
        text += fileDate(s.end) + u' ';
    text += fileTime(s.end) + QStringLiteral(", ") + groupedCount(s.count)
            + (s.count == 1 ? QStringLiteral(" mesure") : QStringLiteral(" mesures"));
    return text;
}

} // namespace

QString recordingTitle(int number, const SpanSummary &s)
{
    QString text = QStringLiteral("Enregistrement %1 : ").arg(number) + spanText(s);
    if (s.interval)
        text += QStringLiteral(", intervalle ") + intervalText(*s.interval);
    return text;
}

QString allRecordingsTitle(int recordings, const SpanSummary &s)
{
    if (s.count == 0)
        return QStringLiteral("Tous les enregistrements : aucune mesure pour l'instant");
    return QStringLiteral("Tous les enregistrements (%1) : ").arg(recordings) + spanText(s);
}

} // namespace orv
