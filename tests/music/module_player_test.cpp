// The module player: sync commands become callbacks and play-status snapshots when heard.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "music/module_player.h"
#include "music/test_modules.h"

using namespace playertest;

namespace {

struct Heard {
    std::vector<int> values;
    std::vector<PlayStatus> statuses; // the snapshot visible at each callback
};

// Renders the given number of rows and hears everything rendered.
void playRows(ModulePlayer& player, double rows) {
    std::vector<std::int16_t> buffer(1000 * kAudioChannels);
    std::uint64_t target = static_cast<std::uint64_t>(rows * kFramesPerRow);
    while (player.framesRendered() < target) {
        std::size_t n = std::min<std::uint64_t>(1000, target - player.framesRendered());
        player.render(buffer.data(), n);
        player.hearAll();
    }
}

bool load(ModulePlayer& player, const forge::XmModule& m, Heard* heard = nullptr) {
    std::string error;
    bool ok = player.loadFromMemory(encode(m), "test.xm", error);
    EXPECT_TRUE(ok) << error;
    if (heard)
        player.setSyncCallback([heard, &player](int v) {
            heard->values.push_back(v);
            heard->statuses.push_back(player.status());
        });
    return ok;
}

} // namespace

TEST(ModulePlayer, SyncCommandsAreTabledAndRaisedWithTheirRow) {
    ModulePlayer player;
    Heard heard;
    // Two orders; row 3 of pattern 1 carries two commands (channel order decides the value).
    load(player, makeModule({{syncAt(1, 2)}, {syncAt(3, 4), syncAt(3, 240, 1)}}, {0, 1}), &heard);
    ASSERT_EQ(player.syncs().inSongOrder().size(), 3u);
    EXPECT_EQ(player.syncs().inSongOrder()[2].order, 1);
    EXPECT_EQ(player.syncs().inSongOrder()[2].channel, 1);

    playRows(player, 12.5);
    EXPECT_EQ(heard.values, (std::vector<int>{2, 4, 240}));
    PlayStatus s = player.status();
    EXPECT_EQ(s.position, 1);
    EXPECT_EQ(s.pattern, 1);
    EXPECT_EQ(s.row, 4);
    EXPECT_EQ(s.syncValue, 240); // the row's last command
    EXPECT_EQ(s.syncCount, 3);
    // The snapshot is published before the callbacks, so each callback sees its row complete.
    EXPECT_EQ(heard.statuses[0].syncValue, 2);
    EXPECT_EQ(heard.statuses[0].syncCount, 1);
    EXPECT_EQ(heard.statuses[1].syncCount, 3);
}

TEST(ModulePlayer, RowsPlayedAgainRaiseTheirSyncsAgain) {
    ModulePlayer player;
    Heard heard;
    // Rows 1-2 loop three times (E60 marks the start, E62 repeats twice), then the song loops.
    const int loopStart = 0x60, loopTwice = 0x62;
    load(player,
         makeModule({{{1, 1, forge::kXmEffectExtended, loopStart},
                      syncAt(1, 50),
                      {2, 1, forge::kXmEffectExtended, loopTwice}}},
                    {0}, 4),
         &heard);
    playRows(player, 7.5); // rows 0 1 2 1 2 1 2 3
    EXPECT_EQ(heard.values, (std::vector<int>{50, 50, 50}));
    playRows(player, 8.5); // the song restarts (at the loop's row) and row 1 comes round again
    EXPECT_EQ(heard.values.size(), 4u);
}

TEST(ModulePlayer, ModuleWithoutSyncsPlaysWithAZeroStatus) {
    ModulePlayer player;
    Heard heard;
    load(player, makeModule({{}}, {0}), &heard);
    EXPECT_TRUE(player.syncs().inSongOrder().empty());
    EXPECT_FALSE(player.syncs().contains(128));
    playRows(player, 20.5);
    EXPECT_TRUE(heard.values.empty());
    EXPECT_EQ(player.status().syncCount, 0);
    EXPECT_EQ(player.status().syncValue, 0);
    EXPECT_EQ(player.status().row, 20 % 8);
}

TEST(ModulePlayer, RowsArePublishedOnlyWhenTheirSamplesAreHeard) {
    ModulePlayer player;
    Heard heard;
    load(player, makeModule({{syncAt(2, 32)}}, {0}), &heard);
    std::vector<std::int16_t> buffer(4 * kFramesPerRow * kAudioChannels);
    player.render(buffer.data(), 4 * kFramesPerRow); // rendered well ahead of the speaker
    EXPECT_TRUE(heard.values.empty());
    EXPECT_EQ(player.status().syncCount, 0);
    player.hear(2 * kFramesPerRow - 1 - ModulePlayer::kChunkFrames);
    EXPECT_EQ(player.status().row, 1);
    EXPECT_TRUE(heard.values.empty());
    player.hear(2 * kFramesPerRow + ModulePlayer::kChunkFrames);
    EXPECT_EQ(player.status().row, 2);
    EXPECT_EQ(heard.values, std::vector<int>{32});
}

