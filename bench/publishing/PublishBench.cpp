// SPDX-License-Identifier: GPL-3.0-or-later
// What publishing costs, against a real Mosquitto started here on a free loopback port:
// CPU per sample on the sampling path (the copy into the queue) and on the client's thread
// (JSON, packets, acknowledgements); the JSON alone; and the program's wakeups while
// connected and idle, against the same time without publishing.
#include "MosquittoBroker.h"
#include "core/FileSystem.h"
#include "publishing/Publisher.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

#include <ctime>
#include <sys/resource.h>

using namespace orv;

namespace {

double processCpuUs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e6
           + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
}

double threadCpuUs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

// Voluntary context switches of every thread of the process: its wakeups.
long wakeups()
{
    long total = 0;
    for (const QString &task : QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile status(QStringLiteral("/proc/self/task/%1/status").arg(task));
        if (!status.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.startsWith("voluntary_ctxt_switches:"))
                total += line.mid(24).trimmed().toLong();
    }
    return total;
}

bool waitUntil(int ms, const std::function<bool()> &condition)
{
    const QDeadlineTimer deadline(ms);
    while (!condition() && !deadline.hasExpired())
        QThread::msleep(5);
    return condition();
}

// A broker of the bench's own (tests/support), with its own configuration: no system service.
BrokerAddress address(const test::MosquittoBroker &broker)
{
    BrokerAddress b;
    b.host = QStringLiteral("127.0.0.1");
    b.port = broker.port();
    b.topicPrefix = QStringLiteral("orvalin/banc");
    return b;
}

bool settled(const Publisher &publisher)
{
    return !publisher.summary().contains(QStringLiteral("en attente"));
}

SampleMessage message(int n)
{
    SampleMessage m;
    m.number = n;
    m.sample.value1 = 128;
    m.sample.setDate(QDate(2026, 12, 7));
    m.sample.setTime(QTime(14, 3, 7).addSecs(n % 3600));
    m.first.setDate(QDate(2026, 12, 7));
    m.first.setTime(QTime(14, 3, 7));
    return m;
}

// The sampling path: CPU of the thread that adds. The client thread's CPU per sample, once
// everything is acknowledged, is the "client_us" counter.
void BM_SamplingPathAndClientThread(benchmark::State &state)
{
    test::MosquittoBroker broker;
    QTemporaryDir rescue;
    PosixFileSystem files;
    Publisher publisher(address(broker), {files, {rescue.path()}});
    bool connected = false;
    QObject::connect(&publisher, &Publisher::notice, [&] { connected = true; });
    publisher.start();
    waitUntil(5000, [&] {
        QCoreApplication::processEvents();
        return connected;
    });
    const double process0 = processCpuUs();
    const double thread0 = threadCpuUs();
    int n = 0;
    for (auto _ : state)
        publisher.add(message(++n));
    const bool all = waitUntil(60000, [&] { return settled(publisher); });
    const double here = threadCpuUs() - thread0;
    state.counters["client_us"] = (processCpuUs() - process0 - here) / n;
    if (!all)
        state.SkipWithError("the broker did not acknowledge every sample within a minute");
}
BENCHMARK(BM_SamplingPathAndClientThread)->Unit(benchmark::kMicrosecond)->Iterations(20000);

// The JSON of one sample, on the client thread.
void BM_SampleJson(benchmark::State &state)
{
    const SampleMessage m = message(12);
    for (auto _ : state)
        benchmark::DoNotOptimize(sampleJson(m));
}
BENCHMARK(BM_SampleJson)->Unit(benchmark::kMicrosecond);

// Wakeups of the whole process per minute over range(1) seconds, idle: connected with a
// keep-alive of range(0) seconds, or (range(0) = 0) without any publisher.
void BM_IdleWakeupsPerMinute(benchmark::State &state)
{
    const int keepAlive = static_cast<int>(state.range(0));
    const int seconds = static_cast<int>(state.range(1));
    test::MosquittoBroker broker;
    QTemporaryDir rescue;
    PosixFileSystem files;
    PublishTuning tuning;
    tuning.keepAliveS = std::max(keepAlive, 5);
    std::unique_ptr<Publisher> publisher;
    if (keepAlive > 0) {
        publisher = std::make_unique<Publisher>(address(broker), Publisher::Services{files, {rescue.path()}}, tuning);
        publisher->start();
        publisher->add(message(1));
        waitUntil(5000, [&] { return settled(*publisher); });
        QThread::msleep(500); // the acknowledgements of the latest and of the state
    }
    for (auto _ : state) {
        const long before = wakeups();
        QThread::sleep(static_cast<unsigned long>(seconds));
        state.SetIterationTime(seconds);
        state.counters["wakeups_per_min"] = static_cast<double>(wakeups() - before) * 60.0 / seconds;
    }
}
BENCHMARK(BM_IdleWakeupsPerMinute)
    ->Args({0, 20})
    ->Args({60, 20})
    ->Args({5, 20})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
