// A recording driven through the main window: the tick grid, the store, the file.
#include "Fakes.h"
#include "settings/OptionsBehaviour.h"
#include "ui/Look.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace orv;
using namespace orv::test;

namespace {
const QByteArray kHeader("N\xB0Record;Valeur1;Valeur2;Date;Time\r\n");

QList<QByteArray> csvLines(const QByteArray &bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}
} // namespace

TEST(Recording, FirstSampleAtOnceThenOnePerSecond)
{
    Rig rig;
    Orvalin &w = rig.start();
    w.CmdRecord_Click();
    EXPECT_EQ(w.ui().Timer1->interval(), 10);
    EXPECT_EQ(w.ui().CmdRecord->text(), QStringLiteral(" Record  Stop"));
    EXPECT_FALSE(w.ui().menu_fichier->menuAction()->isEnabled());
    EXPECT_FALSE(w.ui().menu_option->menuAction()->isEnabled());
    EXPECT_TRUE(w.ui().menu_intero->menuAction()->isEnabled());
    EXPECT_TRUE(w.ui().TimerLed->isActive());

    rig.runTicks(1);
    EXPECT_EQ(w.store().count(), 1);
    EXPECT_EQ(w.ui().Timer1->interval(), 1000);
    rig.runTicks(2);
    EXPECT_EQ(w.store().count(), 3);
    EXPECT_EQ(rig.csv(), kHeader + "1;0;;12-05-2026;14:03:07\r\n2;0;;12-05-2026;14:03:08\r\n"
                                   "3;0;;12-05-2026;14:03:09\r\n");

    w.CmdRecord_Click();
    EXPECT_EQ(w.ui().CmdRecord->text(), QStringLiteral(" Record   Start"));
    EXPECT_FALSE(w.ui().Timer1->isActive());
    EXPECT_FALSE(w.ui().TimerLed->isActive());
    EXPECT_TRUE(w.ui().menu_fichier->menuAction()->isEnabled());
    EXPECT_TRUE(w.ui().menu_option->menuAction()->isEnabled());
}

// Every interval, over a whole divider cycle: samples stay on the grid
// start + 10 ms + (k - 1) x period even when every tick is served late.
TEST(Recording, SamplesStayOnTheirGridForEveryInterval)
{
    for (qint16 index = 1; index <= 10; ++index) {
        SCOPED_TRACE(index);
        Rig rig;
        Orvalin &w = rig.start();
        w.optionsWindow()->Option1_Click(index);
        const qint64 period = QByteArray(kIntervalChoices[static_cast<std::size_t>(index - 1)].intervalText).toLongLong()
            * kIntervalChoices[static_cast<std::size_t>(index - 1)].divider;
        const qint64 start = rig.clock.steadyMs();
        w.CmdRecord_Click();
        std::vector<qint64> sampleTimes;
        int lastCount = 0;
        for (int tick = 0; w.store().count() < 3; ++tick) {
            rig.clock.advance(w.ui().Timer1->interval() + 37); // each tick 37 ms late
            w.Timer1_Timer();
            if (w.store().count() != lastCount) {
                lastCount = w.store().count();
                sampleTimes.push_back(rig.clock.steadyMs());
            }
            ASSERT_LT(tick, 3 * 1440 + 5);
        }
        for (std::size_t k = 0; k < sampleTimes.size(); ++k)
            EXPECT_EQ(sampleTimes[k], start + 10 + static_cast<qint64>(k) * period + 37) << "sample " << k + 1;
    }
}

TEST(Recording, DividerFifteenTakesASampleEveryFifteenTicks)
{
    Rig rig;
    Orvalin &w = rig.start();
    w.optionsWindow()->Option1_Click(4);
    w.CmdRecord_Click();
    rig.runTicks(1);
    EXPECT_EQ(w.store().count(), 1);
    rig.runTicks(14);
    EXPECT_EQ(w.store().count(), 1);
    rig.runTicks(1);
    EXPECT_EQ(w.store().count(), 2);
    rig.runTicks(15);
    EXPECT_EQ(w.store().count(), 3);
    EXPECT_EQ(w.store().slot(2).time, "14:18:07");
    EXPECT_EQ(w.store().slot(3).time, "14:33:07");
}

