// Cost of one sampling tick with a full store, without the disk, and of the durable write
// of one line beside it.
#include "core/Clock.h"
#include "core/FileSystem.h"
#include "core/LineFile.h"
#include "core/Recorder.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace orv;

namespace {

// Time moves one second per call, so every tick takes a sample.
class SecondsClock final : public Clock {
public:
    qint64 steadyMs() const override { return m_ms; }
    QDateTime localNow() const override { return m_wall; }
    void step() { m_ms += 1000; }

private:
    qint64 m_ms = 0;
    QDateTime m_wall{QDate(2026, 12, 5), QTime(14, 3, 7)};
};

// Every write lands nowhere: what is left is the tick itself.
class NoDisk final : public PosixFileSystem {
public:
    int open(const QString &, Open, int &fd) override
    {
        fd = 1000;
        return 0;
    }
    int write(int, QByteArrayView) override { return 0; }
    int writeAt(int, qint64, QByteArrayView) override { return 0; }
    int status(int, Status &out) override
    {
        out = {};
        return 0;
    }
    int sync(int) override { return 0; }
    int close(int) override { return 0; }
};

void BM_TickWithAFullStoreWithoutDisk(benchmark::State &state)
{
    SecondsClock clock;
    NoDisk disk;
    Recorder recorder(clock, disk, {});
    const Readings readings{128, 255};
    for (auto _ : state) {
        state.PauseTiming();
        recorder.start(samplingPlan(Interval::Second1), QStringLiteral("data_tr.csv"));
        for (int i = 0; i < SampleStore::Capacity - 1; ++i) {
            clock.step();
            recorder.tick(readings);
        }
        clock.step();
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
