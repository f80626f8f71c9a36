// The live music on a fake sound device and an injected clock: the device pulls, goes away (saying
// so or not), and comes back; without a device the clock alone moves the music.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "music/module_player.h"
#include "music/test_modules.h"
#include "platform/audio_output.h"
#include "platform/fake_clock.h"
#include "platform/live_music.h"

using namespace playertest;
using platformtest::FakeClock;
namespace fs = std::filesystem;

namespace {

constexpr int kBufferFrames = 1024;

// A sound device driven by the test: pull() plays the part of the device's thread.
struct FakeDevice {
    bool available = true;   // whether open() finds a device
    bool working = true;     // what the device says of itself
    bool diesAtOnce = false; // opens, then fails before it plays
    bool open = false, resumed = false;
    int opens = 0, failedOpens = 0;
    AudioOutput::Pull pullSamples;
    std::vector<std::int16_t> lastPulled; // the samples of the latest pull
};

class FakeOutput : public AudioOutput {
public:
    explicit FakeOutput(FakeDevice& d) : device(d) {}
    bool open(Pull pull, int& bufferFrames, std::string& error) override {
        ++device.opens;
        if (!device.available) {
            ++device.failedOpens;
            error = "no such device";
            return false;
        }
        device.pullSamples = std::move(pull);
        device.open = true;
        device.resumed = false;
        device.working = !device.diesAtOnce;
        bufferFrames = kBufferFrames;
        return true;
    }
    void resume() override { device.resumed = true; }
    bool working() override { return device.working; }
    void close() override { device.open = device.resumed = false; }

private:
    FakeDevice& device;
};

// The module: syncs 32 on row 1 (0.12 s) and 36 on row 5 (0.60 s) of an 8-row pattern that
// plays over and over (0.96 s a turn).
constexpr double kTurnSeconds = 8 * 0.12;

// Syncs heard by music time t (seconds from the song's start).
int syncsBy(double t) {
    const int turns = static_cast<int>(t / kTurnSeconds);
    const double inTurn = t - turns * kTurnSeconds;
    return 2 * turns + (inTurn >= 0.12) + (inTurn >= 0.60);
}

class LiveMusicOnAFakeDevice : public ::testing::Test {
protected:
    fs::path path;
    FakeClock clock;
    FakeDevice device;
    std::unique_ptr<Music> music;
    std::FILE* warnings = nullptr;
    std::uint64_t pulledFrames = 0; // by the fake device's "thread"
    double deviceTime = 0.0;        // clock time up to which the device has pulled

    void SetUp() override {
        path = fs::temp_directory_path() / ("hv_live_fake_" + std::to_string(::getpid()) + ".xm");
        const std::vector<std::uint8_t> bytes = encode(makeModule({{syncAt(1, 32), syncAt(5, 36)}}, {0}));
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        warnings = std::tmpfile();
    }
    void TearDown() override {
        music.reset();
        fs::remove(path);
        std::fclose(warnings);
    }

    void start(bool withDevice = true) {
        music = createLiveMusic(withDevice ? std::make_unique<FakeOutput>(device) : nullptr, clock, warnings);
        std::string error;
        ASSERT_TRUE(music->init(error));
        ASSERT_TRUE(music->loadModule(path.string(), error)) << error;
    }
    void play() {
        std::string error;
        ASSERT_TRUE(music->play(error)) << error;
        deviceTime = clock.seconds();
    }

    // The device pulls a buffer whenever its clock time has come, as a real one paced by its speaker.
    void devicePulls() {
        while (device.open && device.resumed &&
               deviceTime + double(kBufferFrames) / 48000 <= clock.seconds()) {
            device.lastPulled.assign(kBufferFrames * 2, 0);
            device.pullSamples(device.lastPulled.data(), kBufferFrames);
            pulledFrames += kBufferFrames;
            deviceTime += double(kBufferFrames) / 48000;
        }
        if (!(device.open && device.resumed)) deviceTime = clock.seconds();
    }

    // Frames of 1/60 s for that long: the device pulls, the frame loop polls.
    PlayStatus runFor(double seconds) {
        PlayStatus status;
        const double end = clock.seconds() + seconds;
        while (clock.seconds() < end - 1e-9) {
            clock.advance(1.0 / 60.0);
            devicePulls();
            std::string error;
            EXPECT_TRUE(music->poll(status, error));
        }
        return status;
    }

    std::vector<std::string> warningLines() {
        std::vector<std::string> lines;
        std::rewind(warnings);
        char line[512];
        while (std::fgets(line, sizeof line, warnings)) lines.emplace_back(line);
        return lines;
    }

    // The module's samples from `frame` on, as a player started from the beginning renders them.
    std::vector<std::int16_t> referenceSamples(std::uint64_t frame, int count) {
        ModulePlayer reference;
        std::string error;
        EXPECT_TRUE(reference.load(path.string(), error)) << error;
        std::vector<std::int16_t> skip(4096 * 2);
        while (reference.framesRendered() < frame)
            reference.render(skip.data(), std::min<std::uint64_t>(4096, frame - reference.framesRendered()));
        std::vector<std::int16_t> samples(static_cast<std::size_t>(count) * 2);
        reference.render(samples.data(), static_cast<std::size_t>(count));
        return samples;
    }
};

} // namespace

