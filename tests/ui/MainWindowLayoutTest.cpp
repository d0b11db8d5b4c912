// The main window as it is created, against its layout table.

#include "Fakes.h"
#include "LayoutWalk.h"

#include "ui/Look.h"

#include <QCoreApplication>
#include <QFontInfo>
#include <QImage>
#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

namespace orv::test {
namespace {

const QColor kBlack(0, 0, 0);
const QColor kReadoutRed(192, 0, 0);
const QColor kGrey(128, 128, 128);      // system colour 3
const QColor kBorderFace(212, 208, 200); // system colour 10

class MainWindowLayout : public ::testing::Test {
protected:
    static void SetUpTestSuite() { installFontSubstitutions(); }

    // As created: the load handler has not run.
    static Orvalin &created(Rig &rig)
    {
        rig.window = std::make_unique<Orvalin>(rig.state, *rig.config,
                                               Services{rig.clock, rig.desktop, rig.dialog, rig.sources});
        return *rig.window;
    }

    Rig rig;
    Orvalin &window = created(rig);
};

TEST_F(MainWindowLayout, ControlsSitWhereTheTableSays)
{
    // Twips as laid out; the walk compares pixels at 15 twips each.
    const std::vector<Control> table = {
        {.name = "Frame1", .container = "client", .rect = {120, 120, 975, 1020}},
        {.name = "Label2", .container = "client", .rect = {120, 1250, 975, 315}, .caption = "00:00:00",
         .font = {"Arial", 11.25, true}, .align = Qt::AlignHCenter, .back = kBlack, .text = kReadoutRed},
        {.name = "Frame3", .container = "client", .rect = {120, 1560, 975, 975}},
        {.name = "Label1", .container = "client", .rect = {1320, 120, 3615, 255},
         .caption = "A1      A2          Date             Time", .back = kBorderFace, .text = kBlack},
        {.name = "Text1", .container = "client", .rect = {1200, 360, 3015, 2175}, .caption = "",
         .back = kBlack, .text = QColor(0, 192, 0)},
        {.name = "Label10", .container = "client", .rect = {2160, -50, 975, 150}, .caption = "V1.11ß1 USB",
         .font = {"Microsoft Sans Serif", 6.75}, .text = kGrey},
        {.name = "Frame2", .container = "client", .rect = {4320, 0, 2655, 2535}},

        {.name = "FrameLED", .container = "Frame1", .rect = {280, 120, 375, 240}},
        {.name = "CmdRecord", .container = "Frame1", .rect = {120, 440, 735, 495}, .caption = " Record Start"},
        {.name = "RefleLed1", .container = "FrameLED", .rect = {145, 50, 30, 150}},
        {.name = "Led1", .container = "FrameLED", .rect = {120, 75, 165, 135}},
        {.name = "LedOn1", .container = "FrameLED", .rect = {105, 45, 210, 210}},

        {.name = "Label3", .container = "Frame3", .rect = {300, 140, 615, 375}, .caption = "000",
         .tooltip = "In A1 USB K8055 - V2 RS232", .font = {"Arial", 14.25, true}, .align = Qt::AlignHCenter,
         .back = kBlack, .text = kReadoutRed},
        {.name = "Label8", .container = "Frame3", .rect = {65, 240, 230, 255}, .caption = "A1",
         .tooltip = "In A1 USB K8055 - V2 RS232", .font = {"Arial", 8.25, true}},
        {.name = "Label6", .container = "Frame3", .rect = {300, 540, 615, 375}, .caption = "000",
         .tooltip = "In A2 - que USB K8055", .font = {"Arial", 14.25, true}, .align = Qt::AlignHCenter,
         .back = kBlack, .text = kReadoutRed},
        {.name = "Label9", .container = "Frame3", .rect = {65, 600, 230, 255}, .caption = "A2",
         .tooltip = "In A2 - que USB K8055", .font = {"Arial", 8.25, true}},

        {.name = "EchelleV2", .container = "Frame2", .rect = {120, 600, 375, 1455}},
        {.name = "Ecran1", .container = "Frame2", .rect = {480, 600, 1575, 1455}},
        {.name = "EchelleV", .container = "Frame2", .rect = {2040, 600, 495, 1455}},
        {.name = "EchelleH", .container = "Frame2", .rect = {480, 2040, 1575, 255}},
        {.name = "Label5", .container = "Frame2", .rect = {240, 360, 255, 255}, .caption = "C°",
         .font = {"MS Serif", 8.25}},
        {.name = "Label4", .container = "Frame2", .rect = {2040, 360, 375, 255}, .caption = "W/m²",
         .font = {"MS Serif", 6.75}, .align = Qt::AlignHCenter},
        {.name = "Label7", .container = "Frame2", .rect = {1080, 2280, 255, 210}, .caption = "T(h)",
         .font = {"MS Serif", 8.25}},
    };
    expectLayout(&window, table);
}

TEST_F(MainWindowLayout, WindowAtCreationShowsNoChartAndHasBorderBackground)
{
    OrvalinUi &ui = window.ui();
    // 4320 x 2655 twips: the chart frame starts exactly at the right edge.
    EXPECT_EQ(ui.client->size(), QSize(288, 177));
    EXPECT_EQ(ui.Frame2->x(), ui.client->width());
    EXPECT_EQ(ui.client->palette().color(ui.client->backgroundRole()), kBorderFace);
    EXPECT_EQ(window.minimumSize(), window.maximumSize()) << "the user cannot resize it";
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Orvalin Temps Réel"));
}

TEST_F(MainWindowLayout, RecordingLightShowsOnlyTheDarkRedDiscAtStart)
{
    OrvalinUi &ui = window.ui();
    EXPECT_TRUE(ui.Led1->fillSolid);
    EXPECT_EQ(ui.Led1->fillColor, QColor(128, 0, 0));
    EXPECT_EQ(ui.Led1->borderColor, QColor(128, 0, 0));
    EXPECT_FALSE(ui.LedOn1->backOpaque);
    EXPECT_FALSE(ui.LedOn1->borderSolid);
    EXPECT_FALSE(ui.LedOn1->fillSolid);
    EXPECT_EQ(ui.LedOn1->borderWidth, 2);
    EXPECT_TRUE(ui.RefleLed1->backOpaque);
    EXPECT_EQ(ui.RefleLed1->backColor, QColor(255, 255, 255));
    EXPECT_FALSE(ui.RefleLed1->fillSolid);
}

TEST_F(MainWindowLayout, ChartAndScaleBoxesHaveTheirColoursAndFonts)
{
    OrvalinUi &ui = window.ui();
    EXPECT_EQ(ui.Ecran1->backColor(), kBlack);
    EXPECT_EQ(ui.Ecran1->foreColor(), QColor(0, 255, 0));
    EXPECT_EQ(ui.EchelleH->backColor(), kBorderFace);
    for (PictureBox *b : {ui.EchelleV2, ui.EchelleV, ui.EchelleH}) {
        SCOPED_TRACE(b->objectName().toStdString());
        EXPECT_EQ(b->foreColor(), kBlack);
        EXPECT_EQ(b->surface().font().family(), QStringLiteral("MS Serif"));
        EXPECT_EQ(QFontInfo(b->surface().font()).pixelSize(), 8); // 6 points
    }
}

TEST_F(MainWindowLayout, ScalesDrawnAtStartStayWhenTheWindowIsShown)
{
    window.Form_Load();
    window.show();
    QCoreApplication::processEvents();
    OrvalinUi &ui = window.ui();
    for (PictureBox *b : {ui.EchelleV2, ui.EchelleV, ui.EchelleH}) {
        SCOPED_TRACE(b->objectName().toStdString());
        const QImage &image = b->surface().image();
        int inked = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                inked += QColor(image.pixel(x, y)) == kBlack ? 1 : 0;
        }
        EXPECT_GT(inked, 20) << "ticks and numbers in black";
    }
}

TEST_F(MainWindowLayout, OnlyTheLiveReadoutTimerRunsAtStart)
{
    struct Row {
        QTimer *timer;
        int interval;
        bool running;
    };
    OrvalinUi &ui = window.ui();
    for (const Row &r : {Row{ui.Timer1, 10, false}, Row{ui.TimerValActu, 500, true},
                         Row{ui.TimerLed, 500, false}, Row{ui.TimerVideBufferRS, 10000, false}}) {
        SCOPED_TRACE(r.timer->objectName().toStdString());
        EXPECT_EQ(r.timer->interval(), r.interval);
        EXPECT_EQ(r.timer->isActive(), r.running);
    }
}

TEST_F(MainWindowLayout, MenusReadExactlyAsWrittenWithoutShortcuts)
{
    QMenuBar *bar = window.menuBar();
    QStringList top;
    for (QAction *a : bar->actions())
        top << a->text();
    EXPECT_EQ(top, (QStringList{"Fichier", "Option", "?"}));

    OrvalinUi &ui = window.ui();
    auto captions = [](QMenu *m) {
        QStringList out;
        for (QAction *a : m->actions())
            out << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return out;
    };
    EXPECT_EQ(captions(ui.menu_fichier), QStringList{"Nouvel Enregistrement"});
    EXPECT_EQ(captions(ui.menu_option), (QStringList{"Graphe on/off", "-", "Réglages"}));
    EXPECT_EQ(captions(ui.menu_intero), (QStringList{"Aide", "à Propos"}));
    EXPECT_FALSE(ui.menu_aide->isEnabled());
    EXPECT_TRUE(ui.menu_apropos->isEnabled());
    EXPECT_FALSE(ui.menuGraphe->isChecked());
    for (QAction *a : window.menuBar()->findChildren<QAction *>()) {
        SCOPED_TRACE(a->text().toStdString());
        EXPECT_TRUE(a->shortcut().isEmpty());
        EXPECT_FALSE(a->text().contains(QLatin1Char('&')));
    }
}

TEST_F(MainWindowLayout, EveryControlTheUserActsOnHasAnAccessibleName)
{
    // The value boxes and the light are named for what they show.
    expectAccessibleNames(&window, {"CmdRecord", "Text1", "Label2", "Label3", "Label6", "FrameLED"});
    // Menu items are read out by their captions.
    for (QAction *top : window.menuBar()->actions()) {
        EXPECT_FALSE(top->text().isEmpty());
        for (QAction *a : top->menu()->actions()) {
            if (!a->isSeparator()) {
                EXPECT_FALSE(a->text().isEmpty());
            }
        }
    }
}

} // namespace
} // namespace orv::test
