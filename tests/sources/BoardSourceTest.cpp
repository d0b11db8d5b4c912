// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeBoardTransport.h"
#include "Printers.h"

#include "sources/BoardSource.h"

#include <gtest/gtest.h>

using orv::BoardSource;
using orv::Readings;
using orv::test::FakeBoardTransport;
using Calls = std::vector<std::string>;

namespace {

constexpr auto report = FakeBoardTransport::report;

struct Rig {
    FakeBoardTransport fake;
    BoardSource source{fake};
};

TEST(BoardSource, EachPollOpensReadsAndClosesAndAnUnplugEmptiesBothValues)
{
    Rig rig;
    rig.fake.plugged = true;
    rig.source.open();
    rig.source.open();
    EXPECT_EQ(rig.fake.calls, (Calls{"open 10cf:5503"}));
    EXPECT_EQ(rig.source.latest(), Readings{}) << "nothing read yet";
    EXPECT_EQ(rig.source.problem(), "") << "nothing known yet";
    rig.fake.reports = {report(4, 128, 255)};
    EXPECT_EQ(rig.source.poll(), (Readings{128, 255}));

    rig.source.open();
    rig.fake.unplug(); // while a handle is held
    EXPECT_EQ(rig.source.poll(), Readings{}) << "never the old values";
    EXPECT_EQ(rig.fake.openHandles, 0) << "the dead handle is dropped";
    EXPECT_EQ(rig.source.latest(), Readings{});
#ifdef Q_OS_LINUX
    EXPECT_EQ(rig.source.problem(), "La carte USB K8055 (adresse 3) ne répond pas. Vérifiez le câble ; sous Linux, "
                                    "vérifiez aussi que la règle udev 70-k8055.rules est installée, puis débranchez "
                                    "et rebranchez la carte.");
#endif

    rig.fake.plugged = true;
    rig.fake.calls.clear();
    rig.fake.reports = {report(4, 131, 250)};
    EXPECT_EQ(rig.source.poll(), (Readings{131, 250}));
    EXPECT_EQ(rig.fake.calls, (Calls{"open 10cf:5503", "read", "read", "close"}));
    EXPECT_EQ(rig.source.problem(), "");
    EXPECT_EQ(rig.fake.mostOpenHandles, 1);
}

TEST(BoardSource, ReadingsComeFromTheFreshestReportOrNotAtAll)
{
    using R = orv::BoardReport;
    const std::tuple<const char *, bool, std::deque<R>, int, Readings> cases[] = {
        // what, plugged, reports arriving, bytes a read gives, readings
        {"the last to arrive, not the stale first", true, {report(4, 1, 2), report(4, 200, 17)}, 8, {200, 17}},
        {"a K8055N in its compatible mode", true, {report(14, 0, 255)}, 8, {0, 255}},
        {"a K8055N in its new protocol", true, {report(24, 9, 10)}, 8, {}},
        {"another board's report", true, {report(1, 50, 60)}, 8, {}},
        {"a short report", true, {report(4, 50, 60)}, 7, {}},
        {"a silent board", true, {}, 8, {}},
        {"a failing read", true, {report(4, 50, 60)}, -1, {}},
        {"no board", false, {}, 8, {}},
    };
    for (const auto &[what, plugged, reports, readGives, expected] : cases) {
        Rig rig;
        rig.fake.plugged = plugged;
        rig.fake.reports = reports;
        rig.fake.readGives = readGives;
        EXPECT_EQ(rig.source.poll(), expected) << what;
        EXPECT_EQ(rig.source.latest(), expected) << what;
        EXPECT_EQ(rig.source.problem().isEmpty(), expected.value1.has_value()) << what;
        EXPECT_EQ(rig.fake.openHandles, 0) << what;
    }
}

} // namespace
