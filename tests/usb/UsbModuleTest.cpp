#include "FakeBoardTransport.h"

#include "core/ProgramState.h"
#include "sources/usb/USB.h"

#include <gtest/gtest.h>

using orv::test::FakeBoardTransport;
using Calls = std::vector<std::string>;

namespace {

class UsbModule : public ::testing::Test {
protected:
    UsbModule()
    {
        auto transport = std::make_unique<FakeBoardTransport>();
        fake = transport.get();
        board = std::make_unique<orv::K8055Board>(std::move(transport));
        usb = std::make_unique<orv::USB>(state, *board);
    }

    // One live-readout tick with the board chosen.
    void tick()
    {
        usb->usb_ouvre();
        usb->usb_lit();
    }

    orv::ProgramState state;
    FakeBoardTransport *fake; // owned by board
    std::unique_ptr<orv::K8055Board> board;
    std::unique_ptr<orv::USB> usb;
};

TEST_F(UsbModule, StartUpOpensOnceAndEachTickOpensReadsAndCloses)
{
    fake->plug();
    usb->usb_ouvre(); // start-up
    EXPECT_EQ(fake->calls(), (Calls { "open 10cf:5503" }));

    fake->queue(FakeBoardTransport::report(4, 10, 20));
    tick(); // the board is still open from start-up: no second open
    EXPECT_EQ(fake->calls(), (Calls { "open 10cf:5503", "read", "read", "close" }));

    for (int i = 0; i < 3; ++i) {
        fake->clearCalls();
        fake->queue(FakeBoardTransport::report(4, 10, 20));
        tick();
        EXPECT_EQ(fake->calls(), (Calls { "open 10cf:5503", "read", "read", "close" }));
        EXPECT_EQ(fake->openHandles(), 0) << "closed between ticks";
    }
    EXPECT_EQ(fake->mostOpenHandles(), 1);
}

TEST_F(UsbModule, BoardReadingsBecomeTheLatestReadings)
{
    state.readings.missing1 = state.readings.missing2 = true;
    fake->plug();
    fake->queue(FakeBoardTransport::report(4, 128, 255));
    tick();
    EXPECT_EQ(state.readings.value1, 128);
    EXPECT_EQ(state.readings.value2, 255);
    EXPECT_FALSE(state.readings.missing1);
    EXPECT_FALSE(state.readings.missing2);
    EXPECT_TRUE(usb->problem().isEmpty());
}

TEST_F(UsbModule, WithoutABoardBothReadingsAreMissingAndTheTooltipSaysWhy)
{
    EXPECT_TRUE(usb->problem().isEmpty()) << "nothing known before the first read";
    tick();
    EXPECT_TRUE(state.readings.missing1);
    EXPECT_TRUE(state.readings.missing2);
    EXPECT_EQ(fake->calls(), (Calls { "open 10cf:5503", "close" }));

    const QString tip = usb->problem();
    EXPECT_TRUE(tip.startsWith(QStringLiteral("La carte USB K8055 (adresse 3) ne répond pas."))) << tip.toStdString();
#ifdef Q_OS_LINUX
    EXPECT_TRUE(tip.contains(QStringLiteral("70-k8055.rules"))) << tip.toStdString();
#endif
}

TEST_F(UsbModule, UnplugGivesMissingReadingsAndReplugBringsNumbersBack)
{
    const auto expectReadings = [this](qint32 value1, qint32 value2) {
        EXPECT_FALSE(state.readings.missing1 || state.readings.missing2);
        EXPECT_EQ(state.readings.value1, value1);
        EXPECT_EQ(state.readings.value2, value2);
        EXPECT_TRUE(usb->problem().isEmpty());
    };
    const auto expectMissing = [this] {
        EXPECT_TRUE(state.readings.missing1 && state.readings.missing2);
        EXPECT_FALSE(usb->problem().isEmpty());
    };

    fake->plug();
    usb->usb_ouvre(); // start-up
    fake->unplug();   // while the start-up handle is open
    tick();
    expectMissing();
    tick();
    expectMissing();

    fake->plug();
    fake->queue(FakeBoardTransport::report(4, 128, 255));
    tick();
    expectReadings(128, 255);

    fake->unplug();
    tick();
    expectMissing();

    fake->plug();
    fake->queue(FakeBoardTransport::report(4, 131, 250));
    tick();
    expectReadings(131, 250);
    EXPECT_EQ(fake->mostOpenHandles(), 1);
}

} // namespace
