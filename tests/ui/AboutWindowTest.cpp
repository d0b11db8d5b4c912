// SPDX-License-Identifier: GPL-3.0-or-later
// The About window: the link under the pointer is underlined, a click opens the exact link.
#include "ui/AboutWindow.h"

#include "FakeDesktop.h"

#include <QAccessible>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace orv;

namespace {

const QString kMailLink = QStringLiteral("mailto:contact@orvalin.example.org?Subject=Question sur Orvalin Temps Réel");
const QString kWebLink = QStringLiteral("https://orvalin.example.org/");

// The pointer as the window system delivers it: to whatever lies under the point.
void clickOn(QWidget *w, QPoint at)
{
    QTest::mouseClick(w->window()->windowHandle(), Qt::LeftButton, {}, w->mapTo(w->window(), at));
}

} // namespace

TEST(AboutWindow, TheLinkCrossedIsUnderlinedClicksKeysAndAssistiveToolsOpenTheExactLinks)
{
    test::FakeDesktop desktop;
    QPointer<AboutWindow> about = new AboutWindow(desktop);
    about->show();
    const QPoint surface{3, 148}, mailSurface{45, 4}, webSurface{84, 36};
    struct Step {
        QWidget *over;
        QPoint at;
        bool mail, web;
    };
    // Straight from the mail area to the web area, both stay underlined; labels, pictures,
    // the button and the title block change nothing; only the window's own surface clears.
    const Step steps[] = {
        {about, surface, false, false},           {about->mailArea, mailSurface, true, false},
        {about->mailLink, {10, 8}, true, false},  {about->okButton, {30, 12}, true, false},
        {about->titleBlock, {4, 4}, true, false}, {about->webArea, webSurface, true, true},
        {about, surface, false, false},           {about->webImage, {35, 15}, false, true},
    };
    for (const Step &s : steps) {
        QTest::mouseMove(about->windowHandle(), s.over->mapTo(about, s.at));
        EXPECT_EQ(about->mailLink->font().underline(), s.mail) << s.over->objectName().toStdString();
        EXPECT_EQ(about->webLink->font().underline(), s.web) << s.over->objectName().toStdString();
    }

    // Clicks hand the exact links to the desktop; the disabled banner counts as its area.
    desktop.linkOpens = false; // a failed open shows nothing and changes nothing
    for (QWidget *w : {static_cast<QWidget *>(about->mailArea), static_cast<QWidget *>(about->mailLink)})
        clickOn(w, w == about->mailArea ? mailSurface : QPoint(10, 8));
    clickOn(about->webImage, {35, 15});
    clickOn(about->webLink, {10, 8});
    clickOn(about->titleBlock, {4, 4});
    EXPECT_EQ(desktop.links, (QStringList{kMailLink, kMailLink, kWebLink, kWebLink}));
    EXPECT_TRUE(desktop.messages.isEmpty());
    ASSERT_FALSE(about.isNull());
    EXPECT_TRUE(about->isVisible());

    // A dialog whose links are reached with Tab and opened by keys or assistive tools.
    desktop.links.clear();
    about->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(about));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(about)->role(), QAccessible::Dialog);
    EXPECT_TRUE(about->okButton->isDefault());
    EXPECT_EQ(QApplication::focusWidget(), about->okButton);
    // Tab goes round from OK to the mail link, the web link and back to OK.
    QWindow *window = about->windowHandle();
    const std::pair<Qt::Key, QWidget *> keys[] = {{Qt::Key_Tab, about->mailLink},
                                                  {Qt::Key_Return, about->mailLink},
                                                  {Qt::Key_Tab, about->webLink},
                                                  {Qt::Key_Space, about->webLink},
                                                  {Qt::Key_Tab, about->okButton}};
    for (const auto &[key, focused] : keys) {
        QTest::keyClick(window, key);
        EXPECT_EQ(QApplication::focusWidget(), focused);
    }
    for (LinkLabel *link : {about->mailLink, about->webLink}) {
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(link);
        EXPECT_EQ(accessible->role(), QAccessible::Link);
        EXPECT_EQ(accessible->text(QAccessible::Name), link->text());
        EXPECT_TRUE(accessible->state().focusable);
        accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    }
    EXPECT_EQ(desktop.links, (QStringList{kMailLink, kWebLink, kMailLink, kWebLink}));
    about->okButton->click(); // unloads: the next opening starts afresh
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(about.isNull());
}
