// The options window as it is created, against its layout table.

#include "LayoutWalk.h"

#include "settings/I_Ofichier.h"
#include "settings/OptionsBehaviour.h"
#include "ui/Form_option.h"
#include "ui/Look.h"
#include "ui/Widgets.h"

#include <QRadioButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace orv::test {
namespace {

class OptionsLayout : public ::testing::Test {
protected:
    static void SetUpTestSuite() { installFontSubstitutions(); }

    QTemporaryDir dir;
    ProgramState state;
    I_Ofichier config{state, dir.filePath(QStringLiteral("orvtr.cfg"))};
    OptionsBehaviour behaviour{state, config, {}};
    // The default state holds no valid interval, so the load handler selects only the
    // test-mode source button.
    Form_option *window = new Form_option(state, behaviour);

    ~OptionsLayout() override { delete window; }
};

TEST_F(OptionsLayout, ControlsSitWhereTheTableSays)
{
    const std::vector<Control> table = {
        {.name = "Frame1", .container = "Form_option", .rect = {120, 120, 975, 3015}, .caption = "Time Rec"},
        {.name = "Frame2", .container = "Form_option", .rect = {1200, 120, 1455, 3015},
         .caption = "Echelle Capteur", .enabled = false},
        {.name = "Capteur", .container = "Form_option", .rect = {2760, 120, 1935, 3015}, .caption = "Capteur"},
        {.name = "Command1", .container = "Form_option", .rect = {1800, 3240, 1095, 375}, .caption = "OK"},

        {.name = "Option1_1", .container = "Frame1", .rect = {240, 360, 495, 255}, .caption = "1\"",
         .tooltip = "8h record"},
        {.name = "Option1_2", .container = "Frame1", .rect = {240, 600, 615, 255}, .caption = "10\"",
         .tooltip = "17h record"},
        {.name = "Option1_3", .container = "Frame1", .rect = {240, 840, 615, 255}, .caption = "1 '",
         .tooltip = "2days record"},
        {.name = "Option1_4", .container = "Frame1", .rect = {240, 1080, 615, 255}, .caption = "15 '",
         .tooltip = "3days record"},
        {.name = "Option1_5", .container = "Frame1", .rect = {240, 1320, 615, 255}, .caption = "30 '",
         .tooltip = "7days record"},
        {.name = "Option1_6", .container = "Frame1", .rect = {240, 1560, 495, 255}, .caption = "1h",
         .tooltip = "22 days record"},
        {.name = "Option1_7", .container = "Frame1", .rect = {240, 1800, 495, 255}, .caption = "3h"},
        {.name = "Option1_8", .container = "Frame1", .rect = {240, 2040, 495, 255}, .caption = "6h"},
        {.name = "Option1_9", .container = "Frame1", .rect = {240, 2280, 615, 255}, .caption = "12h"},
        {.name = "Option1_10", .container = "Frame1", .rect = {240, 2520, 615, 255}, .caption = "24h"},

        // Everything in the inert frame is greyed with it.
        {.name = "Label1", .container = "Frame2", .rect = {240, 360, 975, 375}, .caption = "Entrer valeur Max:",
         .enabled = false},
        {.name = "Text1", .container = "Frame2", .rect = {240, 960, 855, 285}, .caption = "1000",
         .enabled = false, .align = Qt::AlignHCenter},
        {.name = "Label2", .container = "Frame2", .rect = {240, 1680, 975, 375}, .caption = "Entrer valeur Min :",
         .enabled = false},
        {.name = "Text2", .container = "Frame2", .rect = {240, 2250, 855, 285}, .caption = "0",
         .enabled = false, .align = Qt::AlignHCenter},

        {.name = "Option2_1", .container = "Capteur", .rect = {120, 240, 1215, 255}, .caption = "USB P8055"},
        {.name = "Text4", .container = "Capteur", .rect = {1560, 360, 240, 285}, .caption = "3", .enabled = false},
        {.name = "Label3", .container = "Capteur", .rect = {600, 480, 855, 255}, .caption = "Adresse N°",
         .align = Qt::AlignRight},
        {.name = "Option2_2", .container = "Capteur", .rect = {120, 840, 1455, 375}, .caption = "RS232 com N°"},
        {.name = "Text3", .container = "Capteur", .rect = {1540, 840, 240, 285}, .caption = "1", .enabled = false,
         .tooltip = "Entrer N° de port com", .align = Qt::AlignHCenter},
        {.name = "Option3_0", .container = "Capteur", .rect = {120, 1320, 855, 255}, .caption = "Voie 0",
         .enabled = false},
        {.name = "Option3_1", .container = "Capteur", .rect = {960, 1320, 855, 255}, .caption = "Voie 1",
         .enabled = false},
        {.name = "Option3_2", .container = "Capteur", .rect = {120, 1560, 855, 255}, .caption = "Voie 2"},
        {.name = "Option3_3", .container = "Capteur", .rect = {960, 1560, 855, 255}, .caption = "Voie 3",
         .enabled = false},
        {.name = "Option2_0", .container = "Capteur", .rect = {120, 2280, 1215, 375},
         .caption = "Mode Test (clavier +/-)"},
    };
    expectLayout(window, table);
}

TEST_F(OptionsLayout, WindowIsFixedWithCloseBoxOnly)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("   Réglages"));
    // 4800 x 3705 twips.
    EXPECT_EQ(window->size(), QSize(320, 247));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_TRUE(window->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST_F(OptionsLayout, TwoEtchedSeparatorsCrossTheSourceFrame)
{
    // Grey line over a white one a pixel lower: (120, 720)-(1800, 720) over (120, 740)-(1800, 740),
    // and (120, 2040)-(1800, 2040) over (120, 2060)-(1800, 2060).
    using Line = std::tuple<int, int, int, int, QRgb>;
    std::set<Line> seen;
    for (LineShape *l : window->Capteur->findChildren<LineShape *>()) {
        const QRect g = l->geometry();
        seen.insert({g.x(), g.y(), g.width(), g.height(), l->color.rgb()});
    }
    const QRgb grey = qRgb(128, 128, 128);
    const QRgb white = qRgb(255, 255, 255);
    EXPECT_EQ(seen, (std::set<Line>{{8, 48, 113, 1, grey}, {8, 49, 113, 1, white},
                                    {8, 136, 113, 1, grey}, {8, 137, 113, 1, white}}));
}

TEST_F(OptionsLayout, ChannelButtonsShareTheSourceGroup)
{
    QStringList checked;
    for (QRadioButton *b : window->findChildren<QRadioButton *>()) {
        if (b->isChecked())
            checked << b->objectName();
    }
    EXPECT_EQ(checked, QStringList{"Option2_0"});

    window->Option2[1]->setChecked(true);
    window->Option3[2]->setChecked(true);
    EXPECT_FALSE(window->Option2[1]->isChecked()) << "Voie 2 takes the source button's mark";
    // The interval buttons are a group of their own.
    window->Option1[3]->setChecked(true);
    EXPECT_TRUE(window->Option3[2]->isChecked());
}

TEST_F(OptionsLayout, IntervalButtonsTabUpwards)
{
    for (int i = 10; i > 1; --i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(window->Option1[static_cast<std::size_t>(i)]->nextInFocusChain(),
                  window->Option1[static_cast<std::size_t>(i - 1)]);
    }
}

TEST_F(OptionsLayout, EveryControlTheUserActsOnHasAnAccessibleName)
{
    expectAccessibleNames(window, {"Option1_1", "Option1_10", "Option2_0", "Option2_1", "Option2_2",
                                   "Option3_2", "Command1", "Text1", "Text2", "Text3", "Text4"});
}

} // namespace
} // namespace orv::test
