#include "Printers.h"

#include "core/TestValue.h"
#include "sources/RealSourceFactory.h"

#include <gtest/gtest.h>

// Sources are made, never opened: a test must not reach this machine's real devices.
TEST(RealSourceFactory, MakesEachKindAndTheKeyboardFollowsTheTestValue)
{
    orv::RealSourceFactory factory;
    orv::TestValue testValue;
    EXPECT_EQ(factory.make(orv::SourceKind::Board, testValue)->latest(), orv::Readings{}) << "no test value";
    EXPECT_EQ(factory.make(orv::SourceKind::Serial, testValue)->maintenanceIntervalMs(), 10000);
    const std::unique_ptr<orv::Source> keyboard = factory.make(orv::SourceKind::Keyboard, testValue);
    keyboard->open();
    EXPECT_EQ(keyboard->poll(), (orv::Readings{0, std::nullopt}));
    testValue.increase();
    testValue.increase();
    EXPECT_EQ(keyboard->latest(), (orv::Readings{2, std::nullopt})) << "the value now, not when made";
    for (int i = 0; i < 3; ++i)
        testValue.decrease();
    EXPECT_EQ(keyboard->poll(), (orv::Readings{-1, std::nullopt}));
    EXPECT_EQ(keyboard->problem(), "");
}
