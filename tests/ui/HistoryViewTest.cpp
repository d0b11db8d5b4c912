// SPDX-License-Identifier: GPL-3.0-or-later
// The history list drawn from the store: what it reads, where it scrolls, what it copies.
#include "ui/HistoryView.h"

#include "core/SampleStore.h"
#include "display/History.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTime>

#include <gtest/gtest.h>

using namespace orv;

namespace {

Sample sample(int n)
{
    Sample s{n * 3, n % 2 ? std::optional<qint32>(n) : std::nullopt, {}, {}};
    s.setDate(QDate(2026, 12, 5));
    s.setTime(QTime(14, 0, 0).addSecs(n));
    return s;
}

struct Shown {
    SampleStore store;
    HistoryView view;
    Shown()
    {
        view.setStore(&store);
        view.resize(201, 145);
        view.show();
    }
    void add(int samples)
    {
        for (int i = 0; i < samples; ++i) {
            store.append(sample(store.count() + 1));
            view.showCount(store.count());
        }
    }
    int rowY(int row) const { return 3 + (row - view.firstRowInView()) * view.fontMetrics().lineSpacing() + 2; }
};

} // namespace

TEST(HistoryView, ReadsAsTheFullListOnScreenAndToAssistiveToolsAndCopiesWholeLines)
{
    Shown s;
    QAccessibleTextInterface *accessible = QAccessible::queryAccessibleInterface(&s.view)->textInterface();
    ASSERT_NE(accessible, nullptr);
    // Recordings of different lengths, each from an empty list, the shorter after the longer.
    const std::pair<int, const char *> recordings[] = {{150, " 450 --     --- 12-05-2026 -- 14:02:30"},
                                                       {40, " 120 --     --- 12-05-2026 -- 14:00:40"},
                                                       {111, " 333 -- 111 --- 12-05-2026 -- 14:01:51"}};
    for (const auto &[length, newest] : recordings) {
        s.view.clear();
        s.store.clear();
        EXPECT_TRUE(s.view.text().isEmpty());
        s.add(length);
        const QStringList lines = s.view.text().split(QStringLiteral("\r\n"));
        ASSERT_EQ(lines.size(), length + 2) << "each line ends with CR LF";
        EXPECT_EQ(lines.first(), QLatin1String(newest));
        EXPECT_EQ(accessible->text(0, accessible->characterCount()), s.view.text());
    }

    // Whole lines are selected and copied; the selection stays on its samples.
    QTest::mouseClick(s.view.viewport(), Qt::LeftButton, {}, QPoint(20, s.rowY(1)));
    QTest::mouseClick(s.view.viewport(), Qt::LeftButton, Qt::ShiftModifier, QPoint(20, s.rowY(3)));
    QTest::keyClick(&s.view, Qt::Key_C, Qt::ControlModifier);
    const QString three = historyLine(s.store.at(110)) + "\r\n" + historyLine(s.store.at(109)) + "\r\n"
                          + historyLine(s.store.at(108)) + "\r\n";
    EXPECT_EQ(QApplication::clipboard()->text(), three);
    s.add(2);
    EXPECT_EQ(s.view.selectedText(), three);
    QTest::keyClick(&s.view, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&s.view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), s.view.text());
}

TEST(HistoryView, AfterEveryScrollItShowsWhatAFullRepaintShowsAndNewLinesMoveOnlyTheTop)
{
    Shown s;
    s.add(60);
    QTest::keyClick(&s.view, Qt::Key_A, Qt::ControlModifier); // every line marked, to the edges
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&s.view));
    // What the window system was given to show, against a fresh rendering.
    const auto onScreen = [&s] {
        QCoreApplication::processEvents();
        return s.view.screen()->grabWindow(s.view.winId()).toImage();
    };
    const auto expectAsRepainted = [&](int step) {
        const QImage shown = onScreen();
        s.view.viewport()->repaint();
        EXPECT_EQ(shown, onScreen()) << "step " << step;
    };
    using Action = QAbstractSlider::SliderAction;
    for (const Action action : {Action::SliderSingleStepAdd, Action::SliderPageStepAdd, Action::SliderSingleStepSub,
                                Action::SliderToMaximum, Action::SliderPageStepSub, Action::SliderToMinimum}) {
        s.view.verticalScrollBar()->triggerAction(action);
        expectAsRepainted(action);
    }
    // At the top the newest line comes into view; scrolled away, the lines in view stay.
    s.add(2);
    expectAsRepainted(0);
    EXPECT_EQ(s.view.line(s.view.firstRowInView()), historyLine(s.store.at(62)));
    s.view.verticalScrollBar()->setValue(20);
    const QString inView = s.view.line(20);
    s.add(3);
    EXPECT_EQ(s.view.firstRowInView(), 23);
    EXPECT_EQ(s.view.line(23), inView);
}