TEST(Recording, TestKeysAndRestart)
{
    Rig rig;
    Orvalin &w = rig.start();
    for (int i = 0; i < 3; ++i)
        w.Form_KeyPress(43);
    w.Form_KeyPress(45);
    w.CmdRecord_Click(); // the start resets the test value
    rig.runTicks(1);
    EXPECT_EQ(std::get<qint16>(w.store().slot(1).value1), 0);
    for (int i = 0; i < 3; ++i)
        w.Form_KeyPress(43);
    rig.runTicks(1);
    EXPECT_EQ(std::get<qint16>(w.store().slot(2).value1), 3);
    EXPECT_TRUE(holdsNothing(w.store().slot(2).value2));

    // Stop and start again: slot 1 is overwritten and the file continues with number 1.
    w.CmdRecord_Click();
    w.CmdRecord_Click();
    EXPECT_EQ(w.store().count(), 0);
    rig.runTicks(1);
    EXPECT_EQ(w.store().count(), 1);
    const QList<QByteArray> lines = csvLines(rig.csv());
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[3].startsWith("1;0;;"));
    EXPECT_EQ(lines[2], QByteArray("2;3;;12-05-2026;14:03:08\r"));
}

TEST(Recording, TestValueStaysWithinSixteenBits)
{
    Rig rig;
    Orvalin &w = rig.start();
    for (int i = 0; i < 32768; ++i)
        w.Form_KeyPress(43);
    EXPECT_EQ(w.testValue(), 32767);
    for (int i = 0; i < 65536; ++i)
        w.Form_KeyPress(45);
    EXPECT_EQ(w.testValue(), -32768);
}

TEST(Recording, StoreFullStopsTheRecordingAndSaysSo)
{
    Rig rig;
    Orvalin &w = rig.start();
    w.CmdRecord_Click();
    rig.runTicks(1);
    w.store().setCount(31998);
    rig.runTicks(2);
    EXPECT_EQ(w.store().count(), 32000);
    EXPECT_TRUE(w.ui().Timer1->isActive());
    rig.runTicks(1);
    EXPECT_EQ(w.store().count(), 32000);
    EXPECT_FALSE(w.ui().Timer1->isActive());
    EXPECT_EQ(w.ui().CmdRecord->text(), QStringLiteral(" Record   Start"));
    ASSERT_EQ(rig.desktop.messages.size(), 1);
    EXPECT_TRUE(rig.desktop.messages.first().contains(QStringLiteral("pleine")));
    const QList<QByteArray> lines = csvLines(rig.csv());
    EXPECT_TRUE(lines.last().startsWith("32000;"));
    EXPECT_EQ(lines.size(), 4);
}

TEST(Recording, IndicatorBlinksAndIsOffAfterAStop)
{
    Rig rig;
    Orvalin &w = rig.start();
    w.CmdRecord_Click();
    w.TimerLed_Timer();
    EXPECT_EQ(rgbNumber(w.ui().Led1->fillColor), 255u);
    EXPECT_TRUE(w.ui().LedOn1->backOpaque);
    EXPECT_TRUE(w.ui().LedOn1->borderSolid);
    w.TimerLed_Timer();
    EXPECT_EQ(rgbNumber(w.ui().Led1->fillColor), 128u);
    w.TimerLed_Timer();
    w.CmdRecord_Click(); // stopped while lit
    EXPECT_EQ(rgbNumber(w.ui().Led1->fillColor), 128u);
    EXPECT_FALSE(w.ui().LedOn1->backOpaque);
    EXPECT_FALSE(w.ui().LedOn1->borderSolid);
}

TEST(Recording, MissingBoardReadingsGiveEmptyFields)
{
    Rig rig;
    rig.writeConfig("\"NE PAS MODIFIER CE FICHIER\",\"data_tr.csv\",1,1,4410\r\n");
    Orvalin &w = rig.start();
    w.CmdRecord_Click();
    rig.state.readings = {128, 255, false, false};
    rig.runTicks(1);
    rig.state.readings.missing1 = rig.state.readings.missing2 = true;
    rig.runTicks(1);
    const QList<QByteArray> lines = csvLines(rig.csv());
    EXPECT_EQ(lines[1], QByteArray("1;128;255;12-05-2026;14:03:07\r"));
    EXPECT_EQ(lines[2], QByteArray("2;;;12-05-2026;14:03:08\r"));
}

