#include "forge/xm/xm_writer.h"
#include "xmsync/sync_listing.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

using namespace forge;

namespace {

constexpr double kRowSeconds = 0.12; // speed 6 at 125 BPM
constexpr int kRows = 8;

struct Command {
    int pattern, row, effect, param, channel;
};

// A two-channel module of 8-row patterns, written to a file of this
// process's own (tests of other builds may run at the same time).
std::string writeModule(const std::string& name, int patterns, std::vector<uint8_t> orders,
                        std::initializer_list<Command> commands) {
    XmModule m;
    m.channels = 2;
    for (int p = 0; p < patterns; ++p) m.addPattern(kRows);
    m.orders = std::move(orders);
    for (const Command& c : commands) {
        XmCell& cell = m.patterns[size_t(c.pattern)].at(c.row, c.channel, m.channels);
        cell.effect = uint8_t(c.effect);
        cell.param = uint8_t(c.param);
    }
    const std::string path = ::testing::TempDir() + name + "_" + std::to_string(getpid()) + ".xm";
    EXPECT_EQ(writeXmFile(m, path), "");
    return path;
}

// E6x: pattern loop; x = 0 marks the start, x > 0 plays the rows again x times.
constexpr int kLoopStart = 0x60, kLoopTwice = 0x62;

} // namespace

TEST(SyncListing, FollowsLoopsAndJumpsInPlayOrderUntilTheEndMarker) {
    // Pattern 0 plays its first three rows three times (the loop starts at row 0: a later loop
    // start would also become the next pattern's first row, as in FT2), then pattern 1 jumps on
    // to pattern 2.
    const std::string path = writeModule("xmsync_loops", 3, {0, 1, 2},
                                         {{0, 0, kXmEffectSync, 2, 0},
                                          {0, 0, kXmEffectExtended, kLoopStart, 1},
                                          {0, 1, kXmEffectSync, 240, 0},
                                          {0, 2, kXmEffectExtended, kLoopTwice, 1},
                                          {1, 0, kXmEffectSync, 10, 0},
                                          {1, 1, kXmEffectPositionJump, 2, 0},
                                          {1, 5, kXmEffectSync, 99, 0}, // skipped by the jump
                                          {2, 0, kXmEffectSync, 128, 0},
                                          {2, 4, kXmEffectSync, 3, 0}}); // after the end marker
    const xmsync::SyncListing listing = xmsync::listSyncs(path);
    std::remove(path.c_str());
    ASSERT_EQ(listing.error, "");
    EXPECT_TRUE(listing.endMarker);
    struct Expected {
        int order, row, value;
        double rows; // rows played before it
    };
    // Rows of pattern 0: 0 1 2, 0 1 2, 0 1 2, 3 4 5 6 7; then pattern 1's rows 0 and 1, then pattern 2.
    const Expected expected[] = {{0, 0, 2, 0}, {0, 1, 240, 1}, {0, 0, 2, 3},   {0, 1, 240, 4},
                                 {0, 0, 2, 6}, {0, 1, 240, 7}, {1, 0, 10, 14}, {2, 0, 128, 16}};
    ASSERT_EQ(listing.syncs.size(), std::size(expected));
    for (size_t i = 0; i < listing.syncs.size(); ++i) {
        const xmsync::HeardSync& s = listing.syncs[i];
        EXPECT_EQ(s.order, expected[i].order) << i;
        EXPECT_EQ(s.pattern, expected[i].order) << i;
        EXPECT_EQ(s.row, expected[i].row) << i;
        EXPECT_EQ(s.value, expected[i].value) << i;
        EXPECT_NEAR(s.seconds, expected[i].rows * kRowSeconds, 0.005) << i;
    }
    EXPECT_NEAR(listing.seconds, 16 * kRowSeconds, 0.005);
}

TEST(SyncListing, StopsAtTheFirstRepeatWithoutAnEndMarkerAndReportsLoadFailures) {
    const std::string path = writeModule("xmsync_repeat", 1, {0}, {{0, 0, kXmEffectSync, 4, 0}});
    const xmsync::SyncListing listing = xmsync::listSyncs(path);
    std::remove(path.c_str());
    ASSERT_EQ(listing.error, "");
    EXPECT_FALSE(listing.endMarker);
    ASSERT_EQ(listing.syncs.size(), 1u);
    EXPECT_NEAR(listing.seconds, kRows * kRowSeconds, 0.01);

    const xmsync::SyncListing missing = xmsync::listSyncs("no/such/module.xm");
    EXPECT_NE(missing.error, "");
    EXPECT_TRUE(missing.syncs.empty());
}

TEST(SyncListing, DescribesWhatEachValueDoesToTheRunningEffect) {
    using xmsync::describeSync;
    EXPECT_EQ(describeSync(2, 0, 1), "starts opening picture");
    EXPECT_EQ(describeSync(3, 2, 1), "opening picture: the embossed band sweeps across");
    EXPECT_EQ(describeSync(240, 4, 1), "credits: page 2: the picture slides in");
    EXPECT_EQ(describeSync(240, 4, 4), "credits: nothing (no page left)");
    EXPECT_EQ(describeSync(240, 36, 1), "rippling surface: shows the next label");
    EXPECT_EQ(describeSync(240, 36, 2), "rippling surface: blanks a label");
    EXPECT_EQ(describeSync(50, 48, 2), "gold 3D scene: the object is removed");
    EXPECT_EQ(describeSync(240, 52, 1), "nothing (the metaball scene ignores it)");
    EXPECT_EQ(describeSync(7, 0, 1), "nothing");
    EXPECT_NE(describeSync(16, 10, 1).find("clock restarts"), std::string::npos);
    EXPECT_EQ(describeSync(128, 74, 1), "end of the show");
    EXPECT_TRUE(xmsync::startsEffect(74));
    EXPECT_TRUE(xmsync::startsEffect(128));
    EXPECT_FALSE(xmsync::startsEffect(240));
}
