// SPDX-License-Identifier: GPL-3.0-or-later
// What the headless program prints, whatever its readers do.
#include "app/Headless.h"
#include "LoggerRig.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

using namespace orv;

TEST(Headless, AnOutputReaderThatStallsOrLeavesNeverHoldsUpASample)
{
    int out[2], err[2];
    ASSERT_EQ(::pipe2(out, O_CLOEXEC), 0);
    ASSERT_EQ(::pipe2(err, O_CLOEXEC | O_NONBLOCK), 0);
    ::fcntl(out[1], F_SETPIPE_SZ, 4096);
    // A reader that takes nothing: the pipe is full, and its writing end blocks.
    ::fcntl(out[1], F_SETFL, O_NONBLOCK);
    while (::write(out[1], "xxxxxxxxxxxxxxxx", 16) > 0) {
    }
    ::fcntl(out[1], F_SETFL, 0);
    auto drain = [](int fd) {
        QByteArray all;
        char buffer[8192];
        for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
            all.append(buffer, n);
        return all;
    };

    test::LoggerRig rig;
    Logger &logger = rig.start({Interval::Second1, SourceKind::Board, QStringLiteral("h.csv")});
    Headless headless(logger, out[1], err[1]);
    ASSERT_EQ(headless.start(), Headless::AllWritten);
    rig.runTicks(3);
    EXPECT_TRUE(drain(err[0]).contains("la sortie standard ne suit pas"));
    ::fcntl(out[0], F_SETFL, O_NONBLOCK);
    drain(out[0]);
    rig.runTicks(1);
    EXPECT_TRUE(drain(err[0]).contains("la sortie standard reprend ; 3 ligne(s)"));
    EXPECT_TRUE(drain(out[0]).startsWith("4;"));
    ::close(out[0]); // the reader is gone
    rig.runTicks(1);
    EXPECT_TRUE(drain(err[0]).contains("ne suit pas ou est fermée"));
    EXPECT_EQ(rig.file(QStringLiteral("h.csv")).count('\n'), 6);
    EXPECT_EQ(headless.finish(), Headless::AllWritten);
    for (int fd : {out[1], err[0], err[1]})
        ::close(fd);
}
