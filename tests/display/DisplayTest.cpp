// What the user sees of the data: history lines, trace, title; the scales as drawn are in
// the picture tests of the windows.
#include "display/History.h"
#include "display/TitleBar.h"
#include "display/Trace.h"

#include <QDate>
#include <QTime>

#include <gtest/gtest.h>

using namespace orv;

namespace {

Sample sample(std::optional<qint32> v1, std::optional<qint32> v2, QTime time = QTime(14, 3, 13))
{
    Sample s{v1, v2, {}, {}};
    s.setDate(QDate(2026, 12, 5));
    s.setTime(time);
    return s;
}

} // namespace

TEST(HistoryList, LinesAsTheListShowsThemNewestFirst)
{
    EXPECT_EQ(historyLine(sample(7, 128)), QStringLiteral(" 007 -- 128 --- 12-05-2026 -- 14:03:13"));
    EXPECT_EQ(historyLine(sample(-5, 0)), QStringLiteral(" -005 -- 000 --- 12-05-2026 -- 14:03:13"));
    EXPECT_EQ(historyLine(sample(1234, 255)), QStringLiteral(" 1234 -- 255 --- 12-05-2026 -- 14:03:13"));
    // A value nobody measured shows blanks, never a zero.
    EXPECT_EQ(historyLine(sample(std::nullopt, 3)), QStringLiteral("     -- 003 --- 12-05-2026 -- 14:03:13"));

    SampleStore store;
    store.append(sample(1, std::nullopt, QTime(14, 3, 7)));
    EXPECT_EQ(historyText(store), QStringLiteral(" 001 --     --- 12-05-2026 -- 14:03:07\r\n"
                                                 " 000 -- 000 ---  -- \r\n"));
}

TEST(Trace, PointsFromZeroAtTheBottomTo255AtTheTopBrokenByMissingValues)
{
    EXPECT_EQ(*tracePoint(0, 0), QPointF(0, 100));
    EXPECT_EQ(*tracePoint(5, 255), QPointF(5, 0));
    EXPECT_NEAR(tracePoint(1, 51)->y(), 80, 1e-9);
    EXPECT_EQ(*tracePoint(2, 1000), QPointF(2, 0)); // beyond: at the edge
    EXPECT_EQ(*tracePoint(3, -40), QPointF(3, 100));
    EXPECT_FALSE(tracePoint(4, std::nullopt).has_value());

    SampleStore store;
    for (int n = 1; n <= 200; ++n)
        store.append(sample(n == 50 ? std::nullopt : std::optional<qint32>(100), std::nullopt));
    const auto runs = tracePolylines(store);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].front(), QPointF(0, 100)); // the zero sample
    EXPECT_EQ(runs[0].back().x(), 49);
    EXPECT_EQ(runs[1].front().x(), 51);
    EXPECT_EQ(runs[1].back().x(), 97); // nothing later can be seen
}

TEST(TitleBar, ShortAndLongFormsAndTheToggleWidths)
{
    // Both forms of a short name: the picture tests.
    const QString path = QStringLiteral("C:\\Mesures\\essai-avril.csv");
    EXPECT_EQ(titleText(false, path), QStringLiteral("Orv.TR : essai-avril.csv"));
    EXPECT_TRUE(titleText(true, path).endsWith(QStringLiteral("Fichier en cours : ures\\essai-avril.csv")));

    struct Case {
        int from, to;
        bool shown;
    };
    for (const Case &c : {Case{4410, 7170, true}, Case{7000, 7170, true}, Case{7001, 4410, false}}) {
        EXPECT_EQ(chartToggle(c.from).width, c.to) << c.from;
        EXPECT_EQ(chartToggle(c.from).chartShown, c.shown) << c.from;
    }
}