TEST(Recording, UnwritableFileShowsTheWaitAndLosesNothing)
{
    Rig rig;
    Orvalin &w = rig.start();
    w.show();
    QDir().mkpath(rig.dir.filePath(QStringLiteral("data_tr.csv"))); // the name is a folder
    w.CmdRecord_Click();
    rig.runTicks(3);
    EXPECT_EQ(w.store().count(), 3);
    EXPECT_TRUE(w.ui().LabelAttente->isVisible());
    EXPECT_TRUE(w.ui().LabelAttente->text().contains(QStringLiteral("3 ligne(s) en attente")));

    QDir(rig.dir.filePath(QStringLiteral("data_tr.csv"))).removeRecursively();
    w.TimerValActu_Timer(); // retried between samples too
    EXPECT_FALSE(w.ui().LabelAttente->isVisible());
    const QList<QByteArray> lines = csvLines(rig.csv());
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[1].startsWith("1;"));
    EXPECT_TRUE(lines[3].startsWith("3;"));
}

TEST(NewRecordingFile, CancelChangesNothing)
{
    Rig rig;
    Orvalin &w = rig.start();
    QFile existing(rig.dir.filePath(QStringLiteral("data_tr.csv")));
    existing.open(QIODevice::WriteOnly);
    existing.write("keep me\r\n");
    existing.close();
    const QByteArray config = rig.configBytes();

    rig.dialog.chooses.clear();
    w.menu_nouveau_Click();
    EXPECT_EQ(rig.dialog.shown, 1);
    EXPECT_EQ(rig.dialog.seenName, QStringLiteral("data_tr.csv"));
    EXPECT_EQ(rig.dialog.seenTitle, QStringLiteral("Nouvel Enregistrement sous :"));
    EXPECT_EQ(rig.dialog.seenFlags, 0x200806);
    EXPECT_EQ(rig.csv(), QByteArray("keep me\r\n"));
    EXPECT_EQ(rig.configBytes(), config);
    EXPECT_EQ(rig.state.settings.fileName, QStringLiteral("data_tr.csv"));
}

TEST(NewRecordingFile, ChosenFileIsCreatedAndRemembered)
{
    Rig rig;
    Orvalin &w = rig.start();
    const QString cwd = QDir::currentPath();
    const QString chosen = rig.dir.filePath(QStringLiteral("avril, essai 2.csv"));
    rig.dialog.chooses = chosen;
    w.menu_nouveau_Click();
    EXPECT_EQ(Rig::readFile(chosen), kHeader);
    EXPECT_EQ(rig.state.settings.fileName, chosen);
    EXPECT_TRUE(rig.configBytes().contains(QFile::encodeName(chosen)));
    EXPECT_EQ(QDir::currentPath(), cwd);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Orv.TR : data_tr.csv")); // refreshed only by the toggle

    w.CmdRecord_Click();
    rig.runTicks(1);
    EXPECT_EQ(Rig::readFile(chosen), kHeader + "1;0;;12-05-2026;14:03:07\r\n");
}

TEST(NewRecordingFile, FileThatCannotBeCreatedKeepsTheOldName)
{
    Rig rig;
    Orvalin &w = rig.start();
    rig.dialog.chooses = rig.dir.filePath(QStringLiteral("gone/x.csv"));
    w.menu_nouveau_Click();
    EXPECT_EQ(rig.state.settings.fileName, QStringLiteral("data_tr.csv"));
    ASSERT_EQ(rig.desktop.messages.size(), 1);
    EXPECT_TRUE(rig.desktop.messages.first().contains(QStringLiteral("data_tr.csv")));
}

TEST(NewRecordingFile, NameWithAQuoteIsRefusedBecauseTheSettingsCouldNotHoldIt)
{
    Rig rig;
    Orvalin &w = rig.start();
    const QString chosen = rig.dir.filePath(QStringLiteral("essai \"2\".csv"));
    rig.dialog.chooses = chosen;
    w.menu_nouveau_Click();
    EXPECT_FALSE(QFile::exists(chosen));
    EXPECT_EQ(rig.state.settings.fileName, QStringLiteral("data_tr.csv"));
    ASSERT_EQ(rig.desktop.messages.size(), 1);
    EXPECT_TRUE(rig.desktop.messages.first().contains(QStringLiteral("guillemet")));
}
