// SPDX-License-Identifier: GPL-3.0-or-later
// The ideal logger of two values, the yardstick of bench/whole/measure.py: it wakes once per
// readout refresh and once per sample, formats the line, appends it and syncs it, and does
// nothing else. Nothing of it can be shaved off without losing what the user sees or a
// sample's durability.
//   ideal_logger FILE INTERVAL_MS [READOUT_MS]   (READOUT_MS 0: no readout, as headless)
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

namespace {

timespec plus(timespec t, long ms)
{
    t.tv_sec += ms / 1000;
    t.tv_nsec += (ms % 1000) * 1000000L;
    if (t.tv_nsec >= 1000000000L) {
        t.tv_sec += 1;
        t.tv_nsec -= 1000000000L;
    }
    return t;
}

bool before(const timespec &a, const timespec &b)
{
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: ideal_logger FILE INTERVAL_MS [READOUT_MS]\n");
        return 2;
    }
    const char *file = argv[1];
    const long interval = std::atol(argv[2]);
    const long readout = argc > 3 ? std::atol(argv[3]) : 500;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    timespec nextSample = now;
    timespec nextReadout = now;
    char shown[32];
    for (int number = 1;;) {
        const bool sample = readout <= 0 || !before(nextReadout, nextSample);
        const timespec wake = sample ? nextSample : nextReadout;
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &wake, nullptr) == EINTR) {
        }
        const time_t wall = time(nullptr);
        tm local{};
        localtime_r(&wall, &local);
        if (!sample) {
            // What a readout shows: the time of day and the two values.
            std::snprintf(shown, sizeof shown, "%02d:%02d:%02d 128 255", local.tm_hour, local.tm_min, local.tm_sec);
            nextReadout = plus(nextReadout, readout);
            continue;
        }
        char line[64];
        const int n =
            std::snprintf(line, sizeof line, "%d;128;255;%02d-%02d-%04d;%02d:%02d:%02d\r\n", number++, local.tm_mon + 1,
                          local.tm_mday, local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec);
        const int fd = open(file, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0 || write(fd, line, static_cast<size_t>(n)) != n || fdatasync(fd) != 0) {
            std::perror(file);
            return 1;
        }
        close(fd);
        nextSample = plus(nextSample, interval);
    }
}
