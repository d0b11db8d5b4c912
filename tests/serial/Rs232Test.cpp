#include "sources/serial/rs232.h"

#include "SerialTestSupport.h"
#include "sources/serial/QtSerialComm.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using orv::ProgramState;
using orv::QtSerialComm;
using orv::rs232;
using orv::SerialFault;
using orv::test::eventually;
using orv::test::PtyDevice;
using orv::test::waitForCount;

// The serial source as the main window drives it, on a real pseudo-terminal,
// with the sensor emulated at the far end.
class Rs232OnPty : public ::testing::Test {
protected:
    QTemporaryDir dir;
    PtyDevice device {dir.filePath("ttyUSB0")};
    QtSerialComm Comm1 {device.path()};
    ProgramState state;
    rs232 serial {state, Comm1};

    void SetUp() override
    {
        state.readings = {17, -1234, true, true};
        serial.rs232_ouvre();
        ASSERT_TRUE(serial.portOpen()) << serial.problem().toStdString();
        EXPECT_EQ(serial.problem(), "");
    }

    void frameArrives(int thirdByte)
    {
        device.send({0, 0, thirdByte, 0});
        ASSERT_TRUE(waitForCount(Comm1, 4));
        serial.rs232_lit();
    }
};

TEST_F(Rs232OnPty, OpensAt2400EightNoneOneAndNeverWritesToTheDevice)
{
    const termios line = device.lineSettings();
    EXPECT_EQ(cfgetispeed(&line), speed_t(B2400));
    EXPECT_EQ(line.c_cflag & (CSIZE | PARENB | CSTOPB), tcflag_t(CS8));
    frameArrives(5);
    serial.vide_buffer();
    serial.rs232_ferme();
    EXPECT_EQ(device.receivedFromProgram(), QByteArray());
}

TEST_F(Rs232OnPty, AFrameIsTakenOnlyWhenExactlyFourBytesWait)
{
    device.send({0x55, 9, 42});
    ASSERT_TRUE(waitForCount(Comm1, 3));
    serial.rs232_lit();
    EXPECT_EQ(state.readings.value1, 17);
    EXPECT_TRUE(state.readings.missing1);

    device.send({0xAA});
    ASSERT_TRUE(waitForCount(Comm1, 4));
    serial.rs232_lit();
    EXPECT_EQ(state.readings.value1, 42);
    EXPECT_FALSE(state.readings.missing1);

    frameArrives(200);
    EXPECT_EQ(state.readings.value1, 200); // a reading, not a negative byte

    // One byte too many: nothing is taken until the ten-second emptying.
    device.send({1, 2, 3, 4, 5});
    ASSERT_TRUE(waitForCount(Comm1, 5));
    serial.rs232_lit();
    serial.rs232_lit();
    EXPECT_EQ(state.readings.value1, 200);
    serial.vide_buffer();
    EXPECT_EQ(Comm1.InBufferCount(), 0);
    frameArrives(8);
    EXPECT_EQ(state.readings.value1, 8);

    EXPECT_EQ(state.readings.value2, -1234);
    EXPECT_TRUE(state.readings.missing2);
}

TEST_F(Rs232OnPty, SourceSwitchesOpenAndCloseThePort)
{
    device.send({1, 2});
    ASSERT_TRUE(waitForCount(Comm1, 2));
    serial.rs232_ouvre(); // already open: left exactly as it is, bytes included
    EXPECT_TRUE(serial.portOpen());
    EXPECT_EQ(Comm1.InBufferCount(), 2);

    serial.rs232_ferme(); // another source chosen, or quitting
    EXPECT_FALSE(serial.portOpen());
    EXPECT_EQ(serial.problem(), "");
    serial.rs232_ferme();
    serial.vide_buffer(); // a late emptying tick does not reopen it
    EXPECT_FALSE(serial.portOpen());
    QtSerialComm otherProgram(device.path());
    otherProgram.setPortOpen(true);
    EXPECT_TRUE(otherProgram.PortOpen());
    otherProgram.setPortOpen(false);

    serial.rs232_ouvre();
    frameArrives(99);
    EXPECT_EQ(state.readings.value1, 99);
}

