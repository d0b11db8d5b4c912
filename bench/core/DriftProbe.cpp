// SPDX-License-Identifier: GPL-3.0-or-later
// Samples once a second for a minute on a precise timer re-armed from the sampling grid,
// and reports how far each sample fell from its due time.
#include "core/Clock.h"
#include "core/TickSchedule.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    orv::SystemClock clock;
    orv::TickSchedule schedule;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    const int samples = argc > 1 ? std::atoi(argv[1]) : 60;
    const qint64 start = clock.steadyMs();
    schedule.start(start, 1000);
    int taken = 0;
    qint64 worst = 0;
    qint64 last = 0;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        const qint64 now = clock.steadyMs();
        const qint64 due = start + orv::TickSchedule::FirstTickMs + taken * 1000LL;
        last = now - due;
        worst = std::max(worst, std::abs(last));
        if (++taken == samples) {
            std::printf("%d samples at 1 s: last sample %lld ms from its due time, worst %lld ms\n", taken,
                        static_cast<long long>(last), static_cast<long long>(worst));
            app.quit();
            return;
        }
        timer.start(schedule.delayAfter(clock.steadyMs()));
    });
    timer.start(orv::TickSchedule::FirstTickMs);
    return QCoreApplication::exec();
}
