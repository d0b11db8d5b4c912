#include "sources/serial/SerialPortName.h"

#include "SerialTestSupport.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using orv::TtyDevice;

namespace orv {
void PrintTo(const TtyDevice &t, std::ostream *os)
{
    *os << t.name.toStdString() << (t.hasNode ? " node" : "") << (t.hasHardware ? " hw" : "") << " type " << t.uartType;
}
} // namespace orv

namespace {
TtyDevice uart(const char *name) { return {name, true, true, 4}; }      // a 16550A behind it
TtyDevice emptyUart(const char *name) { return {name, true, true, 0}; } // registered, no chip found
TtyDevice usb(const char *name) { return {name, true, true, 0}; }
} // namespace

TEST(SerialPortName, PortOneIsTheFirstRealBuiltInPortElseTheFirstAdapterByNumber)
{
    struct Case {
        const char *what;
        QList<TtyDevice> ttys;
        QStringList inOrder;
    };
    const QList<Case> cases {
        {"nothing", {}, {}},
        {"the four nodes every PC has, no chip", {emptyUart("ttyS0"), emptyUart("ttyS1"), emptyUart("ttyS3")}, {}},
        {"a UART without a /dev node, a node without a device",
         {{"ttyS0", false, true, 4}, {"ttyS1", true, false, 4}}, {}},
        {"one adapter on a PC without a built-in port", {emptyUart("ttyS0"), usb("ttyUSB0")}, {"/dev/ttyUSB0"}},
        {"an adapter whose node has gone", {{"ttyUSB0", false, true, 0}, usb("ttyACM3")}, {"/dev/ttyACM3"}},
        {"kinds in order, numbers compared as numbers",
         {usb("ttyACM0"), usb("ttyUSB10"), emptyUart("ttyS0"), usb("ttyUSB2"), uart("ttyS1"), usb("ttyAMA0"),
          usb("ttyUSB"), usb("tty5")},
         {"/dev/ttyS1", "/dev/ttyUSB2", "/dev/ttyUSB10", "/dev/ttyACM0"}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(orv::serialDevicesInOrder(c.ttys), c.inOrder) << c.what;
        EXPECT_EQ(orv::serialDeviceForPort(1, c.ttys), c.inOrder.value(0)) << c.what;
    }
    EXPECT_EQ(orv::serialDeviceForPort(2, cases.last().ttys), "/dev/ttyUSB2");
    EXPECT_EQ(orv::serialDeviceForPort(0, cases.last().ttys), "");
}

TEST(SerialPortName, ScanReadsWhatTheKernelShowsOfEachDevice)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QDir dir(root.path());
    for (const char *sub : {"sys/ttyS0/device", "sys/ttyS1/device", "sys/ttyUSB0/device", "sys/tty1", "dev"})
        ASSERT_TRUE(dir.mkpath(sub));
    const QList<std::pair<const char *, QByteArray>> files {
        {"sys/ttyS0/type", "0\n"}, {"sys/ttyS1/type", "4\n"}, {"dev/ttyS0", ""}, {"dev/ttyS1", ""},
        {"dev/ttyUSB0", ""},       {"dev/ttyUSB3", ""},       {"dev/tty1", ""},  {"dev/console", ""}};
    for (const auto &[name, text] : files) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    QList<TtyDevice> scanned = orv::scanTtyDevices(dir.filePath("sys"), dir.filePath("dev"));
    std::sort(scanned.begin(), scanned.end(), [](const TtyDevice &a, const TtyDevice &b) { return a.name < b.name; });
    EXPECT_EQ(scanned, (QList<TtyDevice> {{"ttyS0", true, true, 0},
                                          {"ttyS1", true, true, 4},
                                          {"ttyUSB0", true, true, 0},
                                          {"ttyUSB3", true, false, 0}}));
}
