// Capture mode end to end: a real module, the virtual clock and the files it writes.
#include <gtest/gtest.h>

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

TEST_F(Capture, AnUnwritableOutputIsAFailure) {
    const std::string song = writeModule(makeModule({{syncAt(6, kEndOfShowSync)}}, {0}));
    CaptureOptions o = outputs("x");
    o.pngDir = (dir / "no" / "such" / "dir").string();
    testing::internal::CaptureStderr();
    EXPECT_EQ(runCapture(o, registry, song), 1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("could not write"), std::string::npos);
}
