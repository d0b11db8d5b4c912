// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of one sampling tick with a full store, the disk's work left to the writer's thread,
// and of the durable write of one line beside it.
#include "FakeClock.h"
#include "FaultyFileSystem.h"
#include "core/LineFile.h"
#include "core/Recorder.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace orv;

namespace {

void BM_TickWithAFullStoreWithoutDisk(benchmark::State &state)
{
    QTemporaryDir dir;
    test::FakeClock clock;
    test::FaultyFileSystem disk;
    disk.skipSync = true;
    Recorder recorder(clock, disk, {});
    const Readings readings{128, 255};
    for (auto _ : state) {
        state.PauseTiming();
        recorder.start(samplingPlan(Interval::Second1), dir.filePath(QStringLiteral("data_tr.csv")));
        for (int i = 0; i < SampleStore::Capacity - 1; ++i) {
            clock.advance(1000);
            recorder.tick(readings);
        }
        recorder.writer().drain(); // the writer's thread idle again
        clock.advance(1000);
        state.ResumeTiming();
        benchmark::DoNotOptimize(recorder.tick(readings));
    }
}
BENCHMARK(BM_TickWithAFullStoreWithoutDisk)->Unit(benchmark::kMicrosecond)->Iterations(20);

// Open, append, sync, close: the durable write of one line on this machine's disk.
void BM_DurableAppend(benchmark::State &state)
{
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-XXXXXX"));
    PosixFileSystem disk;
    LineFile file{dir.filePath(QStringLiteral("data_tr.csv")), {}, {}};
    const std::vector<QByteArray> line{"32000;128;255;12-05-2026;14:03:07\r\n"};
    std::optional<Fragment> fragment;
    for (auto _ : state)
        benchmark::DoNotOptimize(appendLines(disk, file, line, {}, fragment));
}
BENCHMARK(BM_DurableAppend)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
