// SPDX-License-Identifier: GPL-3.0-or-later
// The recording reader on any bytes: it never fails, reads the same whether the bytes come
// at once or in two pieces (a file read in chunks, or followed as it grows), every sample
// it keeps writes back as a line it reads the same, and the chart's decimation keeps at
// most two points a column within the samples' extremes.
#include "FuzzChecks.h"
#include "FuzzSupport.h"

#include "recordings/Decimation.h"
#include "recordings/RecordingParser.h"

namespace orv::fuzz {

namespace {

struct Read {
    SampleTable table;
    ReadNotes notes;
};

Read readInPieces(QByteArrayView bytes, qsizetype split)
{
    Read r;
    RecordingParser parser;
    QByteArray pending;
    for (QByteArrayView piece : {bytes.first(split), bytes.sliced(split)}) {
        pending += piece;
        pending.remove(0, parser.feed(pending, r.table));
    }
    parser.finish(pending, r.table);
    r.notes = parser.notes();
    return r;
}

QByteArray lineOf(const SampleTable &t, qsizetype i)
{
    QByteArray out = "1;";
    for (int s = 0; s < 2; ++s) {
        if (t.value(s, i) != kNoValue)
            out += QByteArray::number(t.value(s, i));
        out += ';';
    }
    return out + fileDate(t.time(i)).toLatin1() + ';' + fileTime(t.time(i)).toLatin1() + "\r\n";
}

} // namespace

void checkRecording(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    const Read whole = readInPieces(bytes, 0);
    const Read split = readInPieces(bytes, size > 0 ? data[0] % static_cast<qsizetype>(size) : 0);
    const SampleTable &t = whole.table;
    require(split.table.times() == t.times() && split.table.values(0) == t.values(0)
                && split.table.values(1) == t.values(1) && split.table.recordings() == t.recordings(),
            "samples differ when the bytes come in two pieces");
    require(split.notes == whole.notes, "notes differ when the bytes come in two pieces",
            describeNotes(whole.notes).toUtf8() + " / " + describeNotes(split.notes).toUtf8());

    qsizetype covered = 0;
    for (const RecordingSpan &r : t.recordings()) {
        require(r.first == covered && r.count > 0, "recordings do not cover the samples one after the other");
        covered = r.end();
    }
    require(covered == t.size(), "recordings do not cover every sample");
    const auto &named = whole.notes.notSampleLines;
    for (std::size_t k = 0; k < named.size(); ++k)
        require(named[k] >= 1 && named[k] <= whole.notes.lines && (k == 0 || named[k] > named[k - 1]),
                "lines that are not samples are not named in order");

    MinMaxIndex::Extremes all[2];
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QByteArray line = lineOf(t, i);
        RecordingParser again;
        SampleTable one;
        require(again.feed(line, one) == line.size() && one.size() == 1 && one.time(0) == t.time(i)
                    && one.value(0, 0) == t.value(0, i) && one.value(1, 0) == t.value(1, i),
                "a sample written back as a line reads differently", line);
        for (int s = 0; s < 2; ++s)
            if (t.value(s, i) != kNoValue)
                all[s].take({t.value(s, i), t.value(s, i)});
    }

    if (t.empty())
        return;
    MinMaxIndex index;
    index.extend(t);
    const int width = 37;
    const auto lines = decimate(t, index, {0, t.size()}, static_cast<double>(t.time(0)) - 0.5,
                                static_cast<double>(t.time(t.size() - 1)) + 0.5, width);
    for (int s = 0; s < 2; ++s) {
        const Polyline &l = lines[static_cast<std::size_t>(s)];
        require(l.points.size() <= 2 * width + 2, "more than two points a column");
        for (const QPointF &p : l.points)
            require(p.y() >= all[s].min && p.y() <= all[s].max, "a drawn point beyond the samples' extremes");
    }
}

} // namespace orv::fuzz
