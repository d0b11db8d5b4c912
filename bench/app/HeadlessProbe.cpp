// SPDX-License-Identifier: GPL-3.0-or-later
// What unattended recording costs: CPU between samples at a 1 min interval (the readout
// polling the board twice a second, nothing else) and resident memory with a full store,
// without a window and, beside it, with the window shown offscreen. Each figure comes from
// a child process of its own, so one never carries the other's libraries or heap.
//
//   headless_probe [seconds of idle measure, default 20]
#include "FakeDesktop.h"
#include "LoggerRig.h"
#include "logging/RealLogger.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <sys/resource.h>

using namespace orv;

namespace {

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

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
           + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Idle: the real logger (real clock, disk and board layer, no board plugged in) recording
// at one sample a minute, for `seconds`.
int idle(bool window, int seconds)
{
    QTemporaryDir dir;
    RealLogger real({dir.filePath(QStringLiteral("orvtr.cfg")), QString(), QString()});
    test::FakeDesktop desktop;
    test::FakeSaveDialog dialog;
    std::unique_ptr<MainWindow> shown;
    if (window) {
        shown = std::make_unique<MainWindow>(real.logger(), WindowServices{desktop, dialog});
        shown->show();
    }
    real.logger().startUp({Interval::Minute1, SourceKind::Board, dir.filePath(QStringLiteral("rec.csv"))});
    real.logger().startRecording();
    QCoreApplication::processEvents();
    const double cpu0 = cpuSeconds();
    QTimer::singleShot(seconds * 1000, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
    const double cpu = cpuSeconds() - cpu0;
    std::printf("%.2f ms CPU per minute (%.3f %% of one core)\n", cpu * 1000 * 60 / seconds, cpu * 100 / seconds);
    real.logger().shutDown();
    return 0;
}

// Memory: a full store on a fake clock, the disk left out.
int memory(bool window)
{
    test::LoggerRig rig;
    rig.files.skipSync = true;
    Logger &logger = rig.make();
    test::FakeDesktop desktop;
    test::FakeSaveDialog dialog;
    std::unique_ptr<MainWindow> shown;
    if (window) {
        shown = std::make_unique<MainWindow>(logger, WindowServices{desktop, dialog});
        shown->show();
    }
    logger.startUp({std::nullopt, std::nullopt, QStringLiteral("/dev/shm/orvalin-probe.csv")});
    QCoreApplication::processEvents();
    const double empty = residentMB();
    logger.startRecording();
    while (logger.recording())
        rig.runTicks(1);
    logger.waitForWrites();
    QCoreApplication::processEvents();
    std::printf("%.1f MB started, %.1f MB with 32000 samples (+%.1f MB)\n", empty, residentMB(), residentMB() - empty);
    logger.shutDown();
    QFile::remove(QStringLiteral("/dev/shm/orvalin-probe.csv"));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    const bool window = mode.endsWith("-window");
    if (!mode.isEmpty() && mode != "all") {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        std::unique_ptr<QCoreApplication> app =
            window ? std::make_unique<QApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
        const int seconds = argc > 2 ? std::atoi(argv[2]) : 20;
        return mode.startsWith("idle") ? idle(window, seconds) : memory(window);
    }
    QCoreApplication app(argc, argv);
    const QString seconds = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("20");
    for (const char *child : {"idle-headless", "idle-window", "memory-headless", "memory-window"}) {
        QProcess p;
        p.start(QCoreApplication::applicationFilePath(), {QLatin1String(child), seconds});
        p.waitForFinished(-1);
        std::printf("%-16s %s", child, p.readAllStandardOutput().constData());
    }
    return 0;
}
