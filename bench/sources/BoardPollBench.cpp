// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeBoardTransport.h"

#include "sources/BoardSource.h"
#include "sources/LibusbTransport.h"

#include <benchmark/benchmark.h>

namespace {

using orv::test::FakeBoardTransport;

// The source's own cost: a fake board with two reports arriving per poll.
void PollWithFakeBoard(benchmark::State &bench)
{
    FakeBoardTransport fake;
    fake.plugged = true;
    orv::BoardSource source(fake);
    orv::Readings readings;
    for (auto _ : bench) {
        fake.reports = {FakeBoardTransport::report(4, 1, 2), FakeBoardTransport::report(4, 128, 255)};
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
    const std::unique_ptr<orv::BoardTransport> libusb = orv::makeLibusbTransport();
    orv::BoardSource source(*libusb);
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
        const std::unique_ptr<orv::BoardTransport> libusb = orv::makeLibusbTransport();
        orv::BoardSource source(*libusb);
        source.open();
        benchmark::DoNotOptimize(libusb->isOpen());
    }
}
BENCHMARK(FirstOpenWithLibusbAndNoBoard)->Unit(benchmark::kMicrosecond);

} // namespace
