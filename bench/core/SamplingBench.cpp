// Cost of one sampling tick with a full store, without the display, and of its durable write.
#include "core/RecordingFile.h"
#include "core/SampleStore.h"
#include "core/Texts.h"

#include <QDateTime>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace orv;

namespace {

SampleStore &fullStore()
{
    static SampleStore store = [] {
        SampleStore s;
        for (int i = 1; i <= SampleStore::Capacity; ++i)
            s.slot(i) = Sample{qint32(i % 256), qint32(255 - i % 256), "12-05-2026", "14:03:07"};
        s.setCount(SampleStore::Capacity - 1);
        return s;
    }();
    return store;
}

// Store the sample and build its line: everything but the display and the disk.
void BM_TickWithoutDisk(benchmark::State &state)
{
    SampleStore &store = fullStore();
    const QDateTime now(QDate(2026, 12, 5), QTime(14, 3, 7));
    for (auto _ : state) {
        store.setCount(SampleStore::Capacity - 1);
        const int n = store.count() + 1;
        store.setCount(static_cast<qint16>(n));
        Sample &s = store.slot(n);
        s.value1 = qint32(128);
        s.value2 = qint32(255);
        s.date = dateText(now).toStdString();
        s.time = timeText(now).toStdString();
        benchmark::DoNotOptimize(recordingLine(n, s));
    }
}
BENCHMARK(BM_TickWithoutDisk);

// Open, append, flush to the disk, close: the durable write of one line.
void BM_DurableAppend(benchmark::State &state)
{
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-XXXXXX"));
    const QString name = dir.filePath(QStringLiteral("data_tr.csv"));
    RecordingFile file;
    const QByteArray line("32000;128;255;12-05-2026;14:03:07\r\n");
    for (auto _ : state)
        file.append(name, line);
}
BENCHMARK(BM_DurableAppend)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
