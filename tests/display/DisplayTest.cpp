// What the user sees of the data: history lines, scales, trace, title.
#include "display/History.h"
#include "display/Scales.h"
#include "display/TitleBar.h"
#include "display/Trace.h"

#include <QTextDocument>

#include <gtest/gtest.h>

using namespace orv;

namespace {
Sample s(SlotValue v1, SlotValue v2, const char *date = "12-05-2026", const char *time = "14:03:13")
{
    return Sample{v1, v2, date, time};
}
} // namespace

TEST(HistoryLines, AsTheListShowsThem)
{
    EXPECT_EQ(historyLine(s(qint16(7), qint32(128))), QStringLiteral(" 007 -- 128 --- 12-05-2026 -- 14:03:13"));
    EXPECT_EQ(historyLine(s(qint16(-5), qint16(0))), QStringLiteral(" -005 -- 000 --- 12-05-2026 -- 14:03:13"));
    EXPECT_EQ(historyLine(s(qint32(1234), qint32(255))), QStringLiteral(" 1234 -- 255 --- 12-05-2026 -- 14:03:13"));
    // A slot holding nothing shows blanks, never a zero.
    EXPECT_EQ(historyLine(s(qint16(3), SlotValue{})), QStringLiteral(" 003 --     --- 12-05-2026 -- 14:03:13"));
    EXPECT_EQ(historyLine(s(qint16(0), qint16(0), "", "")), QStringLiteral(" 000 -- 000 ---  -- "));
}

TEST(HistoryList, NewestFirstWithTheZeroSampleLast)
{
    SampleStore store;
    store.slot(0) = s(qint16(0), qint16(0), "", "");
    store.slot(1) = s(qint16(1), SlotValue{}, "12-05-2026", "14:03:07");
    store.setCount(1);
    EXPECT_EQ(historyText(store), QStringLiteral(" 001 --     --- 12-05-2026 -- 14:03:07\r\n"
                                                 " 000 -- 000 ---  -- \r\n"));
}

// The list is updated a line at a time but must always read as the full rebuild.
TEST(HistoryList, IncrementalUpdatesEqualTheFullRebuildAcrossRestarts)
{
    QTextDocument doc;
    HistoryList list(&doc);
    SampleStore store;
    store.slot(0) = s(qint16(0), qint16(0), "", "");
    list.clear();
    EXPECT_TRUE(list.text().isEmpty());
    for (int recording = 0; recording < 3; ++recording) {
        list.clear();
        store.setCount(0);
        for (int n = 1; n <= 150 - 40 * recording; ++n) {
            store.setCount(static_cast<qint16>(n));
            store.slot(n) = s(qint16(n * (recording + 1)), recording == 1 ? SlotValue{qint32(n)} : SlotValue{});
            list.update(store);
            ASSERT_EQ(list.text(), historyText(store)) << "recording " << recording << " sample " << n;
        }
    }
    // After a recording that was shorter than the one before, old slots are not shown.
    EXPECT_EQ(list.text().count(QStringLiteral("\r\n")), 71);
}

TEST(Scales, TimeAxisMarks)
{
    const auto marks = timeAxisMarks(96);
    ASSERT_EQ(marks.size(), 7u);
    const double xs[] = {0, 24, 48, 72, 96, 120, 144};
    const char *labels[] = {" 0 ", " 6 ", " 12 ", " 18 ", " 24 ", " 30 ", " 36 "};
    for (std::size_t k = 0; k < marks.size(); ++k) {
        EXPECT_DOUBLE_EQ(marks[k].from.x(), xs[k]);
        EXPECT_DOUBLE_EQ(marks[k].from.y(), 10);
        EXPECT_DOUBLE_EQ(marks[k].to.y(), 5);
        EXPECT_EQ(marks[k].label, QString::fromLatin1(labels[k]));
    }
}

