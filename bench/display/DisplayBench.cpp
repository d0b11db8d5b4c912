// The history list and trace at a full store: one sample's update against a full rebuild
// and against rebuilding the text by repeated prepending, line after line.
#include "display/History.h"
#include "display/Trace.h"

#include <QApplication>
#include <QDate>
#include <QTime>
#include <QPlainTextEdit>

#include <benchmark/benchmark.h>

#include <chrono>
#include <sys/resource.h>

using namespace orv;

namespace {

Sample sampleOf(int i)
{
    Sample s{i % 256, 255 - i % 256, {}, {}};
    s.setDate(QDate(2026, 12, 5));
    s.setTime(QTime(14, 3, 7));
    return s;
}

SampleStore &fullStore()
{
    static SampleStore store = [] {
        SampleStore s;
        for (int i = 1; i <= SampleStore::Capacity; ++i)
            s.append(sampleOf(i));
        return s;
    }();
    return store;
}

double g_prependSeconds = 0;

// The whole list rebuilt by putting each new line in front of the text so far.
void BM_RepeatedPrependRebuild32000(benchmark::State &state)
{
    const SampleStore &store = fullStore();
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        QString text;
        for (int i = 0; i <= store.count(); ++i)
            text = historyLine(store.at(i)) + QLatin1String("\r\n") + text;
        benchmark::DoNotOptimize(text);
        g_prependSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    }
}
BENCHMARK(BM_RepeatedPrependRebuild32000)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_FullRebuild32000(benchmark::State &state)
{
    QPlainTextEdit edit;
    HistoryList list(edit.document());
    SampleStore &store = fullStore();
    const auto t0 = std::chrono::steady_clock::now();
    for (auto _ : state) {
        list.clear();
        list.update(store);
    }
    const double perRebuild = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count()
        / static_cast<double>(state.iterations());
    if (g_prependSeconds > 0)
        state.counters["prepend_over_rebuild"] = g_prependSeconds / perRebuild;
}
BENCHMARK(BM_FullRebuild32000)->Unit(benchmark::kMillisecond)->Iterations(5);

// What one new sample costs at 32000: its line in front of the widget's text, and the trace.
void BM_OneSampleUpdate32000(benchmark::State &state)
{
    QPlainTextEdit edit;
    edit.resize(201, 145);
    HistoryList list(edit.document());
    SampleStore &store = fullStore();
    double seconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        SampleStore shorter;
        for (int i = 1; i < SampleStore::Capacity; ++i)
            shorter.append(store.at(i));
        list.clear();
        list.update(shorter);
        state.ResumeTiming();
        const auto t0 = std::chrono::steady_clock::now();
        list.update(store);
        benchmark::DoNotOptimize(tracePolylines(store));
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    }
    const double perUpdate = seconds / static_cast<double>(state.iterations());
    if (g_prependSeconds > 0)
        state.counters["prepend_over_update"] = g_prependSeconds / perUpdate;
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_OneSampleUpdate32000)->Unit(benchmark::kMicrosecond)->Iterations(30);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
