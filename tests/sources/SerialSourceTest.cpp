// SPDX-License-Identifier: GPL-3.0-or-later
#include "Printers.h"
#include "PtyDevice.h"

#include "sources/SerialPort.h"
#include "sources/SerialSource.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using orv::Readings;
using orv::SerialFault;
using orv::SerialPort;
using orv::SerialSource;
using orv::test::PtyDevice;
using orv::test::waitForWaiting;

// Qt calls a refused and a locked port a permission error; the pty tests see a locked one.
// Each text names the device.
TEST(SerialProblem, TellsARefusedPortFromABusyOneAndNamesTheDevice)
{
    EXPECT_EQ(orv::classifyOpenFailure(QSerialPort::PermissionError, true, false), SerialFault::Permission);
    EXPECT_EQ(orv::classifyOpenFailure(QSerialPort::OpenError, true, true), SerialFault::Other);
    for (SerialFault fault : {SerialFault::NoPort, SerialFault::Absent, SerialFault::Busy, SerialFault::Permission,
                              SerialFault::LinkLost, SerialFault::Other}) {
        const QString text = orv::serialProblemText(fault, "/dev/ttyUSB0", "Input/output error");
        EXPECT_EQ(text.contains("/dev/ttyUSB0"), fault != SerialFault::NoPort) << text.toStdString();
    }
    EXPECT_EQ(orv::serialProblemText(SerialFault::None, "/dev/ttyUSB0"), "");
}

// The sensor emulated at the far end of a real pseudo-terminal, plugged in, and our source
// opened on it.
struct PluggedSensor {
    QTemporaryDir dir;
    PtyDevice device{dir.filePath("ttyUSB0")};
    bool plugged = device.plug();
    SerialPort port{device.path()};
    SerialSource source{port};
    PluggedSensor() { source.open(); }
};

// Without a window the source is not polled: it takes the frames as their bytes arrive.
TEST(SerialSource, FollowedTakesEachFrameAsItArrivesAndDropsWhatIsOutOfStep)
{
    PluggedSensor sensor;
    ASSERT_TRUE(sensor.plugged);
    auto &[dir, device, plugged, port, source] = sensor;
    int told = 0;
    source.follow([&] { ++told; });
    const auto hex = [](const char *text) { return QByteArray::fromHex(text); };
    const std::tuple<const char *, QByteArray, std::optional<qint32>> steps[] = {
        {"a frame", hex("00002a00"), 42},
        {"five bytes at once are dropped, the value stays", hex("0102030405"), 42},
        {"the next frame", hex("00000800"), 8},
        {"a stray byte alone is dropped after a pause, the value stays", hex("ff"), 8},
        {"so the next frame is read in step", hex("00001100"), 17},
    };
    for (const auto &[what, sent, value1] : steps) {
        const int before = told;
        device.send(sent);
        EXPECT_TRUE(orv::test::within(5000, [&] { return told > before && port.bytesWaiting() == 0; })) << what;
        EXPECT_EQ(source.latest(), (Readings{value1, std::nullopt})) << what;
    }
    EXPECT_FALSE(source.needsCare());
    const int before = told;
    device.unplug();
    EXPECT_TRUE(orv::test::within(5000, [&] { return told > before && source.needsCare(); })) << "pulled, told";
    EXPECT_EQ(source.latest(), Readings{});
    source.close();
}