TEST(Scales, VerticalScalesForAFullHeightBox)
{
    // A drawing area 1455 twips high: marks every 290.4 (right) and 242 (left) twips.
    const auto right = rightScaleMarks(1455);
    ASSERT_EQ(right.size(), 6u);
    EXPECT_NEAR(right[1].from.y(), 290.4, 1e-3);
    EXPECT_NEAR(right[5].from.y(), 1452, 1e-3);
    EXPECT_DOUBLE_EQ(right[0].from.x(), 20);
    EXPECT_DOUBLE_EQ(right[0].to.x(), 10);
    EXPECT_EQ(right[0].label, QStringLiteral(" 1000 "));
    EXPECT_EQ(right[5].label, QStringLiteral(" 0 "));

    const auto left = leftScaleMarks(1455);
    ASSERT_EQ(left.size(), 7u);
    EXPECT_NEAR(left[1].from.y(), 242, 1e-3);
    EXPECT_DOUBLE_EQ(left[0].from.x(), 300);
    EXPECT_DOUBLE_EQ(left[0].to.x(), 100);
    EXPECT_EQ(left[0].label, QStringLiteral(" 30 "));
    EXPECT_EQ(left[6].label, QStringLiteral(" 0 "));

    // With a one-pixel border each side the area is 1425 twips high.
    EXPECT_NEAR(rightScaleMarks(1425)[1].from.y(), 284.4, 1e-3);
    EXPECT_NEAR(leftScaleMarks(1425)[1].from.y(), 237, 1e-3);
}

TEST(Trace, PointsMapZeroToTheBottomAnd255ToTheTop)
{
    EXPECT_EQ(*tracePoint(0, qint16(0)), QPointF(0, 100));
    EXPECT_EQ(*tracePoint(5, qint32(255)), QPointF(5, 0));
    EXPECT_NEAR(tracePoint(1, qint32(51))->y(), 80, 1e-9);
    EXPECT_EQ(*tracePoint(2, qint32(1000)), QPointF(2, 0));   // beyond: at the edge
    EXPECT_EQ(*tracePoint(3, qint16(-40)), QPointF(3, 100));
    EXPECT_FALSE(tracePoint(4, SlotValue{}).has_value());
}

TEST(Trace, StartsAtTheZeroSampleAndStopsPastTheRightEdge)
{
    SampleStore store;
    store.slot(0) = s(qint16(0), qint16(0), "", "");
    for (int n = 1; n <= 200; ++n)
        store.slot(n) = s(qint16(100), SlotValue{});
    store.slot(50).value1 = SlotValue{}; // a missing reading breaks the line
    store.setCount(200);
    const auto runs = tracePolylines(store);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].front(), QPointF(0, 100));
    EXPECT_EQ(runs[0].back().x(), 49);
    EXPECT_EQ(runs[1].front().x(), 51);
    EXPECT_EQ(runs[1].back().x(), 97); // nothing later can be seen
}

TEST(TitleBar, ShortAndLongForms)
{
    EXPECT_EQ(titleText(false, QStringLiteral("data_tr.csv")), QStringLiteral("Orv.TR : data_tr.csv"));
    EXPECT_EQ(titleText(true, QStringLiteral("data_tr.csv")),
              QStringLiteral("Orvalin Temps Réel                     Fichier en cours : data_tr.csv"));
    const QString path = QStringLiteral("C:\\Mesures\\essai-avril.csv");
    EXPECT_EQ(titleText(false, path), QStringLiteral("Orv.TR : essai-avril.csv"));
    EXPECT_TRUE(titleText(true, path).endsWith(QStringLiteral("Fichier en cours : ures\\essai-avril.csv")));
}

TEST(TitleBar, ChartToggleWidths)
{
    EXPECT_EQ(chartToggle(4410).width, 7170);
    EXPECT_TRUE(chartToggle(4410).chartShown);
    EXPECT_EQ(chartToggle(7000).width, 7170); // exactly 7000 still widens
    EXPECT_EQ(chartToggle(7001).width, 4410);
    EXPECT_FALSE(chartToggle(7170).chartShown);
}
