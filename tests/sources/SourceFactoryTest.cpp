// SPDX-License-Identifier: GPL-3.0-or-later
#include "Printers.h"

#include "sources/RealSourceFactory.h"

#include <gtest/gtest.h>

// Devices are made, never opened: a test must not reach this machine's real devices.
TEST(RealSourceFactory, MakesEachDeviceAndNothingForTheKeyboard)
{
    orv::RealSourceFactory factory;
    EXPECT_EQ(factory.make(orv::SourceKind::Board)->latest(), orv::Readings{});
    EXPECT_EQ(factory.make(orv::SourceKind::Serial)->maintenanceIntervalMs(), 10000);
    EXPECT_EQ(factory.make(orv::SourceKind::Keyboard), nullptr);
}
