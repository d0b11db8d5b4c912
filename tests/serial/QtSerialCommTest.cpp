#include "sources/serial/QtSerialComm.h"

#include "SerialTestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using orv::LineSettings;
using orv::QtSerialComm;
using orv::SerialFault;
using orv::SerialParity;
using orv::SerialStopBits;
using orv::test::PtyDevice;
using orv::test::waitForCount;

TEST(LineSettings, ReadsTheSettingsText)
{
    const QList<std::pair<const char *, std::optional<LineSettings>>> cases {
        {"2400,n,8,1", LineSettings {2400, SerialParity::None, 8, SerialStopBits::One}},
        {" 9600 , E , 7 , 2 ", LineSettings {9600, SerialParity::Even, 7, SerialStopBits::Two}},
        {"1200,o,5,1.5", LineSettings {1200, SerialParity::Odd, 5, SerialStopBits::OneAndHalf}},
        {"", std::nullopt},           {"2400,n,8", std::nullopt},   {"2400,n,8,1,1", std::nullopt},
        {"0,n,8,1", std::nullopt},    {"fast,n,8,1", std::nullopt}, {"2400,x,8,1", std::nullopt},
        {"2400,n,9,1", std::nullopt}, {"2400,n,8,3", std::nullopt},
    };
    for (const auto &[text, expected] : cases)
        EXPECT_EQ(orv::parseLineSettings(QString::fromLatin1(text)), expected) << text;
}

TEST(QtSerialComm, TellsApartWhyAPortDoesNotOpen)
{
    // Qt calls both a refused and a locked port a permission error.
    EXPECT_EQ(orv::classifyOpenFailure(QSerialPort::PermissionError, true, false), SerialFault::Permission);
    EXPECT_EQ(orv::classifyOpenFailure(QSerialPort::PermissionError, true, true), SerialFault::Busy);
    EXPECT_EQ(orv::classifyOpenFailure(QSerialPort::PermissionError, false, false), SerialFault::Absent);
    EXPECT_EQ(orv::classifyOpenFailure(QSerialPort::DeviceNotFoundError, true, true), SerialFault::Absent);
    EXPECT_EQ(orv::classifyOpenFailure(QSerialPort::OpenError, true, true), SerialFault::Other);
}

class QtSerialCommOnPty : public ::testing::Test {
protected:
    QTemporaryDir dir;
    PtyDevice device {dir.filePath("capteur")};
    QtSerialComm comm {device.path()};

    void SetUp() override
    {
        comm.setPortOpen(true);
        ASSERT_TRUE(comm.PortOpen()) << comm.faultDetail().toStdString();
    }
};

TEST_F(QtSerialCommOnPty, CountsEveryByteReceivedWhetherOrNotTheEventLoopRan)
{
    device.send({10, 20});
    ASSERT_TRUE(waitForCount(comm, 2)); // runs events: these two come in through Qt's notifier
    device.send({30, 40, 50});
    qint16 count = 0;
    for (int i = 0; i < 5000 && count != 5; ++i, QThread::msleep(1))
        count = comm.InBufferCount(); // no event processing here
    EXPECT_EQ(count, 5);
    EXPECT_EQ(comm.Input(), QByteArray("\x0A\x14\x1E\x28\x32"));
    EXPECT_EQ(comm.InBufferCount(), 0);
}

TEST_F(QtSerialCommOnPty, AFloodIsCappedAndEmptyingDiscardsEverything)
{
    ASSERT_GT(device.send(QByteArray(20000, '\xAA')), QtSerialComm::MaxBuffered);
    ASSERT_TRUE(waitForCount(comm, QtSerialComm::MaxBuffered));
    comm.setInBufferCount(0);
    EXPECT_EQ(comm.InBufferCount(), 0);
    device.send({1, 2, 3, 4});
    ASSERT_TRUE(waitForCount(comm, 4));
    EXPECT_EQ(comm.Input(), QByteArray("\x01\x02\x03\x04"));
}

TEST_F(QtSerialCommOnPty, AHangupSeenOnlyByTheEventLoopClosesThePort)
{
    device.unplug();
    // Nobody polls the port: Qt's notifier alone sees the hangup.
    ASSERT_TRUE(orv::test::eventually([&] { return !comm.PortOpen(); }));
    EXPECT_EQ(comm.fault(), SerialFault::LinkLost);
    QCoreApplication::processEvents();

    // Really closed, not just reported so: the device is free for someone else.
    ASSERT_TRUE(device.plug());
    QtSerialComm other(device.path());
    other.setPortOpen(true);
    EXPECT_TRUE(other.PortOpen());
}
