#include "FakeBoardTransport.h"

#include "sources/BoardSource.h"
#include "sources/LibusbTransport.h"

#include <benchmark/benchmark.h>

namespace {

using orv::test::FakeBoardTransport;

// The board layer's own cost: a fake board with two reports queued per poll.
void PollWithFakeBoard(benchmark::State &bench)
{
    auto transport = std::make_unique<FakeBoardTransport>();
    FakeBoardTransport &fake = *transport;
    fake.plugged = true;
    orv::K8055Board board(std::move(transport));
    orv::BoardSource source(board);
    orv::Readings readings;
    for (auto _ : bench) {
        fake.queued = {FakeBoardTransport::report(4, 1, 2), FakeBoardTransport::report(4, 128, 255)};
        readings = source.poll();
        fake.calls.clear();
        benchmark::DoNotOptimize(readings);
    }
    if (!readings.value1)
        bench.SkipWithError("the fake board did not answer");
}
BENCHMARK(PollWithFakeBoard);

// What every poll costs the window on a machine with the board unplugged.
void PollWithLibusbAndNoBoard(benchmark::State &bench)
{
    orv::K8055Board board(orv::makeLibusbTransport());
    orv::BoardSource source(board);
    source.open(); // starts libusb outside the measured polls
    orv::Readings readings;
    for (auto _ : bench) {
        readings = source.poll();
        benchmark::DoNotOptimize(readings);
    }
    if (readings.value1)
        bench.SkipWithError("a K8055 board at address 3 answered");
}
BENCHMARK(PollWithLibusbAndNoBoard)->Unit(benchmark::kMicrosecond);

// The source's first open, which also starts libusb; paid once per run.
void FirstOpenWithLibusbAndNoBoard(benchmark::State &bench)
{
    for (auto _ : bench) {
        orv::K8055Board board(orv::makeLibusbTransport());
        benchmark::DoNotOptimize(board.OpenDevice(orv::BoardSource::kCardAddress));
    }
}
BENCHMARK(FirstOpenWithLibusbAndNoBoard)->Unit(benchmark::kMicrosecond);

} // namespace