TEST_F(LiveMusicOnAFakeDevice, ADeviceLostMidShowLeavesTheMusicOnTheClockWithOneWarning) {
    start();
    play();
    const double begin = clock.seconds();
    EXPECT_EQ(runFor(0.5).syncCount, 1);

    // Unplugged, and nothing else to open. SDL may go on calling a device it has disabled; once
    // closed, ours pulls no more.
    device.working = false;
    device.available = false;
    const PlayStatus status = runFor(4.2);
    EXPECT_FALSE(device.open);
    // 4.7 s in (a buffer's latency less): four turns of two syncs, and both of the fifth.
    EXPECT_EQ(status.syncCount, syncsBy(clock.seconds() - begin - 0.05));
    EXPECT_EQ(status.syncCount, 10);

    const std::vector<std::string> lines = warningLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("the audio device was lost"), std::string::npos) << lines[0];
}

TEST_F(LiveMusicOnAFakeDevice, ADeviceThatHangsWithoutSayingSoCountsAsLostAndTheClockMakesUpTheGap) {
    start();
    play();
    const double begin = clock.seconds();
    runFor(0.3);
    device.resumed = false; // its thread hangs, yet the device says it works
    device.available = false;
    runFor(kAudioStallSeconds + 0.1);
    EXPECT_FALSE(device.open);
    // Five turns of two syncs and both of the sixth: the status caught up with the clock.
    const PlayStatus status = runFor(begin + 5 * kTurnSeconds + 0.85 - clock.seconds());
    EXPECT_EQ(status.syncCount, syncsBy(clock.seconds() - begin - 0.05));
    EXPECT_EQ(status.syncCount, 12);
    EXPECT_EQ(warningLines().size(), 1u);
}

TEST_F(LiveMusicOnAFakeDevice, TheDefaultDeviceIsAskedForAgainEveryFewSeconds) {
    start();
    play();
    runFor(0.5);
    device.working = false;
    device.available = false;
    runFor(0.1); // lost here
    EXPECT_EQ(device.opens, 1);
    runFor(2 * kAudioReopenSeconds + 0.5);
    EXPECT_EQ(device.failedOpens, 2); // one try every three seconds, and nothing said
    EXPECT_EQ(device.opens, 3);

    device.available = device.diesAtOnce = true; // a device that opens, then fails at once
    runFor(kAudioReopenSeconds);
    EXPECT_EQ(device.opens, 4);
    EXPECT_FALSE(device.open);
    EXPECT_EQ(warningLines().size(), 1u); // the sound never came back, so nothing more is said

    device.diesAtOnce = false; // plugged in again: the next try opens it, and it plays on
    const std::uint64_t pulledBefore = pulledFrames;
    runFor(kAudioReopenSeconds);
    EXPECT_TRUE(device.open && device.resumed);
    EXPECT_GT(pulledFrames, pulledBefore);
    EXPECT_EQ(device.opens, 5);
}

TEST_F(LiveMusicOnAFakeDevice, ReopenedSoundIsTheMusicWhereTheClockHasTakenIt) {
    start();
    play();
    runFor(0.5);
    const std::uint64_t heardAtLoss = pulledFrames - kBufferFrames;
    device.working = false;
    clock.advance(1.0 / 60.0);
    std::string error;
    PlayStatus status;
    ASSERT_TRUE(music->poll(status, error)); // the loss is seen here, and the clock takes over
    const std::uint64_t lostAt = clock.ticks;
    clock.advance(kAudioReopenSeconds);
    ASSERT_TRUE(music->poll(status, error)); // the retry opens the device at once
    ASSERT_TRUE(device.open && device.resumed);
    const auto position =
        heardAtLoss + static_cast<std::uint64_t>(clock.seconds(clock.ticks - lostAt) * 48000);
    std::vector<std::int16_t> first(kBufferFrames * 2);
    device.pullSamples(first.data(), kBufferFrames);
    EXPECT_EQ(first, referenceSamples(position, kBufferFrames));
}

TEST_F(LiveMusicOnAFakeDevice, WithoutADeviceTheClockAloneMovesTheMusicAfterAWarning) {
    device.available = false;
    start();
    EXPECT_EQ(device.opens, 1);
    play();
    EXPECT_EQ(runFor(0.11).syncCount, 0);
    EXPECT_EQ(runFor(0.02).syncCount, 1); // row 1, 0.12 s in, heard when the clock gets there
    EXPECT_EQ(runFor(2.0).syncCount, syncsBy(2.15));
    const std::vector<std::string> lines = warningLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("no audio device (no such device); the music plays silently"), std::string::npos);
}

TEST_F(LiveMusicOnAFakeDevice, MutedNoDeviceIsAskedForAndNothingIsSaid) {
    start(false);
    play();
    EXPECT_EQ(runFor(2.15).syncCount, syncsBy(2.15));
    EXPECT_EQ(device.opens, 0);
    EXPECT_TRUE(warningLines().empty());
}

TEST_F(LiveMusicOnAFakeDevice, ACueRunsTheSongAheadSilentlyAndPlayGoesOnFromThere) {
    start();
    std::string error;
    PlayStatus status;
    ASSERT_TRUE(music->cue(0.5, error));
    ASSERT_TRUE(music->poll(status, error));
    EXPECT_EQ(status.syncCount, 1);
    ASSERT_TRUE(music->cue(1.0, error));
    ASSERT_TRUE(music->poll(status, error));
    EXPECT_EQ(status.syncCount, syncsBy(1.0));
    EXPECT_FALSE(device.resumed); // nothing heard yet
    play();
    std::vector<std::int16_t> first(kBufferFrames * 2);
    device.pullSamples(first.data(), kBufferFrames);
    EXPECT_EQ(first, referenceSamples(48000, kBufferFrames));
}

TEST_F(LiveMusicOnAFakeDevice, MutedTheClockGoesOnFromTheCue) {
    start(false);
    std::string error;
    ASSERT_TRUE(music->cue(1.0, error));
    play();
    EXPECT_EQ(runFor(0.6).syncCount, syncsBy(1.6));
}
