// Starting later in the song: the schedule that says when each sync value first sounds, and the
// silent run up to there that the music then plays on from.
#include <gtest/gtest.h>

#include <vector>

#include "music/player_music.h"
#include "music/song_schedule.h"
#include "test_modules.h"

using namespace playertest;

namespace {

// The least a Music over the player needs, showing where the player is.
class BareMusic : public PlayerMusic {
public:
    bool init(std::string&) override { return true; }
    bool play(std::string& error) override { return restartPlayer(error); }
    bool poll(PlayStatus& status, std::string&) override {
        status = player.status();
        return true;
    }
    void shutdown() override {}
    bool loadBytes(const std::vector<std::uint8_t>& bytes, std::string& error) {
        return player.loadFromMemory(bytes, "test.xm", error);
    }
    std::uint64_t position() const { return player.framesRendered(); }
};

} // namespace

TEST(SongSchedule, FirstSoundingOfEachValueAndTheEndMarker) {
    // Pattern 0: 2 on row 0, 240 on row 4; pattern 1: 240 again, 32 on row 2, the end on row 6.
    ModulePlayer player;
    std::string error;
    ASSERT_TRUE(player.loadFromMemory(
        encode(makeModule({{syncAt(0, 2), syncAt(4, 240)}, {syncAt(0, 240), syncAt(2, 32), syncAt(6, 128)}},
                          {0, 1})),
        "test.xm", error))
        << error;
    const SongSchedule schedule = readSongSchedule(player);
    EXPECT_TRUE(schedule.endMarker);
    EXPECT_NEAR(schedule.endSeconds, 14 * 0.12, 1e-6);
    EXPECT_NEAR(*schedule.firstSync(2), 0.0, 1e-6);
    EXPECT_NEAR(*schedule.firstSync(240), 4 * 0.12, 1e-6); // its first time, not its second
    EXPECT_NEAR(*schedule.firstSync(32), 10 * 0.12, 1e-6);
    EXPECT_FALSE(schedule.firstSync(36));

    // Without an end marker the show ends with the song.
    ASSERT_TRUE(player.loadFromMemory(encode(makeModule({{syncAt(1, 32)}}, {0, 0})), "test.xm", error));
    const SongSchedule endless = readSongSchedule(player);
    EXPECT_FALSE(endless.endMarker);
    EXPECT_NEAR(endless.endSeconds, 16 * 0.12, 0.01);
}

TEST(PlayerMusic, ACueRunsTheSongAheadAndPlayGoesOnFromThereInsteadOfRestarting) {
    BareMusic music;
    std::string error;
    PlayStatus status;
    EXPECT_FALSE(music.cue(1.0, error)); // nothing loaded yet
    EXPECT_EQ(error, "No module loaded");
    ASSERT_TRUE(music.loadBytes(encode(makeModule({{syncAt(1, 32), syncAt(5, 36)}}, {0})), error)) << error;

    ASSERT_TRUE(music.cue(0.5, error));
    ASSERT_TRUE(music.cue(1.0, error));
    EXPECT_EQ(music.position(), 48000u);
    ASSERT_TRUE(music.poll(status, error));
    EXPECT_EQ(status.syncCount, 2); // both heard by 0.6 s, the next turn's first at 1.08 s
    ASSERT_TRUE(music.play(error));
    EXPECT_EQ(music.position(), 48000u);

    ASSERT_TRUE(music.play(error)); // without a cue, play starts from the beginning
    EXPECT_EQ(music.position(), 0u);
    ASSERT_TRUE(music.poll(status, error));
    EXPECT_EQ(status.syncCount, 0);
}
