// Capture mode end to end: a real module, the virtual clock and the files it writes.
#include <gtest/gtest.h>

#include <csignal>
#include <sstream>

#include "capture/stop_request.h"
#include "capture_fixture.h"
#include "shell/timeline.h"

using namespace capturetest;
using namespace playertest;

TEST_F(Capture, TwoRunsWriteIdenticalFilesAndEndAtTheMarker) {
    // Sync 2 on row 1, sync 2 again on row 3, the end marker on row 6 (0.72 s into the music).
    const std::string song =
        writeModule(makeModule({{syncAt(1, 2), syncAt(3, 2), syncAt(6, kEndOfShowSync)}}, {0}));
    ASSERT_EQ(runCapture(outputs("a"), registry, song), 0);
    EXPECT_EQ(painter.starts, 2);
    ASSERT_EQ(runCapture(outputs("b"), registry, song), 0);

    for (const char* file : {"a.y4m", "a.wav"}) {
        std::string first = readFile(dir / file);
        std::string second = readFile(dir / (std::string("b") + (file + 1)));
        EXPECT_FALSE(first.empty());
        EXPECT_TRUE(first == second) << file << " differs between runs";
    }
    int pngs = 0;
    for (const auto& entry : fs::directory_iterator(dir / "a")) {
        ++pngs;
        EXPECT_TRUE(readFile(entry.path()) == readFile(dir / "b" / entry.path().filename()));
    }
    // 14 start-up frames, then the music: the marker is heard in frame 37 (0.72 s at 50 fps), which
    // is still drawn; every third frame is kept as a PNG.
    const long frames = 14 + 37;
    EXPECT_EQ(pngs, (frames + 2) / 3);
    EXPECT_TRUE(fs::exists(dir / "a" / "frame000000.png"));
    // One frame of sound per frame of picture: 960 stereo 16-bit samples at 50 fps.
    EXPECT_EQ(fs::file_size(dir / "a.wav"), 44u + frames * 960 * 4);
    const std::string y4m = readFile(dir / "a.y4m");
    EXPECT_EQ(y4m.rfind("YUV4MPEG2 W320 H200 F50:1 Ip A5:6 C420jpeg\n", 0), 0u);
    EXPECT_EQ(fs::file_size(dir / "a.y4m"), 43u + frames * (6 + 320 * 200 * 3 / 2));
}

TEST_F(Capture, WithoutAnEndMarkerItStopsAtTheSongsLengthOrTheTimeLimit) {
    const std::string song = writeModule(makeModule({{}}, {0}, 16)); // 1.92 s, no syncs
    CaptureOptions o = outputs("quiet");
    o.pngDir.clear();
    ASSERT_EQ(runCapture(o, registry, song), 0);
    EXPECT_EQ(painter.starts, 0);
    // The start-up frames, then the whole song: 1.92 s at 50 fps.
    EXPECT_EQ(fs::file_size(o.wavPath), 44u + (14 + 96) * 960 * 4);

    o.seconds = 0.5;
    ASSERT_EQ(runCapture(o, registry, song), 0);
    EXPECT_EQ(fs::file_size(o.wavPath), 44u + 25 * 960 * 4);
}

TEST_F(Capture, MissingOrBrokenModuleEndsWithTheMusicErrorAndOne) {
    CaptureOptions o = outputs("none");
    testing::internal::CaptureStderr();
    EXPECT_EQ(runCapture(o, registry, (dir / "missing.xm").string()), 1);
    std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_NE(printed.find("MIDAS Error: Unable to open file"), std::string::npos) << printed;

    std::ofstream(dir / "broken.xm") << "Extended Module: but nothing after it";
    testing::internal::CaptureStderr();
    EXPECT_EQ(runCapture(o, registry, (dir / "broken.xm").string()), 1);
    printed = testing::internal::GetCapturedStderr();
    EXPECT_NE(printed.find("MIDAS Error: Invalid module file"), std::string::npos) << printed;
}

TEST_F(Capture, AStopSignalFinishesTheFilesWithTheFramesWrittenAndGivesItsCode) {
    // The painter starts on row 0 of a song of 1.92 s; a SIGTERM comes as it draws its tenth frame.
    const std::string song = writeModule(makeModule({{syncAt(0, 2)}}, {0}, 16));
    painter.onRender = [](int renders) {
        if (renders == 10) std::raise(SIGTERM);
    };
    ShowCaptureOptions o;
    o.session = outputs("stopped");
    o.logPath = (dir / "stopped.log").string();
    watchStopSignals();
    testing::internal::CaptureStderr();
    const int code = runCapture(o, registry, song);
    const std::string printed = testing::internal::GetCapturedStderr();
    unwatchStopSignals();
    EXPECT_EQ(code, 128 + SIGTERM) << printed;
    EXPECT_NE(printed.find("stopped by a signal after"), std::string::npos) << printed;
    // Every file finished and named, all of the same length.
    const std::string wav = readFile(o.session.wavPath);
    ASSERT_GT(wav.size(), 44u);
    const long frames = long(wav.size() - 44) / (960 * 4);
    EXPECT_EQ(wav.size(), 44u + std::size_t(frames) * 960 * 4);
    // The header says the true length.
    const auto le32 = [&wav](std::size_t at) {
        return std::uint32_t((unsigned char)wav[at]) | std::uint32_t((unsigned char)wav[at + 1]) << 8 |
               std::uint32_t((unsigned char)wav[at + 2]) << 16 |
               std::uint32_t((unsigned char)wav[at + 3]) << 24;
    };
    EXPECT_EQ(le32(4), wav.size() - 8);
    EXPECT_EQ(le32(40), wav.size() - 44);
    EXPECT_EQ(fs::file_size(o.session.y4mPath), 43u + frames * (6 + 320 * 200 * 3 / 2));
    std::istringstream log(readFile(o.logPath));
    long lines = 0;
    for (std::string line; std::getline(log, line);) lines += line[0] != '#';
    EXPECT_EQ(lines, frames);
    // The loading screen's frames and the ten drawn, not the whole song.
    EXPECT_LT(frames, 14 + 96);
    EXPECT_GE(frames, 14 + 9);
    for (const auto& entry : fs::directory_iterator(dir))
        EXPECT_EQ(entry.path().string().find(".partial"), std::string::npos) << entry.path();
}

TEST_F(Capture, TheSummaryCountsWhatEachFileGot) {
    const std::string song = writeModule(makeModule({{syncAt(1, 2), syncAt(6, kEndOfShowSync)}}, {0}));
    CaptureOptions o = outputs("counted");
    testing::internal::CaptureStdout();
    ASSERT_EQ(runCapture(o, registry, song), 0);
    std::string printed = testing::internal::GetCapturedStdout();
    // 51 frames, every third a PNG.
    EXPECT_NE(printed.find(": " + o.pngDir + ": 17 PNG files (one frame in 3 of 51)\n"), std::string::npos)
        << printed;
    EXPECT_NE(printed.find(": " + o.y4mPath + ": 51 frames (1.02 seconds)\n"), std::string::npos) << printed;

    o.seconds = 0.02; // one frame at 50 fps
    testing::internal::CaptureStdout();
    ASSERT_EQ(runCapture(o, registry, song), 0);
    printed = testing::internal::GetCapturedStdout();
    EXPECT_NE(printed.find(": " + o.y4mPath + ": 1 frame (0.02 seconds)\n"), std::string::npos) << printed;
    EXPECT_NE(printed.find(": 1 PNG file (one frame in 3 of 1)\n"), std::string::npos) << printed;
}
