// What a user pays per sample with the window shown and painted: the sampling tick, the
// history list, the chart and the readout together, in the steady state of a recording
// (a new sample after other new samples), at 1000, 8000 and 32000 stored samples; beside
// it, the list text rebuilt by repeated prepending, and the resident memory of a full store.
#include "app/Logger.h"
#include "app/MainWindow.h"
#include "core/Clock.h"
#include "core/FileSystem.h"
#include "display/History.h"
#include "settings/SettingsFile.h"
#include "sources/KeyboardSource.h"
#include "ui/Desktop.h"
#include "ui/Look.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

#include <chrono>

using namespace orv;

namespace {

class StepClock final : public Clock {
public:
    qint64 steadyMs() const override { return m_ms; }
    QDateTime localNow() const override { return m_wall.addMSecs(m_ms); }
    void advance(qint64 ms) { m_ms += ms; }

private:
    qint64 m_ms = 0;
    QDateTime m_wall{QDate(2026, 12, 5), QTime(14, 3, 7)};
};

// Lines land nowhere: the disk is on its own thread and measured by bench_sampling.
class NoDisk final : public PosixFileSystem {
public:
    int open(const QString &path, Open mode, int &fd) override
    {
        if (path.endsWith(QLatin1String(".cfg")))
            return PosixFileSystem::open(path, mode, fd);
        fd = 1000;
        return 0;
    }
    int write(int fd, QByteArrayView data) override { return fd == 1000 ? 0 : PosixFileSystem::write(fd, data); }
    int size(int, qint64 &bytes) override
    {
        bytes = 0;
        return 0;
    }
    int sync(int fd) override { return fd == 1000 ? 0 : PosixFileSystem::sync(fd); }
    int close(int fd) override { return fd == 1000 ? 0 : PosixFileSystem::close(fd); }
};

// The same, with a sync that takes 200 ms (a USB stick, a network share).
class SlowDisk final : public PosixFileSystem {
public:
    int sync(int fd) override
    {
        QThread::msleep(200);
        return PosixFileSystem::sync(fd);
    }
};

class KeyboardOnly final : public SourceFactory {
public:
    std::unique_ptr<Source> make(SourceKind, const TestValue &testValue) override
    {
        return std::make_unique<KeyboardSource>(testValue);
    }
};

class Quiet final : public Desktop {
public:
    void beep() override {}
    bool askYesNo(QWidget *, const QString &, orv::QuestionText &) override { return true; }
    void tellBeforeEnd(const QString &, const QString &) override {}
    void inform(QWidget *, const QString &, const QString &) override {}
    bool openLink(const QString &) override { return false; }
};

class NoDialog final : public SaveDialog {
public:
    std::optional<QString> askSaveName(QWidget *, const SaveRequest &) override { return std::nullopt; }
};

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

// The program with its window on a fake clock, shown wide so the chart paints too.
struct Program {
    QTemporaryDir dir;
    StepClock clock;
    KeyboardOnly sources;
    Quiet desktop;
    NoDialog dialog;
    SettingsFile settings;
    Logger logger;
    MainWindow window;

    explicit Program(FileSystem &files)
        : settings(files, dir.filePath(QStringLiteral("orvtr.cfg")), QString())
        , logger({clock, files, sources, settings, {dir.filePath(QStringLiteral("rescue"))}})
        , window(logger, {desktop, dialog})
    {
        logger.startUp({std::nullopt, std::nullopt, dir.filePath(QStringLiteral("rec.csv"))});
        window.showStartUp();
        window.onChartToggled();
        window.show();
        eventLoopTurn();
    }
    // One second of a recording at 1 s: the sample, two readout ticks, the paint.
    void second()
    {
        logger.testValue().increase();
        clock.advance(logger.sampleTimer().interval());
        logger.onSampleTimer();
        logger.onReadoutTimer();
        logger.onReadoutTimer();
        eventLoopTurn();
    }
};

void BM_SteadySamplePaintedAt(benchmark::State &state)
{
    NoDisk disk;
    Program program(disk);
    const int stored = static_cast<int>(state.range(0));
    constexpr int kMeasured = 64;
    for (auto _ : state) {
        program.window.onRecordClicked(); // a new recording, then samples up to the count
        while (program.logger.recorder().store().count() < stored - kMeasured) {
            program.clock.advance(program.logger.sampleTimer().interval());
            program.logger.onSampleTimer();
        }
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
    SlowDisk disk;
    Program program(disk);
    program.window.onRecordClicked();
    for (auto _ : state)
        program.second();
    program.logger.shutDown();
}
BENCHMARK(BM_SampleWithA200msSync)->Unit(benchmark::kMicrosecond)->Iterations(20);

// Resident memory: the program as started, then with a full store.
void BM_ResidentMemoryOfAFullStore(benchmark::State &state)
{
    NoDisk disk;
    Program program(disk);
    const double empty = residentMB();
    for (auto _ : state) {
        program.window.onRecordClicked();
        while (program.logger.recording()) {
            program.clock.advance(program.logger.sampleTimer().interval());
            program.logger.onSampleTimer();
        }
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
    QApplication::setStyle(QStringLiteral("Fusion"));
    installFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
