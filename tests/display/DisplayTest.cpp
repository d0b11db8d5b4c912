// SPDX-License-Identifier: GPL-3.0-or-later
// What the main window draws of the data, computed without a widget: history lines, the
// trace, the scales, the title and the widths of the chart toggle. The picture tests of the
// windows show the same drawn.
#include "display/ChartToggle.h"
#include "display/History.h"
#include "display/Scales.h"
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

// Ticks as "x,y-x,y label" each, one after the other.
QString shown(const std::vector<ScaleTick> &ticks)
{
    QStringList out;
    for (const ScaleTick &t : ticks)
        out << QStringLiteral("%1,%2-%3,%4%5").arg(t.from.x()).arg(t.from.y()).arg(t.to.x()).arg(t.to.y()).arg(t.label);
    return out.join(QLatin1Char('|'));
}

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

TEST(Scales, TicksAndLabelsOnThePixelsTheyHaveAlwaysHad)
{
    // The boxes as laid out: 105 x 17, 33 x 97 and 25 x 97 pixels.
    EXPECT_EQ(shown(timeAxisTicks({105, 17})), "0,10-0,5 0 |26,10-26,5 6 |52,10-52,5 12 |78,10-78,5 18 |"
                                               "105,10-105,5 24 |131,10-131,5 30 |157,10-157,5 36 ");
    EXPECT_EQ(shown(rightScaleTicks({33, 97})),
              "6,0-3,0 1000 |6,19-3,19 800 |6,38-3,38 600 |6,58-3,58 400 |6,77-3,77 200 |6,96-3,96 0 ");
    EXPECT_EQ(shown(leftScaleTicks({25, 97})),
              "20,0-6,0 30 |20,16-6,16 25 |20,32-6,32 20 |20,48-6,48 15 |20,64-6,64 10 |20,80-6,80 5 |20,96-6,96 0 ");
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