// The serial source as the window drives it, on a real pseudo-terminal, with the sensor
// emulated at the far end.
TEST(SerialSource, TakesAFrameOnlyWhenExactlyFourBytesWaitAndExplainsAMissingBusyOrLostDevice)
{
    PluggedSensor sensor;
    ASSERT_TRUE(sensor.plugged);
    auto &[dir, device, plugged, port, source] = sensor;
    ASSERT_TRUE(port.isOpen()) << source.problem().toStdString();
    const termios line = device.lineSettings();
    EXPECT_EQ(cfgetispeed(&line), speed_t(B2400));
    EXPECT_EQ(line.c_cflag & (CSIZE | PARENB | CSTOPB), tcflag_t(CS8));

    // A frame as the sensor sends it: value 1 in the third of four bytes.
    const auto hex = [](const char *text) { return QByteArray::fromHex(text); };
    const std::tuple<const char *, bool, QByteArray, qint64, std::optional<qint32>, qint64> steps[] = {
        // what, maintain first, bytes sent, waiting at the poll, value 1, left waiting
        {"before any frame", false, {}, 0, std::nullopt, 0},
        {"three bytes are no frame", false, hex("55092a"), 3, std::nullopt, 3},
        {"a fourth makes one", false, hex("aa"), 4, 42, 0},
        {"a byte above 127", false, hex("0000c800"), 4, 200, 0},
        {"five bytes: no frame, the value stays", false, hex("0102030405"), 5, 200, 5},
        {"maintenance discards them", true, {}, 0, 200, 0},
        {"a flood is capped", false, QByteArray(20000, '\xAA'), SerialPort::kMaxBuffered, 200,
         SerialPort::kMaxBuffered},
        {"and discarded whole, in the system too", true, {}, 0, 200, 0},
        {"the next frame", false, hex("00000800"), 4, 8, 0},
        {"two stray bytes", false, hex("0102"), 2, 8, 2},
    };
    for (const auto &[what, maintainFirst, sent, waiting, value1, left] : steps) {
        if (maintainFirst)
            source.maintain();
        device.send(sent);
        EXPECT_TRUE(waitForWaiting(port, waiting)) << what;
        EXPECT_EQ(source.poll(), (Readings{value1, std::nullopt})) << what;
        EXPECT_EQ(source.latest(), (Readings{value1, std::nullopt})) << what;
        EXPECT_EQ(port.bytesWaiting(), left) << what;
    }

    source.open();
    EXPECT_EQ(port.bytesWaiting(), 2) << "an open port is not opened again: its bytes are still there";
    EXPECT_EQ(source.latest().value1, 8);
    source.close();
    source.close();
    source.maintain(); // a late maintenance tick does not reopen it
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(source.problem(), "");
    EXPECT_EQ(source.latest(), Readings{});

    // Closing the far end hangs up our side as pulling an adapter does; the replugged device
    // comes back behind the same path, as an adapter gets its /dev name back.
    device.unplug();
    source.open();
    EXPECT_EQ(source.problem(), orv::serialProblemText(SerialFault::Absent, device.path()));
    ASSERT_TRUE(device.plug());
    SerialPort otherProgram(device.path());
    otherProgram.open();
    source.maintain();
    EXPECT_EQ(source.problem(), orv::serialProblemText(SerialFault::Busy, device.path()));
    otherProgram.close();
    source.maintain();
    device.send(hex("00003200"));
    ASSERT_TRUE(waitForWaiting(port, 4));
    EXPECT_EQ(source.poll().value1, 50);

    device.unplug();
    ASSERT_TRUE(orv::test::within(5000, [&] { return !port.isOpen(); })) << "Qt's event loop alone sees the hangup";
    EXPECT_EQ(source.latest(), Readings{}); // no poll until the replug: latest() alone must see it
    const QString unplugged = orv::serialProblemText(SerialFault::LinkLost, device.path());
    EXPECT_EQ(source.problem(), unplugged);
    ASSERT_TRUE(device.plug());
    EXPECT_TRUE(orv::test::within(5000, [&] {
        otherProgram.open();
        return otherProgram.isOpen();
    })) << "the event loop alone closed our port, releasing its lock";
    otherProgram.close();
    device.unplug();
    source.maintain(); // still away: retried, still explained
    EXPECT_EQ(source.problem(), unplugged);

    ASSERT_TRUE(device.plug());
    source.maintain();
    EXPECT_EQ(source.problem(), "");
    EXPECT_EQ(source.poll(), Readings{}) << "no frame yet from the replugged device";
    device.send(hex("00003c00"));
    ASSERT_TRUE(waitForWaiting(port, 4));
    EXPECT_EQ(source.poll().value1, 60);

    // A flood fills the receive buffer (a pseudo-terminal or a CDC device ignores the baud
    // rate); pulling the adapter then still empties value 1 at the next poll.
    device.send(QByteArray(20000, '\xAA'));
    ASSERT_TRUE(waitForWaiting(port, SerialPort::kMaxBuffered));
    device.unplug();
    EXPECT_EQ(source.poll(), Readings{}) << "whatever is buffered";
    EXPECT_EQ(source.problem(), unplugged);
}
