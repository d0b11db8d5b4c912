// SPDX-License-Identifier: GPL-3.0-or-later
#include "recordings/RecordingParser.h"

#include <algorithm>
#include <cstring>

namespace orv {

namespace {

enum class LineKind { Sample, Header, Blank, Other };

struct Parsed {
    qint64 number = 0;
    qint32 values[2] = {kNoValue, kNoValue};
    WallSeconds time = 0;
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

QByteArrayView trimmed(QByteArrayView f)
{
    qsizetype b = 0, e = f.size();
    while (b < e && isBlank(f[b]))
        ++b;
    while (e > b && isBlank(f[e - 1]))
        --e;
    return f.sliced(b, e - b);
}

bool digitsOf(QByteArrayView f, qint64 &out, int maxDigits)
{
    if (f.isEmpty() || f.size() > maxDigits)
        return false;
    qint64 v = 0;
    for (char c : f) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
    }
    out = v;
    return true;
}

bool valueOf(QByteArrayView f, qint32 &out)
{
    if (f.isEmpty()) {
        out = kNoValue;
        return true;
    }
    const bool negative = f[0] == '-';
    qint64 magnitude = 0;
    if (!digitsOf(negative ? f.sliced(1) : f, magnitude, 10))
        return false;
    const qint64 v = negative ? -magnitude : magnitude;
    // kNoValue itself is refused: it marks the empty field.
    if (v <= kNoValue || v > std::numeric_limits<qint32>::max())
        return false;
    out = static_cast<qint32>(v);
    return true;
}

int two(const char *p)
{
    return (p[0] >= '0' && p[0] <= '9' && p[1] >= '0' && p[1] <= '9') ? (p[0] - '0') * 10 + (p[1] - '0') : -1;
}

bool leapYear(int y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

// MM-DD-YYYY and HH:MM:SS.
bool timeOf(QByteArrayView date, QByteArrayView clock, WallSeconds &out)
{
    if (date.size() != 10 || clock.size() != 8 || date[2] != '-' || date[5] != '-' || clock[2] != ':'
        || clock[5] != ':')
        return false;
    const char *d = date.data();
    const char *c = clock.data();
    const int month = two(d), day = two(d + 3), century = two(d + 6), year2 = two(d + 8);
    const int hour = two(c), minute = two(c + 3), second = two(c + 6);
    if (month < 1 || month > 12 || day < 1 || century < 0 || year2 < 0 || hour < 0 || hour > 23 || minute < 0
        || minute > 59 || second < 0 || second > 59)
        return false;
    const int year = century * 100 + year2;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (day > kDays[month - 1] + (month == 2 && leapYear(year) ? 1 : 0))
        return false;
    out = wallSeconds(year, month, day, hour, minute, second);
    return true;
}

// "N°Record;Valeur1;Valeur2;Date;Time" whatever became of the degree sign (one byte in
// Windows-1252, two in UTF-8, a replacement character, a plain "o").
bool isHeader(QByteArrayView line)
{
    static constexpr QByteArrayView kRest("record;valeur1;valeur2;date;time");
    if (line.isEmpty() || (line[0] != 'N' && line[0] != 'n'))
        return false;
    for (qsizetype skip = 1; skip <= 4 && skip + kRest.size() <= line.size(); ++skip) {
        const QByteArrayView rest = line.sliced(skip);
        if (rest.first(kRest.size()).compare(kRest, Qt::CaseInsensitive) != 0)
            continue;
        // Spreadsheets may add empty columns.
        return std::all_of(rest.begin() + kRest.size(), rest.end(), [](char c) { return c == ';' || isBlank(c); });
    }
    return false;
}

LineKind parseLine(QByteArrayView line, Parsed &out)
{
    if (line.startsWith("\xEF\xBB\xBF"))
        line = line.sliced(3);
    line = trimmed(line);
    if (line.isEmpty())
        return LineKind::Blank;
    QByteArrayView fields[5];
    int n = 0;
    qsizetype from = 0;
    for (;;) {
        const qsizetype semi = line.indexOf(';', from);
        const QByteArrayView field = trimmed(line.sliced(from, (semi < 0 ? line.size() : semi) - from));
        if (n < 5)
            fields[n] = field;
        else if (!field.isEmpty())
            return LineKind::Other; // only empty fields may follow the five
        ++n;
        if (semi < 0)
            break;
        from = semi + 1;
    }
    if (n >= 5 && digitsOf(fields[0], out.number, 10) && out.number >= 1 && valueOf(fields[1], out.values[0])
        && valueOf(fields[2], out.values[1]) && timeOf(fields[3], fields[4], out.time))
        return LineKind::Sample;
    return isHeader(line) ? LineKind::Header : LineKind::Other;
}

} // namespace

QString describeNotes(const ReadNotes &notes)
{
    QStringList out;
    if (notes.notSamples > 0) {
        QStringList numbers;
        for (qint64 l : notes.notSampleLines)
            numbers << QString::number(l);
        const qint64 others = notes.notSamples - static_cast<qint64>(notes.notSampleLines.size());
        if (others > 0)
            numbers << QStringLiteral("… (et %1 autres)").arg(groupedCount(others));
        const QString list = numbers.join(QStringLiteral(", "));
        out << (notes.notSamples == 1
                    ? QStringLiteral("1 ligne n'est pas une mesure et est ignorée : ligne %1.").arg(list)
                    : QStringLiteral("%1 lignes ne sont pas des mesures et sont ignorées : lignes %2.")
                          .arg(groupedCount(notes.notSamples), list));
    }
    if (notes.cutLine > 0)
        out << QStringLiteral("La dernière ligne (ligne %1) est incomplète, sans doute coupée par un arrêt "
                              "brutal : elle est ignorée.")
                   .arg(notes.cutLine);
    return out.join(u'\n');
}

void RecordingParser::takeLine(QByteArrayView line, SampleTable &table)
{
    ++m_notes.lines;
    Parsed p;
    switch (line.size() > kMaxLine ? LineKind::Other : parseLine(line, p)) {
    case LineKind::Sample: {
        // A recording is a run of numbers from 1; a number that does not go up starts another.
        const bool starts = m_lastNumber == 0 || p.number <= m_lastNumber;
        if (table.empty() && !starts)
            table.setContinuesEarlier(true);
        table.add(p.time, p.values[0], p.values[1], starts);
        m_lastNumber = p.number;
        return;
    }
    case LineKind::Header: m_notes.headerSeen = true; return;
    case LineKind::Blank: return;
    case LineKind::Other:
        ++m_notes.notSamples;
        if (m_notes.notSampleLines.size() < ReadNotes::kLinesNamed)
            m_notes.notSampleLines.push_back(m_notes.lines);
        return;
    }
}

qsizetype RecordingParser::feed(QByteArrayView bytes, SampleTable &table)
{
    qsizetype at = 0;
    if (m_lineEndOwed && !bytes.isEmpty()) {
        m_lineEndOwed = false;
        if (bytes.startsWith("\r\n"))
            at = 2;
        else if (bytes[0] == '\n' || bytes[0] == '\r')
            at = 1;
    }
    const char *data = bytes.data();
    while (at < bytes.size()) {
        const void *nl = std::memchr(data + at, '\n', static_cast<std::size_t>(bytes.size() - at));
        if (!nl) {
            // A line longer than any sample will not become one: skip it without keeping it.
            if (m_inLongLine)
                return bytes.size();
            if (bytes.size() - at > kMaxLine) {
                takeLine(bytes.sliced(at), table);
                m_inLongLine = true;
                return bytes.size();
            }
            break;
        }
        const qsizetype end = static_cast<const char *>(nl) - data;
        if (m_inLongLine)
            m_inLongLine = false;
        else
            takeLine(bytes.sliced(at, end - at), table);
        at = end + 1;
    }
    return at;
}

qsizetype RecordingParser::finish(QByteArrayView tail, SampleTable &table)
{
    m_notes.cutLine = 0;
    if (tail.isEmpty() || m_inLongLine)
        return 0;
    Parsed p;
    if (parseLine(tail, p) == LineKind::Sample) {
        takeLine(tail, table);
        m_lineEndOwed = true;
        return tail.size();
    }
    if (trimmed(tail).isEmpty())
        return 0;
    m_notes.cutLine = m_notes.lines + 1;
    return 0;
}

} // namespace orv
