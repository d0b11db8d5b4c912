// SPDX-License-Identifier: GPL-3.0-or-later
// What the main window draws of the data, computed without a widget: history lines, the
// trace, the title and the widths of the chart toggle. The scales are checked pixel by pixel
// by the picture tests of the windows.
#include "display/ChartToggle.h"
#include "display/History.h"
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

using Runs = std::vector<std::vector<QPoint>>;

} // namespace

TEST(Display, HistoryLinesAndTheTraceFrom0AtTheBottomTo255AtTheTopBrokenByMissingValues)
{
    EXPECT_EQ(historyLine(sample(-5, 0)), QStringLiteral(" -005 -- 000 --- 12-05-2026 -- 14:03:13"));
    EXPECT_EQ(historyLine(sample(1234, 255)), QStringLiteral(" 1234 -- 255 --- 12-05-2026 -- 14:03:13"));
    // A value nobody measured shows blanks, never a zero.
    EXPECT_EQ(historyLine(sample(std::nullopt, 3)), QStringLiteral("     -- 003 --- 12-05-2026 -- 14:03:13"));

    // The trace in the chart's area as laid out: 101 x 93 pixels, 100/96 of a pixel per sample.
    SampleStore store;
    for (std::optional<qint32> v : {std::optional<qint32>(255), {51}, {1000}, {}, {-40}})
        store.append(sample(v, std::nullopt));
    EXPECT_EQ(tracePixels(store, {101, 93}), (Runs{{{0, 92}, {1, 0}, {2, 74}, {3, 0}}, {{5, 92}}}));
}

TEST(ChartToggle, TitlesAndWidthsOfBothForms)
{
    const QString path = QStringLiteral("C:\\Mesures\\essai-avril.csv");
    EXPECT_EQ(titleText(true, path),
              QStringLiteral("Orvalin Temps Réel                     Fichier en cours : ures\\essai-avril.csv"));

    // Widened up to 7000 twips, narrowed beyond.
    for (const auto &[from, to] : {std::pair(4410, 7170), {7000, 7170}, {7001, 4410}})
        EXPECT_EQ(chartToggle(from).width, to) << from;
    EXPECT_TRUE(chartToggle(7000).chartShown && !chartToggle(7001).chartShown);
    // The narrow window as laid out, and the wide one.
    EXPECT_TRUE(windowWidthTwips(288) == 4410 && clientWidthPixels(4410) == 288);
    EXPECT_TRUE(windowWidthTwips(472) == 7170 && clientWidthPixels(7170) == 472);
}
