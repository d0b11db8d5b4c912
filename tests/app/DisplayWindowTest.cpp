// The main window's live readout, chart toggle, trace and scales as pixels and texts.
#include "Fakes.h"

#include "display/History.h"

#include <QImage>

#include <gtest/gtest.h>

using namespace orv;
using namespace orv::test;

namespace {
int countColor(const QImage &img, const QColor &c)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += img.pixelColor(x, y) == c;
    return n;
}
} // namespace

TEST(Readout, ClockAndValuesPerSource)
{
    Rig rig;
    Orvalin &w = rig.start();
    w.Form_KeyPress(45);
    w.Form_KeyPress(45);
    w.Form_KeyPress(45);
    w.TimerValActu_Timer();
    EXPECT_EQ(w.ui().Label2->text(), QStringLiteral("14:03:07"));
    EXPECT_EQ(w.ui().Label3->text(), QStringLiteral("-3"));
    EXPECT_EQ(w.ui().Label6->text(), QStringLiteral("000")); // untouched in test mode

    rig.state.settings.sourceCode = SourceUsb;
    rig.state.readings = {128, 255, false, false};
    rig.sources.calls.clear();
    w.TimerValActu_Timer();
    EXPECT_EQ(rig.sources.calls, (QStringList{QStringLiteral("usb_ouvre"), QStringLiteral("usb_lit")}));
    EXPECT_EQ(w.ui().Label3->text(), QStringLiteral("128"));
    EXPECT_EQ(w.ui().Label6->text(), QStringLiteral("255"));
    EXPECT_EQ(w.ui().Label3->toolTip(), QStringLiteral("In A1 USB K8055 - V2 RS232"));

    // No board: dashes and the reason in the tooltip.
    rig.state.readings.missing1 = rig.state.readings.missing2 = true;
    rig.sources.usbProblemText = QStringLiteral("La carte ne répond pas.");
    w.TimerValActu_Timer();
    EXPECT_EQ(w.ui().Label3->text(), QStringLiteral("---"));
    EXPECT_EQ(w.ui().Label6->text(), QStringLiteral("---"));
    EXPECT_EQ(w.ui().Label6->toolTip(), QStringLiteral("La carte ne répond pas."));

    // Back in test mode, value 2 keeps what was last shown.
    rig.state.settings.sourceCode = SourceTest;
    rig.sources.calls.clear();
    w.TimerValActu_Timer();
    EXPECT_TRUE(rig.sources.calls.isEmpty());
    EXPECT_EQ(w.ui().Label6->text(), QStringLiteral("---"));
    EXPECT_EQ(w.ui().Label3->toolTip(), QStringLiteral("In A1 USB K8055 - V2 RS232"));

    rig.state.settings.sourceCode = SourceSerial;
    rig.state.readings = {200, 7, false, false};
    rig.sources.calls.clear();
    w.TimerValActu_Timer();
    EXPECT_EQ(rig.sources.calls, QStringList{QStringLiteral("rs232_lit")});
    EXPECT_EQ(w.ui().Label3->text(), QStringLiteral("200"));
}

TEST(ChartToggle, WidensAndNarrowsTheWindowAndStoresTheWidth)
{
    Rig rig;
    Orvalin &w = rig.start();
    EXPECT_EQ(w.windowWidthTwips(), 4410);
    w.menuGraphe_Click();
    EXPECT_EQ(w.windowWidthTwips(), 7170);
    EXPECT_EQ(w.ui().client->width() * 15, 7080);
    EXPECT_TRUE(w.ui().menuGraphe->isChecked());
    EXPECT_EQ(rig.state.settings.windowWidth, 7170);
    EXPECT_EQ(rig.configBytes(), QByteArray("\"NE PAS MODIFIER CE FICHIER\",\"data_tr.csv\",1,0,7170\r\n"));
    EXPECT_TRUE(w.windowTitle().startsWith(QStringLiteral("Orvalin Temps Réel ")));
    // The chart group lies wholly inside the widened client area.
    EXPECT_LE(w.ui().Frame2->geometry().right(), w.ui().client->width() - 1);

    w.menuGraphe_Click();
    EXPECT_EQ(w.windowWidthTwips(), 4410);
    EXPECT_FALSE(w.ui().menuGraphe->isChecked());
    EXPECT_EQ(w.ui().client->width(), w.ui().Frame2->x());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Orv.TR : data_tr.csv"));
}

TEST(Chart, TraceSurvivesHideAndShowAndIsEmptyAfterAStart)
{
    Rig rig;
    Orvalin &w = rig.start();
    w.menuGraphe_Click();
    w.show();
    w.CmdRecord_Click();
    for (int i = 0; i < 20; ++i) {
        w.Form_KeyPress(43);
        for (int k = 0; k < 5; ++k)
            w.Form_KeyPress(43);
        rig.runTicks(1);
    }
    const QColor green(0, 255, 0);
    const int before = countColor(w.ui().Ecran1->grab().toImage(), green);
    EXPECT_GT(before, 40);

    w.menuGraphe_Click(); // chart hidden
    w.menuGraphe_Click(); // and shown again
    w.ui().Ecran1->hide();
    w.ui().Ecran1->show();
    EXPECT_EQ(countColor(w.ui().Ecran1->grab().toImage(), green), before);

    w.CmdRecord_Click();
    w.CmdRecord_Click(); // a new recording clears the chart until its first sample
    EXPECT_EQ(countColor(w.ui().Ecran1->grab().toImage(), green), 0);
    EXPECT_TRUE(w.historyText().isEmpty());
    rig.runTicks(1);
    EXPECT_GT(countColor(w.ui().Ecran1->grab().toImage(), green), 0);
}

TEST(Chart, ScalesAreDrawnOnceAndStayDrawn)
{
    Rig rig;
    Orvalin &w = rig.start();
    const QImage v2 = w.ui().EchelleV2->surface().image();
    ASSERT_EQ(v2.height(), 97);
    // Tick of 30 at the top edge, from 100 to 300 twips (pixels 7 to 20).
    EXPECT_EQ(v2.pixelColor(10, 0), QColor(0, 0, 0));
    // Tick of 0 at H - 3 twips: the last row but one of the drawing area... in pixels, row 96.
    EXPECT_EQ(v2.pixelColor(10, 96), QColor(0, 0, 0));
    w.menuGraphe_Click();
    w.show();
    const QImage shown = w.ui().EchelleV2->grab().toImage();
    w.ui().EchelleV2->hide();
    w.ui().EchelleV2->show();
    EXPECT_EQ(w.ui().EchelleV2->grab().toImage(), shown);
}

TEST(HistoryWidget, ShowsEverySampleNewestFirst)
{
    Rig rig;
    Orvalin &w = rig.start();
    w.CmdRecord_Click();
    rig.runTicks(2);
    EXPECT_EQ(w.historyText(), QStringLiteral(" 000 --     --- 12-05-2026 -- 14:03:08\r\n"
                                              " 000 --     --- 12-05-2026 -- 14:03:07\r\n"
                                              " 000 -- 000 ---  -- \r\n"));
    EXPECT_EQ(w.historyText(), historyText(w.store()));
    EXPECT_EQ(w.ui().Label1->text(), QStringLiteral("A1      A2          Date             Time"));
}
