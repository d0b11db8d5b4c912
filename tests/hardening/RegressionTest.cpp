// What the fuzzers and the process tests found, each kept as the case a person would
// hit, with the expected result written out.
#include "Fakes.h"
#include "core/Texts.h"
#include "settings/I_Ofichier.h"

#include <QTest>

#include <limits>

#include <gtest/gtest.h>

using namespace orv;
using namespace orv::test;

// The smallest 64-bit number used to overflow when made positive for padding.
TEST(Regressions, NumberStylesAtTheEdgesOf64Bits)
{
    const qint64 min = std::numeric_limits<qint64>::min();
    const qint64 max = std::numeric_limits<qint64>::max();
    EXPECT_EQ(pattern000(min), QStringLiteral("-9223372036854775808"));
    EXPECT_EQ(pattern000(max), QStringLiteral("9223372036854775807"));
    EXPECT_EQ(pattern000(-1), QStringLiteral("-001"));
    EXPECT_EQ(decimalText(min), QStringLiteral("-9223372036854775808"));
    EXPECT_EQ(printStyle(min), QStringLiteral("-9223372036854775808 "));
}

// A recording file name cut inside a UTF-8 character used to lose its tail, or come out
// empty, because the decoder kept waiting for the rest of the character.
TEST(Regressions, SettingsNameCutInsideACharacterKeepsWhatWasThere)
{
    SettingsRecord r = defaultSettings();
    parseConfig("\"NE PAS MODIFIER CE FICHIER\",\"mesures\xC3\",2,0,3600\r\n", r);
    EXPECT_EQ(r.fileName, QStringLiteral("mesures\uFFFD"));
    EXPECT_EQ(r.intervalIndex, 2);

    parseConfig("\"NE PA\xAD\xDF\xB2\xB0\xBB\xB6\"NE PA\xAD\r\n\xC9", r);
    EXPECT_EQ(r.fileName, QStringLiteral("\uFFFD"));
}

// Keyboard events are built on the stack, so consecutive presses share one address;
// every press used to be taken for the previous one climbing to its parents, and only
// the first "+" or "-" of a run counted.
TEST(Regressions, EveryPressOfTheTestKeysCounts)
{
    Rig rig;
    Orvalin &w = rig.start();
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(w.windowHandle(), '+');
    EXPECT_EQ(w.testValue(), 3);
    QTest::keyClick(w.windowHandle(), '-');
    EXPECT_EQ(w.testValue(), 2);
    // Delivered to a control inside the window, climbing to its parents, still once each.
    w.ui().CmdRecord->setFocus();
    QTest::keyClick(w.ui().CmdRecord, '-');
    QTest::keyClick(w.ui().CmdRecord, '-');
    EXPECT_EQ(w.testValue(), 0);
}
