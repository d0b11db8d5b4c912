#include "core/ProgramState.h"
#include "sources/usb/LibusbTransport.h"
#include "sources/usb/USB.h"

#include <gtest/gtest.h>

namespace {

// Runs on the real USB stack of the machine, which has no board (or no USB at
// all: libusb failing to start counts as no board).
TEST(UsbLibusb, WithoutABoardEveryCallFailsCleanly)
{
    orv::K8055Board board(orv::makeLibusbTransport());
    const int opened = board.OpenDevice(3);
    if (opened == 3) {
        board.CloseDevice();
        GTEST_SKIP() << "a K8055 board at address 3 is plugged in";
    }
    EXPECT_EQ(opened, -1);

    qint32 value1 = -7, value2 = -8;
    EXPECT_FALSE(board.ReadAllAnalog(value1, value2));
    EXPECT_EQ(value1, -7);
    EXPECT_EQ(value2, -8);
    board.CloseDevice();
    board.CloseDevice();

    orv::ProgramState state;
    orv::USB usb(state, board);
    usb.usb_ouvre();
    for (int tick = 0; tick < 3; ++tick) {
        usb.usb_ouvre();
        usb.usb_lit();
        EXPECT_TRUE(state.readings.missing1 && state.readings.missing2);
    }
    usb.usb_ouvre(); // left open at destruction, as start-up leaves it
}

} // namespace
