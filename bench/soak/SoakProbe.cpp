// Full recordings through the shown main window on a fake clock, as the soak test runs
// them, measured: heap in use and resident memory after each, and the time per sample
// over the first and the last thousand samples of each. Reports, asserts nothing.
//
//   soak_probe [folder [recordings]]
//     folder       where the recording file goes (default: the temporary folder;
//                  /dev/shm leaves the disk's sync time out of the figures)
//     recordings   how many full recordings in a row (default 2)
#include "Fakes.h"

#include <QApplication>
#include <QFile>
#include <QStandardPaths>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <malloc.h>
#include <numeric>
#include <vector>

using namespace orv;
using namespace orv::test;

namespace {

double kib(std::size_t bytes) { return static_cast<double>(bytes) / 1024.0; }

std::size_t heapInUse() { return mallinfo2().uordblks; }

std::size_t residentBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return static_cast<std::size_t>(line.mid(6).trimmed().split(' ').first().toULongLong()) * 1024;
    return 0;
}

double meanMicros(const std::vector<double> &us, std::size_t from, std::size_t to)
{
    return std::accumulate(us.begin() + static_cast<std::ptrdiff_t>(from), us.begin() + static_cast<std::ptrdiff_t>(to), 0.0)
        / static_cast<double>(to - from);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 1 && argv[1][0] != '\0')
        qputenv("TMPDIR", argv[1]);
    const int recordings = argc > 2 ? std::max(1, std::atoi(argv[2])) : 2;
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);

    Rig rig;
    Orvalin &w = rig.start();
    // Shown and with its events handled after every tick, as under the event loop: the
    // list and the chart paint, and what the widgets post or delete later is done.
    w.show();
    auto eventLoopTurn = [] {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    eventLoopTurn();
    std::printf("soak: %d recordings of 32000 samples, file in %s\n", recordings, qPrintable(rig.dir.path()));
    std::printf("  after start-up:    heap %9.0f KiB   resident %9.0f KiB\n", kib(heapInUse()), kib(residentBytes()));

    for (int recording = 1; recording <= recordings; ++recording) {
        w.CmdRecord_Click();
        std::vector<double> us;
        us.reserve(SampleStore::Capacity);
        while (w.store().count() < SampleStore::Capacity && w.ui().Timer1->isActive()) {
            const auto t0 = std::chrono::steady_clock::now();
            rig.runTicks(1);
            eventLoopTurn();
            us.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count());
        }
        rig.runTicks(1); // the 32001st, refused
        eventLoopTurn();
        const bool refused = !w.ui().Timer1->isActive();
        std::printf("  recording %d: %zu samples, next one %s\n", recording, us.size(),
                    refused ? "refused" : "NOT refused");
        if (us.size() >= 2000)
            std::printf("    time per sample: first 1000 %8.1f us   last 1000 %8.1f us   all %8.1f us\n",
                        meanMicros(us, 0, 1000), meanMicros(us, us.size() - 1000, us.size()),
                        meanMicros(us, 0, us.size()));
        std::printf("    after it:        heap %9.0f KiB   resident %9.0f KiB\n", kib(heapInUse()),
                    kib(residentBytes()));
    }
    return 0;
}
