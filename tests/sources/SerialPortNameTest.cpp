// SPDX-License-Identifier: GPL-3.0-or-later
#include "Helpers.h"
#include "Printers.h"

#include "sources/SerialPortName.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using orv::TtyDevice;

TEST(SerialPortName, PortOneIsTheFirstRealBuiltInPortElseTheFirstAdapterByNumber)
{
    // A 16550A behind it; a ttyS with no UART, or an adapter.
    const auto uart = [](const char *name) { return TtyDevice{name, true, true, 4}; };
    const auto noChip = [](const char *name) { return TtyDevice{name, true, true, 0}; };
    const auto console = [](TtyDevice tty) {
        tty.isConsole = true;
        return tty;
    };
    const std::tuple<const char *, QList<TtyDevice>, QStringList> cases[] = {
        {"nothing", {}, {}},
        {"the nodes every PC has, no chip", {noChip("ttyS0"), noChip("ttyS1"), noChip("ttyS3")}, {}},
        {"a UART without a /dev node, a node without a device",
         {{"ttyS0", false, true, 4}, {"ttyS1", true, false, 4}},
         {}},
        {"one adapter on a PC without a built-in port", {noChip("ttyS0"), noChip("ttyUSB0")}, {"/dev/ttyUSB0"}},
        {"an adapter whose node has gone", {{"ttyUSB0", false, true, 0}, noChip("ttyACM3")}, {"/dev/ttyACM3"}},
        {"booted with console=ttyS0",
         {console(uart("ttyS0")), uart("ttyS1"), noChip("ttyUSB0")},
         {"/dev/ttyS1", "/dev/ttyUSB0"}},
        {"a console on an adapter", {console(noChip("ttyUSB0")), noChip("ttyUSB1")}, {"/dev/ttyUSB1"}},
        {"kinds in order, numbers compared as numbers",
         {noChip("ttyACM0"), noChip("ttyUSB10"), noChip("ttyS0"), noChip("ttyUSB2"), uart("ttyS1"), noChip("ttyAMA0"),
          noChip("ttyUSB"), noChip("tty5")},
         {"/dev/ttyS1", "/dev/ttyUSB2", "/dev/ttyUSB10", "/dev/ttyACM0"}},
    };
    for (const auto &[what, ttys, inOrder] : cases) {
        EXPECT_EQ(orv::serialDevicesInOrder(ttys), inOrder) << what;
        EXPECT_EQ(orv::serialDeviceForPort(1, ttys), inOrder.value(0)) << what;
    }
    EXPECT_EQ(orv::serialDeviceForPort(2, std::get<1>(cases[7])), "/dev/ttyUSB2");
    EXPECT_EQ(orv::serialDeviceForPort(0, std::get<1>(cases[7])), "");
}

TEST(SerialPortName, ScanReadsWhatTheKernelShowsOfEachDeviceAndItsConsoles)
{
    QTemporaryDir root;
    const QDir dir(root.path());
    for (const char *sub :
         {"sys/ttyS0/device", "sys/ttyS1/device", "sys/ttyUSB0/device", "sys/tty1", "sys/console", "dev"})
        ASSERT_TRUE(dir.mkpath(sub));
    const std::pair<const char *, QByteArray> files[] = {
        {"sys/ttyS0/type", "4\n"}, {"sys/ttyS1/type", "4\n"}, {"sys/console/active", "tty0 ttyS0\n"},
        {"dev/ttyS0", ""},         {"dev/ttyS1", ""},         {"dev/ttyUSB0", ""},
        {"dev/ttyUSB3", ""},       {"dev/tty1", ""},
    };
    for (const auto &[name, text] : files)
        ASSERT_TRUE(orv::test::writeFile(dir.filePath(name), text));

    QList<TtyDevice> scanned = orv::scanTtyDevices(dir.filePath("sys"), dir.filePath("dev"));
    std::sort(scanned.begin(), scanned.end(), [](const TtyDevice &a, const TtyDevice &b) { return a.name < b.name; });
    EXPECT_EQ(scanned, (QList<TtyDevice>{{"ttyS0", true, true, 4, true},
                                         {"ttyS1", true, true, 4, false},
                                         {"ttyUSB0", true, true, 0, false},
                                         {"ttyUSB3", true, false, 0, false}}));
}