TEST(ModulePlayer, MissingAndBrokenFilesGiveTheBoxMessage) {
    ModulePlayer player;
    std::string error;
    EXPECT_FALSE(player.load("no/such/dir/halcyver.xm", error));
    EXPECT_EQ(error.rfind("Unable to open file \"no/such/dir/halcyver.xm\"", 0), 0u) << error;

    std::vector<std::uint8_t> module = encode(makeModule({{syncAt(0, 2)}}, {0}));
    // Garbage, and a real module cut off inside its header.
    const std::vector<std::vector<std::uint8_t>> broken = {
        std::vector<std::uint8_t>(300, 0x5a), std::vector<std::uint8_t>(module.begin(), module.begin() + 40)};
    for (const std::vector<std::uint8_t>& bytes : broken) {
        EXPECT_FALSE(player.loadFromMemory(bytes, "bad.xm", error));
        EXPECT_EQ(error.rfind("Invalid module file \"bad.xm\"", 0), 0u) << error;
        EXPECT_FALSE(player.loaded());
    }
    // Rendering with nothing loaded is silence, not a crash.
    std::vector<std::int16_t> buffer(128, 7);
    player.render(buffer.data(), 64);
    EXPECT_EQ(buffer[0], 0);
}

TEST(ModulePlayer, ARowThatFollowsItselfRaisesItsSyncsEachTime) {
    ModulePlayer player;
    Heard heard;
    // A one-row song: its position never changes, yet every pass plays the row again.
    load(player, makeModule({{syncAt(0, 9)}}, {0}, 1), &heard);
    playRows(player, 10.5);
    EXPECT_EQ(heard.values.size(), 11u);

    // A pattern delay (EE3) makes one row last four rows' time: played once, raised once.
    ModulePlayer delayed;
    Heard once;
    load(delayed, makeModule({{syncAt(0, 9), {0, 1, forge::kXmEffectExtended, 0xe3}}}, {0, 0}, 2), &once);
    playRows(delayed, 4.5);
    EXPECT_EQ(once.values.size(), 1u);
    playRows(delayed, 5.5 + 4);
    EXPECT_EQ(once.values.size(), 2u);
}

TEST(ModulePlayer, SlowListenersDoNotLoseRows) {
    ModulePlayer player;
    Heard heard;
    load(player, makeModule({{syncAt(0, 9)}}, {0}, 1), &heard); // a sync on every row
    // Far more rows than the pending ring holds, rendered before anything is heard.
    std::vector<std::int16_t> buffer(700 * kFramesPerRow * kAudioChannels / 100);
    for (int i = 0; i < 100; ++i) player.render(buffer.data(), 7 * kFramesPerRow);
    player.hearAll();
    EXPECT_EQ(player.status().syncCount, 700);
    EXPECT_EQ(heard.values.size(), 700u);
}

TEST(PlayStatusBoard, ReadersNeverSeeAHalfWrittenSnapshot) {
    // The frame loop takes the sync count and value from one snapshot; a torn read would
    // pair a new count with an old value and lose an event.
    PlayStatusBoard board;
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int i = 1; i <= 200000; ++i) board.publish({i, i, i, i, i});
        done = true;
    });
    int torn = 0, last = 0;
    while (!done) {
        PlayStatus s = board.read();
        if (s.position != s.syncCount || s.pattern != s.syncCount || s.row != s.syncCount ||
            s.syncValue != s.syncCount || s.syncCount < last)
            ++torn;
        last = s.syncCount;
    }
    writer.join();
    EXPECT_EQ(torn, 0);
    EXPECT_EQ(board.read().syncCount, 200000);
}

// A capture that writes no sound mixes the soundtrack the quick way: the rows, and so the syncs,
// must come at the very same frames as with the full mix, though the samples differ.
TEST(ModulePlayer, QuickMixKeepsEveryRowOnItsFrame) {
    ModulePlayer full, quick;
    std::string error;
    ASSERT_TRUE(full.load("data/halcyver.xm", error)) << error;
    quick.setQuickMix(true);
    ASSERT_TRUE(quick.load("data/halcyver.xm", error)) << error;
    constexpr std::size_t kFrame = 800; // one video frame at 60 frames a second
    std::vector<std::int16_t> a(kFrame * kAudioChannels), b(kFrame * kAudioChannels);
    bool samplesDiffer = false;
    for (int frame = 0; frame < 60 * 40; ++frame) {
        full.render(a.data(), kFrame);
        quick.render(b.data(), kFrame);
        full.hearAll();
        quick.hearAll();
        samplesDiffer = samplesDiffer || a != b;
        const PlayStatus s = full.status(), t = quick.status();
        ASSERT_EQ(s.syncCount, t.syncCount) << frame;
        ASSERT_EQ(s.syncValue, t.syncValue) << frame;
        ASSERT_EQ(s.position, t.position) << frame;
        ASSERT_EQ(s.row, t.row) << frame;
    }
    EXPECT_GT(full.status().syncCount, 0);
    EXPECT_TRUE(samplesDiffer);
}
