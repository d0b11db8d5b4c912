// Number texts and the sampling grid.
#include "core/Texts.h"
#include "core/TickSchedule.h"

#include <gtest/gtest.h>

using namespace orv;

TEST(NumberTexts, ThreeStyles)
{
    struct Case {
        qint64 v;
        const char *decimal, *p000, *print;
    };
    const Case cases[] = {
        {0, "0", "000", " 0 "},     {7, "7", "007", " 7 "},       {255, "255", "255", " 255 "},
        {1234, "1234", "1234", " 1234 "}, {-5, "-5", "-005", "-5 "}, {-1234, "-1234", "-1234", "-1234 "},
        {-2147483648LL, "-2147483648", "-2147483648", "-2147483648 "},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(decimalText(c.v), QString::fromLatin1(c.decimal));
        EXPECT_EQ(pattern000(c.v), QString::fromLatin1(c.p000));
        EXPECT_EQ(printStyle(c.v), QString::fromLatin1(c.print));
    }
}

TEST(TickGrid, LateTicksDoNotPushLaterOnesBack)
{
    TickSchedule s;
    s.start(1000); // first tick due at 1010
    // Tick 0 served 7 ms late: the next one is still due at 1010 + 1000.
    EXPECT_EQ(s.afterTick(1017, 1000).delayMs, 993);
    // Tick 1 served 250 ms late.
    EXPECT_EQ(s.afterTick(2260, 1000).delayMs, 750);
    EXPECT_EQ(s.afterTick(3010, 1000).delayMs, 1000);
}

TEST(TickGrid, ASuspendedMachineSkipsTicksInsteadOfBursting)
{
    TickSchedule s;
    s.start(0); // ticks at 10, 1010, 2010, ...
    // Ticks 1 and 2 passed unserved; tick 3 (due 3010) is less than an interval late.
    const TickSchedule::Next n = s.afterTick(3500, 1000);
    EXPECT_EQ(n.missedTicks, 2);
    EXPECT_EQ(n.delayMs, 0);
    EXPECT_EQ(s.currentTick(), 3);
    EXPECT_EQ(s.afterTick(3501, 1000).delayMs, 509); // back on the grid at 4010
}
