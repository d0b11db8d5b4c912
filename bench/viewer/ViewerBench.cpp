// SPDX-License-Identifier: GPL-3.0-or-later
// The viewer's costs: reading a recording file of 32000 lines and one of 3,200,000 lines
// (100 recordings, 110 MB) with the resident memory it takes, one line appended while the
// file is followed, a redraw of the chart after a pan or a zoom at both sizes (ours, and
// Qt Charts fed the same decimated points), and the .xlsx export of 32000 lines.
#include "core/Texts.h"
#include "recordings/RecordingReader.h"
#include "recordings/XlsxExport.h"
#include "viewer/ChartPainter.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#ifdef ORVALIN_BENCH_QT_CHARTS
#include <QChart>
#include <QGraphicsScene>
#include <QLineSeries>
#include <QValueAxis>
#endif

#include <benchmark/benchmark.h>

#include <fstream>

using namespace orv;

namespace {

// Resident memory of this process now and at its peak, in MB.
double memoryMb(const char *field)
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        double kb = 0;
        if (key == field && status >> kb)
            return kb / 1024;
    }
    return 0;
}

// A file as the program writes it: recordings of 32000 samples a second apart, the board
// readings wandering, an empty value 2 now and then (the board did not answer).
QString recordingFile(const QTemporaryDir &dir, int recordings)
{
    const QString path = dir.filePath(QStringLiteral("bench-%1.csv").arg(recordings));
    if (QFile::exists(path))
        return path;
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(recordingHeader());
    QByteArray chunk;
    QDateTime at(QDate(2026, 12, 7), QTime(14, 3, 7));
    for (int r = 0; r < recordings; ++r) {
        for (int n = 1; n <= 32000; ++n) {
            Sample s;
            s.value1 = 100 + (n * 7 + r) % 50 + (n % 997 == 0 ? 100 : 0);
            if (n % 53 != 0)
                s.value2 = 500 + (n * 13) % 400;
            s.setDate(at.date());
            s.setTime(at.time());
            chunk += recordingLine(n, s);
            at = at.addSecs(1);
            if (chunk.size() > (1 << 20)) {
                f.write(chunk);
                chunk.clear();
            }
        }
        at = at.addSecs(3600);
    }
    f.write(chunk);
    return path;
}

QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    return dir;
}

void readFile(benchmark::State &state)
{
    const QString path = recordingFile(folder(), static_cast<int>(state.range(0)));
    PosixRecordingFiles files;
    const double before = memoryMb("VmRSS:");
    double taken = 0;
    for (auto _ : state) {
        RecordingReader reader(files, path);
        const RecordingReader::Update u = reader.load();
        benchmark::DoNotOptimize(u.samples->size());
        taken = std::max(taken, memoryMb("VmRSS:") - before);
    }
    state.counters["file_MB"] = static_cast<double>(QFile(path).size()) / (1 << 20);
    state.counters["load_MB"] = taken; // resident growth while the samples are held
    state.counters["process_peak_MB"] = memoryMb("VmHWM:");
}
BENCHMARK(readFile)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(3);

// One line appended to a followed file of 32000 lines: the poll that reads it, the samples
// and the min/max index that take it.
void followOneLine(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("follow.csv"));
    QFile::copy(recordingFile(folder(), 1), path);
    PosixRecordingFiles files;
    RecordingReader reader(files, path);
    SampleTable table = *reader.load().samples;
    MinMaxIndex index;
    index.extend(table);
    QFile out(path);
    out.open(QIODevice::Append);
    Sample s;
    s.value1 = 1;
    s.setDate(QDate(2026, 12, 9));
    int n = 32001;
    for (auto _ : state) {
        state.PauseTiming();
        s.setTime(QTime(0, 0).addSecs(n));
        out.write(recordingLine(n++, s));
        out.flush();
        state.ResumeTiming();
        const RecordingReader::Update u = reader.poll();
        table.append(*u.samples);
        index.extend(table);
    }
}
BENCHMARK(followOneLine)->Unit(benchmark::kMicrosecond);

struct Loaded {
    SampleTable table;
    MinMaxIndex index;
};

Loaded &loaded(int recordings)
{
    static std::map<int, Loaded> cache;
    Loaded &l = cache[recordings];
    if (l.table.empty()) {
        PosixRecordingFiles files;
        RecordingReader reader(files, recordingFile(folder(), recordings));
        l.table = *reader.load().samples;
        l.index.extend(l.table);
    }
    return l;
}