// Closing the far end of a pseudo-terminal hangs up our side as an adapter's
// removal does (reads fail, the node disappears). A replugged adapter gets a
// fresh device behind the same path here, through the test's link; a real one
// gets its /dev/ttyUSBn name back, or is found again by the port-1 search.
TEST_F(Rs232OnPty, AnUnpluggedDeviceIsReportedAndPickedUpAgainWithoutARestart)
{
    frameArrives(50);
    device.unplug();
    ASSERT_TRUE(eventually([&] {
        serial.rs232_lit(); // the live readout keeps polling
        return !serial.portOpen();
    }));
    const QString unplugged = orv::serialProblemText(SerialFault::LinkLost, device.path());
    EXPECT_EQ(serial.problem(), unplugged);
    serial.vide_buffer(); // still away: retried, still explained
    EXPECT_FALSE(serial.portOpen());
    EXPECT_EQ(serial.problem(), unplugged);
    EXPECT_EQ(state.readings.value1, 50);

    ASSERT_TRUE(device.plug());
    serial.vide_buffer();
    EXPECT_TRUE(serial.portOpen());
    EXPECT_EQ(serial.problem(), "");
    frameArrives(60);
    EXPECT_EQ(state.readings.value1, 60);
}

TEST(Rs232, AMissingOrBusyDeviceIsExplainedAndPickedUpWhenItIsFree)
{
    QTemporaryDir dir;
    PtyDevice device(dir.filePath("ttyUSB0"), false);
    QtSerialComm Comm1(device.path());
    ProgramState state;
    rs232 serial(state, Comm1);

    serial.rs232_ouvre();
    EXPECT_FALSE(serial.portOpen());
    EXPECT_EQ(serial.problem(), orv::serialProblemText(SerialFault::Absent, device.path()));
    serial.rs232_lit();

    ASSERT_TRUE(device.plug());
    QtSerialComm otherProgram(device.path());
    otherProgram.setPortOpen(true);
    serial.vide_buffer();
    EXPECT_FALSE(serial.portOpen());
    EXPECT_EQ(serial.problem(), orv::serialProblemText(SerialFault::Busy, device.path()));

    otherProgram.setPortOpen(false);
    serial.vide_buffer();
    EXPECT_TRUE(serial.portOpen());
    device.send({0, 0, 1, 0});
    ASSERT_TRUE(waitForCount(Comm1, 4));
    serial.rs232_lit();
    EXPECT_EQ(state.readings.value1, 1);
}

TEST(Rs232, TheTooltipNamesTheDeviceAndWhatToDo)
{
    const QString usb0 = "/dev/ttyUSB0";
    EXPECT_EQ(orv::serialProblemText(SerialFault::None, usb0), "");
    EXPECT_EQ(orv::serialProblemText(SerialFault::NoPort, ""),
              "Aucun port série trouvé : branchez l'adaptateur série de l'appareil.");
    EXPECT_EQ(orv::serialProblemText(SerialFault::Absent, usb0),
              "Le port /dev/ttyUSB0 est absent : vérifiez que l'adaptateur est branché.");
    EXPECT_EQ(orv::serialProblemText(SerialFault::Busy, usb0),
              "Le port /dev/ttyUSB0 est occupé par un autre programme : fermez ce programme, "
              "la lecture reprendra d'elle-même.");
    EXPECT_EQ(orv::serialProblemText(SerialFault::Permission, usb0),
              "Accès refusé à /dev/ttyUSB0 : ajoutez votre compte au groupe dialout, puis reconnectez-vous.");
    EXPECT_EQ(orv::serialProblemText(SerialFault::LinkLost, usb0),
              "Le port /dev/ttyUSB0 a été débranché : rebranchez l'appareil, la lecture reprendra d'elle-même.");
    EXPECT_EQ(orv::serialProblemText(SerialFault::Other, "/dev/ttyS0", "Input/output error"),
              "Le port /dev/ttyS0 ne peut pas être ouvert (Input/output error).");
}
