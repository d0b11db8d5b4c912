// The About window: its layout, the underline of the links under the pointer, and the
// links it hands to the desktop.

#include "Fakes.h"
#include "LayoutWalk.h"

#include "ui/About.h"
#include "ui/Look.h"

#include <QApplication>
#include <QFontInfo>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace orv::test {
namespace {

const QString kMailLink = QStringLiteral("mailto:contact@orvalin.example.org?Subject=Question sur Orvalin Temps Réel");
const QString kWebLink = QStringLiteral("https://orvalin.example.org/");

// The pointer, as the window system delivers it: to whatever lies under the point.
void moveOver(QWidget *w, QPoint at)
{
    QTest::mouseMove(w->window()->windowHandle(), w->mapTo(w->window(), at));
}

void clickOn(QWidget *w, QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseClick(w->window()->windowHandle(), button, {}, w->mapTo(w->window(), at));
}

bool underlined(const QLabel *l)
{
    return l->font().underline();
}

class AboutWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() { installFontSubstitutions(); }

    void SetUp() override
    {
        about = new About(desktop);
        about->show();
        ASSERT_NE(about->windowHandle(), nullptr);
    }
    void TearDown() override { delete about.data(); }

    // Points on the surfaces themselves, clear of every control.
    QPoint windowSurface() const { return {3, 148}; }   // between the two link areas
    QPoint mailSurface() const { return {45, 4}; }      // above the address
    QPoint webSurface() const { return {84, 36}; }      // right of the banner, under the address

    FakeDesktop desktop;
    QPointer<About> about;
};

TEST_F(AboutWindow, ControlsSitWhereTheTableSays)
{
    const QColor linkGreen(0, 128, 0);
    const std::vector<Control> table = {
        {.name = "Frame1", .container = "About", .rect = {120, 120, 3495, 1335}},
        {.name = "Image3", .container = "Frame1", .rect = {240, 480, 480, 480}},
        {.name = "Label4", .container = "Frame1", .rect = {720, 240, 2655, 615},
         .caption = "    Orvalin     Temps Réel", .font = {"MS Sans Serif", 12, true}, .align = Qt::AlignHCenter},
        {.name = "Label3", .container = "Frame1", .rect = {960, 915, 735, 255}, .caption = "V 1.11ß",
         .font = {"MS Sans Serif", 9.75}, .align = Qt::AlignHCenter},
        {.name = "Label5", .container = "Frame1", .rect = {1800, 975, 1335, 135}, .caption = "par l'équipe Orvalin",
         .font = {"MS Serif", 6}, .text = QColor(128, 128, 128)},
        {.name = "Mail", .container = "About", .rect = {240, 1560, 3015, 615}},
        {.name = "Image1", .container = "Mail", .rect = {120, 120, 480, 480}},
        {.name = "Label1", .container = "Mail", .rect = {720, 240, 2175, 255},
         .caption = "contact@orvalin.example.org", .text = linkGreen},
        {.name = "SiteZK", .container = "About", .rect = {0, 2280, 3615, 615}},
        {.name = "Image2", .container = "SiteZK", .rect = {120, 0, 1095, 495}, .enabled = false},
        {.name = "Label2", .container = "SiteZK", .rect = {1320, 120, 2295, 255},
         .caption = "https://orvalin.example.org/", .text = linkGreen},
        {.name = "Command1", .container = "About", .rect = {1200, 3000, 975, 375}, .caption = "OK"},
    };
    expectLayout(about, table);

    // The link texts use the window's own font, not underlined.
    for (QLabel *l : {about->Label1, about->Label2}) {
        EXPECT_EQ(l->font().family(), QStringLiteral("MS Sans Serif"));
        EXPECT_EQ(QFontInfo(l->font()).pixelSize(), 11); // 8.25 points
        EXPECT_FALSE(underlined(l));
    }
    EXPECT_EQ(about->Image3->pixmap().size(), QSize(32, 32));
    EXPECT_EQ(about->Image1->pixmap().size(), QSize(32, 32));
    EXPECT_EQ(about->Image2->pixmap().size(), QSize(70, 30));
}

