// SPDX-License-Identifier: GPL-3.0-or-later
// What a user pays per sample with the window shown and painted: the sampling tick, the
// history list, the chart and the readout together, in the steady state of a recording
// (a new sample after other new samples), at 1000, 8000 and 32000 stored samples; beside
// it, the list text rebuilt by repeated prepending, and the resident memory of a full store.
#include "FakeDesktop.h"
#include "LoggerRig.h"
#include "display/History.h"
#include "ui/Look.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QFile>

#include <benchmark/benchmark.h>

#include <chrono>

using namespace orv;

namespace {

double residentMB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

void eventLoopTurn()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The program with its window on a fake clock, shown wide so the chart paints too. The disk
// is the real one, on the writer's own thread; bench_sampling measures it.
struct Program {
    test::LoggerRig rig;
    test::FakeDesktop desktop;
    test::FakeSaveDialog dialog;
    Logger &logger = rig.make();
    MainWindow window{logger, {desktop, dialog}};

    explicit Program(int syncDelayMs = 0)
    {
        rig.files.syncDelayMs = syncDelayMs;
        rig.files.skipSync = syncDelayMs == 0;
        logger.startUp({std::nullopt, std::nullopt, rig.dir.filePath(QStringLiteral("rec.csv"))});
        window.showStartUp();
        window.onChartToggled();
        window.show();
        eventLoopTurn();
    }
    // One second of a recording at 1 s: the sample, two readout ticks, the paint.
    void second()
    {
        logger.pressTestKey(u'+');
        rig.runTicks(1);
        logger.onReadoutTimer();
        logger.onReadoutTimer();
        eventLoopTurn();
    }
};

void BM_SteadySamplePaintedAt(benchmark::State &state)
{
    Program program;
    const int stored = static_cast<int>(state.range(0));
    constexpr int kMeasured = 64;
    for (auto _ : state) {
        program.window.onRecordClicked(); // a new recording, then samples up to the count
        while (program.logger.samples().count() < stored - kMeasured)
            program.rig.runTicks(1);
        eventLoopTurn();
        for (int i = 0; i < 8; ++i) // into the steady state
            program.second();
        const auto t0 = std::chrono::steady_clock::now();
        for (int i = 8; i < kMeasured; ++i)
            program.second();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        state.SetIterationTime(seconds / (kMeasured - 8));
        program.window.onRecordClicked();
    }
    state.counters["stored"] = stored;
}
BENCHMARK(BM_SteadySamplePaintedAt)
    ->Arg(1000)
    ->Arg(8000)
    ->Arg(32000)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(3);

// What the sample costs the window while each line waits 200 ms for its sync.
void BM_SampleWithA200msSync(benchmark::State &state)
{
    Program program(200);
    program.window.onRecordClicked();
    for (auto _ : state)
        program.second();
    program.logger.shutDown();
}
BENCHMARK(BM_SampleWithA200msSync)->Unit(benchmark::kMicrosecond)->Iterations(20);

// Resident memory: the program as started, then with a full store.
void BM_ResidentMemoryOfAFullStore(benchmark::State &state)
{
    Program program;
    const double empty = residentMB();
    for (auto _ : state) {
        program.window.onRecordClicked();
        while (program.logger.recording())
            program.rig.runTicks(1);
        eventLoopTurn();
    }
    state.counters["rss_empty_MB"] = empty;
    state.counters["rss_full_MB"] = residentMB();
    state.counters["bytes_per_sample"] = (residentMB() - empty) * 1024 * 1024 / SampleStore::Capacity;
}
BENCHMARK(BM_ResidentMemoryOfAFullStore)->Unit(benchmark::kMillisecond)->Iterations(1);

// The list text built as a line in front of all the text so far, for every sample.
void BM_RepeatedPrependRebuild32000(benchmark::State &state)
{
    SampleStore store;
    for (int i = 1; i <= SampleStore::Capacity; ++i) {
        Sample s{i % 256, std::nullopt, {}, {}};
        s.setDate(QDate(2026, 12, 5));
        s.setTime(QTime(14, 3, 7));
        store.append(s);
    }
    for (auto _ : state) {
        QString text;
        for (int i = 0; i <= store.count(); ++i)
            text = historyLine(store.at(i)) + QLatin1String("\r\n") + text;
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_RepeatedPrependRebuild32000)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    useProgramLook();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