// A frame of our chart, 1600 by 900, each one after a pan by a tenth (arg 1) or a zoom
// step of the wheel (arg 2) over all the samples.
void redrawChart(benchmark::State &state)
{
    Loaded &l = loaded(static_cast<int>(state.range(0)));
    ChartScene scene;
    scene.table = &l.table;
    scene.index = &l.index;
    scene.samples = {0, l.table.size()};
    const auto [from, to] = wholeTimeRange(l.table, scene.samples);
    QImage image(1600, 900, QImage::Format_RGB32);
    double span = (to - from) / 2;
    scene.from = from;
    for (auto _ : state) {
        if (state.range(1) == 1) {
            scene.from = scene.from + span / 10 > to - span ? from : scene.from + span / 10;
        } else {
            span = span * 0.8 < 60 ? (to - from) : span * 0.8;
            scene.from = from + (to - from - span) / 2;
        }
        scene.to = scene.from + span;
        QPainter p(&image);
        paintChart(p, image.size(), scene);
    }
    state.counters["samples"] = static_cast<double>(l.table.size());
}
BENCHMARK(redrawChart)->Args({1, 1})->Args({1, 2})->Args({100, 1})->Args({100, 2})->Unit(benchmark::kMillisecond);

#ifdef ORVALIN_BENCH_QT_CHARTS
// Qt Charts fed the same decimated points, after the same pan, one series per run: an empty
// field or the end of a recording must break a line, and a QLineSeries cannot.
void redrawQtCharts(benchmark::State &state)
{
    Loaded &l = loaded(static_cast<int>(state.range(0)));
    const RecordingSpan all{0, l.table.size()};
    const auto [from, to] = wholeTimeRange(l.table, all);
    QChart chart;
    chart.legend()->hide();
    auto *time = new QValueAxis;
    auto *y1 = new QValueAxis;
    auto *y2 = new QValueAxis;
    chart.addAxis(time, Qt::AlignBottom);
    chart.addAxis(y1, Qt::AlignLeft);
    chart.addAxis(y2, Qt::AlignRight);
    QGraphicsScene graphics;
    graphics.addItem(&chart);
    chart.resize(1600, 900);
    QImage image(1600, 900, QImage::Format_RGB32);
    double span = (to - from) / 2, start = from;
    std::size_t series = 0;
    for (auto _ : state) {
        start = start + span / 10 > to - span ? from : start + span / 10;
        const auto lines = decimate(l.table, l.index, all, start, start + span, 1472);
        chart.removeAllSeries();
        series = 0;
        for (int s = 0; s < 2; ++s) {
            const Polyline &line = lines[static_cast<std::size_t>(s)];
            // Arg 2 = 0: one series a value, the gaps drawn over, the least Qt Charts can do.
            const std::size_t runs = state.range(1) == 0 ? 1 : line.runStarts.size();
            for (std::size_t r = 0; r < runs; ++r) {
                const auto first = line.runStarts[r];
                const auto last = r + 1 < runs ? line.runStarts[r + 1] : static_cast<qsizetype>(line.points.size());
                auto *run = new QLineSeries;
                run->replace(QList<QPointF>(line.points.begin() + first, line.points.begin() + last));
                chart.addSeries(run);
                run->attachAxis(time);
                run->attachAxis(s == 0 ? y1 : y2);
                ++series;
            }
        }
        time->setRange(0, 1472);
        y1->setRange(lines[0].extremes.min, lines[0].extremes.max);
        y2->setRange(lines[1].extremes.min, lines[1].extremes.max);
        QPainter p(&image);
        graphics.render(&p);
    }
    graphics.removeItem(&chart);
    state.counters["series"] = static_cast<double>(series);
}
BENCHMARK(redrawQtCharts)
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({100, 0})
    ->Args({100, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
#endif

void exportWorkbook(benchmark::State &state)
{
    Loaded &l = loaded(1);
    QTemporaryDir dir;
    for (auto _ : state)
        benchmark::DoNotOptimize(exportXlsx(l.table, dir.filePath(QStringLiteral("out.xlsx"))));
}
BENCHMARK(exportWorkbook)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
