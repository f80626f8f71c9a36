// The mp4 writer with the real ffmpeg: every frame rate the capture allows gets through, whole
// and in good time (feeding the two pipes from one thread once hung from about 96 frames a
// second on), and the colours come back as they went in.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "capture/mp4_writer.h"
#include "capture_fixture.h"
#include "platform/child_process.h"
#include "watchdog.h"

using namespace capturetest;
using namespace std::chrono_literals;

namespace {

constexpr int kW = 320, kH = 200, kOutW = 1440, kOutH = 1080;
constexpr int kRate = 48000;
constexpr double kTwoPi = 6.283185307179586;

// Left half red, right half blue, with a small square moving so no two frames are the same.
void paint(std::vector<std::uint32_t>& frame, int n) {
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) frame[y * kW + x] = x < kW / 2 ? 0xff0000 : 0x0000ff;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) frame[(y + 4) * kW + (x + n % 300)] = 0xffffff;
}

} // namespace

TEST(Mp4Writer, EveryFrameRateGetsThroughWholeAndInTime) {
    if (encoderMissing()) GTEST_SKIP() << "no ffmpeg.exe on the PATH";
    const fs::path dir = fs::temp_directory_path() / ("hv_mp4_writer_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::vector<std::uint32_t> frame(kW * kH);
    for (int fps : {1, 60, 120, 1000}) {
        Watchdog watchdog(240s, "the mp4 writer at " + std::to_string(fps) + " frames a second");
        // A third of a second, and at least two frames.
        const int frames = std::max(2, fps / 3);
        const std::string path = (dir / ("rate" + std::to_string(fps))).string(); // no ending: mp4 still
        Mp4Writer writer;
        std::string error;
        ASSERT_TRUE(writer.open(path, kW, kH, kOutW, kOutH, fps, kRate, 2, error)) << error;
        std::vector<std::int16_t> sound;
        for (int n = 0; n < frames; ++n) {
            // Frame n covers samples [n * rate / fps, (n + 1) * rate / fps), a 440 Hz tone.
            const long first = long(n) * kRate / fps, last = long(n + 1) * kRate / fps;
            sound.clear();
            for (long s = first; s < last; ++s) {
                const auto level = std::int16_t(8000 * std::sin(kTwoPi * 440 * double(s) / kRate));
                sound.insert(sound.end(), {level, level});
            }
            ASSERT_TRUE(writer.writeAudio(sound.data(), sound.size() / 2)) << fps;
            paint(frame, n);
            ASSERT_TRUE(writer.writeFrame(frame.data(), kW, kH, kW * 4)) << fps;
        }
        ASSERT_TRUE(writer.close(error)) << error;
        ASSERT_TRUE(writer.commit(error)) << error;

        const std::string probe =
            commandOutput("ffprobe -v error -show_entries format=format_name:stream="
                          "codec_name,width,height,nb_frames,duration -of default=nw=1 '" +
                          path + "'");
        EXPECT_NE(probe.find("codec_name=h264\nwidth=1440\nheight=1080"), std::string::npos) << probe;
        EXPECT_NE(probe.find("nb_frames=" + std::to_string(frames) + "\n"), std::string::npos) << fps << "\n"
                                                                                               << probe;
        EXPECT_NE(probe.find("codec_name=aac"), std::string::npos) << probe;
        EXPECT_NE(probe.find("format_name=mov,mp4"), std::string::npos) << probe;

        if (fps == 60) {
            // Decoded by its tags, the picture is red and blue again (a BT.601 conversion tagged
            // 709 came back visibly off).
            const std::string rgb =
                commandOutput("ffmpeg -v error -i '" + path + "' -frames:v 1 -f rawvideo -pix_fmt rgb24 -");
            ASSERT_EQ(rgb.size(), std::size_t(kOutW * kOutH * 3));
            const auto at = [&rgb](int x, int y, int c) {
                return int(std::uint8_t(rgb[(y * kOutW + x) * 3 + c]));
            };
            const int y = kOutH * 3 / 4;
            for (int c = 0; c < 3; ++c) {
                EXPECT_NEAR(at(kOutW / 4, y, c), c == 0 ? 255 : 0, 6) << "red half, channel " << c;
                EXPECT_NEAR(at(kOutW * 3 / 4, y, c), c == 2 ? 255 : 0, 6) << "blue half, channel " << c;
            }
        }
    }
    fs::remove_all(dir);
}

TEST(Mp4Writer, AFrameOfAnotherSizeIsRefusedAndAnAbortLeavesNoEncoderBehind) {
    if (encoderMissing()) GTEST_SKIP() << "no ffmpeg.exe on the PATH";
    const fs::path path = fs::temp_directory_path() / ("hv_mp4_abort_" + std::to_string(::getpid()) + ".mp4");
    Watchdog watchdog(60s, "the mp4 writer's abort");
    Mp4Writer writer;
    std::string error;
    ASSERT_TRUE(writer.open(path.string(), kW, kH, kOutW, kOutH, 60, kRate, 2, error)) << error;
    std::vector<std::uint32_t> frame(kW * kH);
    EXPECT_FALSE(writer.writeFrame(frame.data(), kW / 2, kH, kW * 4));
    writer.abort();
    EXPECT_FALSE(writer.isOpen());
    EXPECT_TRUE(writer.close(error)); // nothing left to close
    EXPECT_FALSE(fs::exists(path));
    EXPECT_FALSE(fs::exists(path.string() + ".partial"));
}

TEST(Mp4Writer, WithoutFfmpegItSaysSoBeforeAnyFrameAndLeavesNoFile) {
    const fs::path path =
        fs::temp_directory_path() / ("hv_mp4_no_ffmpeg_" + std::to_string(::getpid()) + ".mp4");
    Mp4Writer writer;
    std::string error;
    bool opened;
    {
        const endtoend::EnvironmentChange nowhere("PATH", "/nonexistent");
        opened = writer.open(path.string(), kW, kH, kOutW, kOutH, 60, kRate, 2, error);
    }
    EXPECT_FALSE(opened);
#ifdef _WIN32
    EXPECT_EQ(error,
              "could not start ffmpeg (an ffmpeg.exe on the PATH): " + systemErrorText(ERROR_FILE_NOT_FOUND));
#else
    EXPECT_EQ(error, "could not start ffmpeg (Debian package ffmpeg): No such file or directory");
#endif
    EXPECT_FALSE(fs::exists(path));
    EXPECT_FALSE(fs::exists(path.string() + ".partial"));
}
