#include "FakeBoardTransport.h"

#include "sources/usb/K8055Board.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using orv::AnalogInputs;
using orv::K8055Board;
using orv::test::FakeBoardTransport;

namespace {

TEST(UsbBoardDecode, AcceptsOnlyFullReportsFromTheAddressedBoard)
{
    struct Case {
        std::vector<quint8> bytes;
        int address;
        std::optional<AnalogInputs> expected;
    };
    const Case cases[] = {
        { { 0x00, 4, 128, 255, 0, 0, 0, 0 }, 3, AnalogInputs { 128, 255 } },
        { { 0xF1, 14, 0, 7, 0x12, 0x34, 0, 1 }, 3, AnalogInputs { 0, 7 } }, // K8055N compatible mode
        { { 0x00, 1, 9, 10, 0, 0, 0, 0 }, 0, AnalogInputs { 9, 10 } },
        { { 0x00, 1, 9, 10, 0, 0, 0, 0 }, 3, std::nullopt }, // the board at address 0
        { { 0x00, 0, 9, 10, 0, 0, 0, 0 }, 3, std::nullopt },
        { { 0x00, 24, 9, 10, 0, 0, 0, 0 }, 3, std::nullopt }, // K8055N new protocol
        { { 0x00, 4, 128, 255, 0, 0, 0 }, 3, std::nullopt },  // short
        { { 0x00, 4, 128, 255, 0, 0, 0, 0, 0 }, 3, std::nullopt },
        { {}, 3, std::nullopt },
    };
    for (const Case &c : cases)
        EXPECT_EQ(orv::decodeAnalogReport(c.bytes, c.address), c.expected)
            << "status " << (c.bytes.size() > 1 ? int(c.bytes[1]) : -1) << ", " << c.bytes.size()
            << " bytes, address " << c.address;
}

class UsbBoard : public ::testing::Test {
protected:
    UsbBoard()
    {
        auto transport = std::make_unique<FakeBoardTransport>();
        fake = transport.get();
        board = std::make_unique<K8055Board>(std::move(transport));
    }

    FakeBoardTransport *fake; // owned by board
    std::unique_ptr<K8055Board> board;
    qint32 value1 = -7;
    qint32 value2 = -8;
};

TEST_F(UsbBoard, OpensTheProductOfItsAddressOnceWhateverTheCalls)
{
    fake->plug(0x5503);
    EXPECT_EQ(board->OpenDevice(3), 3);
    EXPECT_EQ(board->OpenDevice(3), 3);
    EXPECT_EQ(fake->calls(), (std::vector<std::string> { "open 10cf:5503" }));
    EXPECT_EQ(fake->mostOpenHandles(), 1);

    EXPECT_EQ(board->OpenDevice(4), -1);
    EXPECT_EQ(board->OpenDevice(-1), -1);
    EXPECT_EQ(board->OpenDevice(0), -1); // no board at address 0: the old handle went first
    EXPECT_EQ(fake->openHandles(), 0);
    EXPECT_EQ(fake->mostOpenHandles(), 1);
}

TEST_F(UsbBoard, WithoutABoardNothingIsRead)
{
    EXPECT_EQ(board->OpenDevice(3), -1);
    EXPECT_FALSE(board->ReadAllAnalog(value1, value2));
    EXPECT_EQ(fake->calls(), (std::vector<std::string> { "open 10cf:5503" }));
    EXPECT_EQ(value1, -7);
    EXPECT_EQ(value2, -8);
}

TEST_F(UsbBoard, TakesTheLastQueuedReportNotAStaleOne)
{
    fake->plug();
    fake->queue(FakeBoardTransport::report(4, 1, 2));
    fake->queue(FakeBoardTransport::report(4, 3, 4));
    fake->queue(FakeBoardTransport::report(4, 128, 255));
    fake->arriveLater(FakeBoardTransport::report(4, 5, 6)); // not needed: the queue was fresh
    board->OpenDevice(3);
    ASSERT_TRUE(board->ReadAllAnalog(value1, value2));
    EXPECT_EQ(value1, 128);
    EXPECT_EQ(value2, 255);
}

TEST_F(UsbBoard, WaitsForAReportWhenNoneIsQueued)
{
    fake->plug();
    fake->arriveLater(FakeBoardTransport::report(14, 200, 17)); // a K8055N
    board->OpenDevice(3);
    ASSERT_TRUE(board->ReadAllAnalog(value1, value2));
    EXPECT_EQ(value1, 200);
    EXPECT_EQ(value2, 17);
}

TEST_F(UsbBoard, NoUsableReportLeavesTheValuesAlone)
{
    fake->plug();
    board->OpenDevice(3);
    EXPECT_FALSE(board->ReadAllAnalog(value1, value2)); // silent board

    fake->queue(FakeBoardTransport::report(1, 50, 60)); // another board's status
    EXPECT_FALSE(board->ReadAllAnalog(value1, value2));

    fake->failNextRead();
    fake->queue(FakeBoardTransport::report(4, 50, 60));
    EXPECT_FALSE(board->ReadAllAnalog(value1, value2));
    EXPECT_EQ(fake->openHandles(), 0) << "a failed handle is dropped at once";

    EXPECT_EQ(value1, -7);
    EXPECT_EQ(value2, -8);
}

} // namespace
