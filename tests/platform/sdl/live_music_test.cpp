// The live music on SDL's own audio: syncs arrive from the device's thread, or by the clock when
// no device opens.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>

#include "endtoend/environment_change.h"
#include "music/test_modules.h"
#include "platform/live_music.h"
#include "platform/sdl/sdl_audio_output.h"
#include "platform/sdl/sdl_clock.h"

using namespace playertest;
namespace fs = std::filesystem;

namespace {

// Plays a module whose first sync (value 32) sits on row 1, 0.12 s in; returns the seconds until
// the play status showed it, or a negative number when it never came.
double secondsUntilFirstSync(Music& music, const std::string& path) {
    std::string error;
    EXPECT_TRUE(music.init(error)) << error;
    EXPECT_TRUE(music.loadModule(path, error)) << error;
    EXPECT_TRUE(music.play(error)) << error;
    const auto begin = std::chrono::steady_clock::now();
    double seconds = -1.0;
    while (std::chrono::steady_clock::now() - begin < std::chrono::seconds(5)) {
        PlayStatus status;
        EXPECT_TRUE(music.poll(status, error));
        if (status.syncCount > 0) {
            EXPECT_EQ(status.syncValue, 32);
            EXPECT_EQ(status.row, 1);
            seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    music.shutdown();
    music.shutdown(); // a second shutdown is harmless
    return seconds;
}

class SdlLiveMusic : public ::testing::Test {
protected:
    fs::path path;
    void SetUp() override {
        path = fs::temp_directory_path() / ("hv_live_" + std::to_string(::getpid()) + ".xm");
        const std::vector<std::uint8_t> bytes = encode(makeModule({{syncAt(1, 32)}}, {0}));
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    void TearDown() override { fs::remove(path); }
};

} // namespace

TEST_F(SdlLiveMusic, SyncsArriveWhenTheirRowIsHeardNotWhenRendered) {
    // SDL's dummy audio device in the tests: its thread pulls in real time.
    std::unique_ptr<Music> music = createLiveMusic(createSdlAudioOutput(), sdlClock());
    const double seconds = secondsUntilFirstSync(*music, path.string());
    EXPECT_GE(seconds, 0.10); // rendered within milliseconds, heard 0.12 s in
    EXPECT_LT(seconds, 3.0);  // generous: the machine may be busy
}

TEST_F(SdlLiveMusic, WithoutAnAudioDeviceTheMusicPlaysSilentlyWithAWarning) {
    std::string warning;
    double seconds = 0.0;
    {
        const endtoend::EnvironmentChange noDevice("SDL_AUDIODRIVER", "no-such-driver");
        std::unique_ptr<Music> music = createLiveMusic(createSdlAudioOutput(), sdlClock());
        testing::internal::CaptureStderr();
        seconds = secondsUntilFirstSync(*music, path.string());
        warning = testing::internal::GetCapturedStderr();
    }
    EXPECT_NE(warning.find("the music plays silently"), std::string::npos) << warning;
    EXPECT_GE(seconds, 0.0);
}