TEST_F(AboutWindow, IsASmallFixedToolWindowThatUnloadsWhenClosed)
{
    EXPECT_EQ(about->windowTitle(), QStringLiteral("About ZK"));
    // 3750 x 3450 twips.
    EXPECT_EQ(about->size(), QSize(250, 230));
    EXPECT_EQ(about->minimumSize(), about->maximumSize());
    EXPECT_EQ(about->windowType(), Qt::Tool);
    EXPECT_TRUE(about->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(about->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(about->testAttribute(Qt::WA_DeleteOnClose));
}

TEST_F(AboutWindow, LinkAreasShowTheHandWithItsTipAsHotSpot)
{
    for (QWidget *area : {static_cast<QWidget *>(about->Mail), static_cast<QWidget *>(about->SiteZK)}) {
        SCOPED_TRACE(area->objectName().toStdString());
        const QCursor c = area->cursor();
        EXPECT_EQ(c.shape(), Qt::BitmapCursor);
        EXPECT_EQ(c.hotSpot(), QPoint(5, 0));
        EXPECT_EQ(c.pixmap().size(), QSize(32, 32));
    }
}

TEST_F(AboutWindow, TextsFitTheirBoxes)
{
    // Single-line texts whose end would be cut off by a narrower box.
    for (QLabel *l : {about->Label1, about->Label2, about->Label3, about->Label5}) {
        SCOPED_TRACE(l->objectName().toStdString());
        const QFontMetrics fm(l->font());
        EXPECT_LE(fm.horizontalAdvance(l->text()), l->width());
        EXPECT_LE(fm.height(), l->height() + 1);
    }
    // The title breaks into its two parts, and both lines fit the box's height.
    const QFontMetrics fm(about->Label4->font());
    EXPECT_LE(2 * fm.lineSpacing(), about->Label4->height());
}

TEST_F(AboutWindow, PointerUnderlinesTheLinkOfTheFrameItCrosses)
{
    EXPECT_FALSE(underlined(about->Label1));
    EXPECT_FALSE(underlined(about->Label2));

    moveOver(about, windowSurface());
    moveOver(about->Mail, mailSurface());
    EXPECT_TRUE(underlined(about->Label1));
    EXPECT_FALSE(underlined(about->Label2));

    // Straight on to the web frame, no move over the window in between: both stay underlined.
    moveOver(about->SiteZK, webSurface());
    EXPECT_TRUE(underlined(about->Label1));
    EXPECT_TRUE(underlined(about->Label2));

    moveOver(about, windowSurface());
    EXPECT_FALSE(underlined(about->Label1));
    EXPECT_FALSE(underlined(about->Label2));
}

TEST_F(AboutWindow, PointerOverLabelsPicturesButtonOrTitleBlockChangesNothing)
{
    const std::vector<std::pair<QWidget *, QPoint>> inert = {
        {about->Label1, {10, 8}}, {about->Label2, {10, 8}},  {about->Image1, {16, 16}},
        {about->Command1, {30, 12}}, {about->Frame1, {4, 4}}, {about->Label4, {20, 10}},
        {about->Image3, {16, 16}},
    };
    for (const auto &[w, at] : inert)
        moveOver(w, at);
    EXPECT_FALSE(underlined(about->Label1));
    EXPECT_FALSE(underlined(about->Label2));

    moveOver(about->Mail, mailSurface());
    for (const auto &[w, at] : inert)
        moveOver(w, at);
    EXPECT_TRUE(underlined(about->Label1)) << "only the window's own surface clears it";
    EXPECT_FALSE(underlined(about->Label2));
}

TEST_F(AboutWindow, DisabledBannerCountsAsTheWebFrame)
{
    moveOver(about->Image2, {35, 15});
    EXPECT_TRUE(underlined(about->Label2));
    EXPECT_FALSE(underlined(about->Label1));

    clickOn(about->Image2, {35, 15});
    EXPECT_EQ(desktop.links, QStringList{kWebLink});
}

TEST_F(AboutWindow, ClicksHandTheExactLinksToTheDesktop)
{
    clickOn(about->Mail, mailSurface());
    clickOn(about->Label1, {10, 8});
    clickOn(about->Image1, {16, 16});
    EXPECT_EQ(desktop.links, (QStringList{kMailLink, kMailLink, kMailLink}));

    desktop.links.clear();
    clickOn(about->SiteZK, webSurface());
    clickOn(about->Label2, {10, 8});
    EXPECT_EQ(desktop.links, (QStringList{kWebLink, kWebLink}));

    // Not links: the title block, the window itself, another button than the left one.
    desktop.links.clear();
    clickOn(about->Frame1, {4, 4});
    clickOn(about->Label4, {20, 10});
    clickOn(about, windowSurface());
    clickOn(about->Label1, {10, 8}, Qt::RightButton);
    EXPECT_TRUE(desktop.links.isEmpty());

    // The shell's two verbs keep their cases, for a desktop that has them.
    EXPECT_STREQ(About::kMailVerb, "Open");
    EXPECT_STREQ(About::kWebVerb, "open");
}

TEST_F(AboutWindow, FailedOpenShowsNothingAndLeavesTheWindowAsItWas)
{
    desktop.linkOpens = false;
    moveOver(about->Mail, mailSurface());
    const int windowsBefore = static_cast<int>(QApplication::topLevelWidgets().size());

    clickOn(about->Label1, {10, 8});
    clickOn(about->Label2, {10, 8});

    EXPECT_EQ(desktop.links, (QStringList{kMailLink, kWebLink}));
    EXPECT_TRUE(desktop.messages.isEmpty());
    EXPECT_EQ(QApplication::topLevelWidgets().size(), windowsBefore);
    ASSERT_FALSE(about.isNull());
    EXPECT_TRUE(about->isVisible());
    EXPECT_TRUE(underlined(about->Label1));
    EXPECT_FALSE(underlined(about->Label2));
}

TEST_F(AboutWindow, EveryControlTheUserActsOnHasAnAccessibleName)
{
    expectAccessibleNames(about, {"Mail", "Label1", "Image1", "SiteZK", "Label2", "Image2", "Command1"});
}

// Opened from the main window's "à Propos", as the user does.
class AboutFromMainWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() { installFontSubstitutions(); }

    void SetUp() override
    {
        window.makeAboutWindow = [this](QWidget *parent) { return new About(rig.desktop, parent); };
    }

    About *shown() { return qobject_cast<About *>(window.aboutWindow()); }

    Rig rig;
    Orvalin &window = rig.start();
};

TEST_F(AboutFromMainWindow, OneWindowOnlyAndReopeningStartsWithoutUnderline)
{
    window.show();
    window.menu_apropos_Click();
    QPointer<About> first = shown();
    ASSERT_FALSE(first.isNull());
    EXPECT_TRUE(first->isVisible());
    EXPECT_TRUE(window.isEnabled()) << "the About window is modeless";

    moveOver(first->Mail, {45, 4});
    moveOver(first->SiteZK, {84, 36});
    window.menu_apropos_Click();
    EXPECT_EQ(shown(), first.data()) << "a second \"à Propos\" shows the same window";
    EXPECT_EQ(window.findChildren<About *>().size(), 1);

    // OK unloads it.
    clickOn(first->Command1, {30, 12});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(shown(), nullptr);

    window.menu_apropos_Click();
    About *second = shown();
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(second->isVisible());
    EXPECT_FALSE(underlined(second->Label1));
    EXPECT_FALSE(underlined(second->Label2));

    // The close box unloads it as well.
    QPointer<About> closing = second;
    second->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closing.isNull());
}

TEST_F(AboutFromMainWindow, AboutAndOptionsWindowsStayUsableWhileTheMainWindowIsDisabled)
{
    window.show();
    window.menu_apropos_Click();
    window.menuReglage_Click();
    EXPECT_FALSE(window.isEnabled());
    ASSERT_NE(window.optionsWindow(), nullptr);
    EXPECT_TRUE(window.optionsWindow()->Option1[2]->isEnabled());
    ASSERT_NE(shown(), nullptr);
    EXPECT_TRUE(shown()->isEnabled());

    clickOn(shown()->Label2, {10, 8});
    EXPECT_EQ(rig.desktop.links, QStringList{kWebLink});
}

} // namespace
} // namespace orv::test
