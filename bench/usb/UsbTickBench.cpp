#include "FakeBoardTransport.h"

#include "core/ProgramState.h"
#include "sources/usb/LibusbTransport.h"
#include "sources/usb/USB.h"

#include <benchmark/benchmark.h>

namespace {

using orv::test::FakeBoardTransport;

// The board layer's own cost: a fake board with two reports queued per tick.
void TickWithFakeBoard(benchmark::State &bench)
{
    auto transport = std::make_unique<FakeBoardTransport>();
    FakeBoardTransport &fake = *transport;
    fake.plug();
    orv::K8055Board board(std::move(transport));
    orv::ProgramState state;
    orv::USB usb(state, board);
    for (auto _ : bench) {
        fake.queue(FakeBoardTransport::report(4, 1, 2));
        fake.queue(FakeBoardTransport::report(4, 128, 255));
        usb.usb_ouvre();
        usb.usb_lit();
        fake.clearCalls();
        benchmark::DoNotOptimize(state.readings.value1);
    }
    if (state.readings.missing1)
        bench.SkipWithError("the fake board did not answer");
}
BENCHMARK(TickWithFakeBoard);

// What every tick costs the window on a machine with the board unplugged.
void TickWithLibusbAndNoBoard(benchmark::State &bench)
{
    orv::K8055Board board(orv::makeLibusbTransport());
    orv::ProgramState state;
    orv::USB usb(state, board);
    usb.usb_ouvre(); // start-up: starts libusb outside the measured ticks
    for (auto _ : bench) {
        usb.usb_ouvre();
        usb.usb_lit();
        benchmark::DoNotOptimize(state.readings.missing1);
    }
    if (!state.readings.missing1)
        bench.SkipWithError("a K8055 board at address 3 answered");
}
BENCHMARK(TickWithLibusbAndNoBoard)->Unit(benchmark::kMicrosecond);

// Start-up's first usb_ouvre, which also starts libusb; paid once per run.
void FirstOpenWithLibusbAndNoBoard(benchmark::State &bench)
{
    for (auto _ : bench) {
        orv::K8055Board board(orv::makeLibusbTransport());
        benchmark::DoNotOptimize(board.OpenDevice(3));
    }
}
BENCHMARK(FirstOpenWithLibusbAndNoBoard)->Unit(benchmark::kMicrosecond);

} // namespace
