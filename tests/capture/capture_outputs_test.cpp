// The capture's outputs beyond plain frames: where they begin, their size and shape, the mp4, the
// frame log and the contact sheet.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <vector>

#include "capture/frame_scaler.h"
#include "capture/show_contact_sheet.h"
#include "capture_fixture.h"
#include "imagelib/bgl_image.h"
#include "imagelib/bgl_jpeg.h"
#include "resources/bitmap_font.h"
#include "shell/timeline.h"

using namespace capturetest;

namespace {

struct LogLine {
    long frame, musicFrame;
    int syncValue, syncCount;
    std::string checksum, effect;
};

std::vector<LogLine> readLog(const fs::path& path) {
    std::vector<LogLine> lines;
    std::istringstream in(readFile(path));
    std::string text;
    while (std::getline(in, text)) {
        if (text.empty() || text[0] == '#') continue;
        std::istringstream fields(text);
        LogLine line;
        fields >> line.frame >> line.musicFrame >> line.syncValue >> line.syncCount >> line.checksum;
        std::getline(fields >> std::ws, line.effect);
        lines.push_back(line);
    }
    return lines;
}

// Rows of 0.12 s: sync 2 on row 1, sync 5 on row 3, the end marker on row 6.
forge::XmModule threeSyncs() {
    return makeModule({{syncAt(1, 2), syncAt(3, 5), syncAt(6, kEndOfShowSync)}}, {0});
}

} // namespace

TEST_F(Capture, OutputBeginsAtTheStartSyncOrTimeAfterAnUnwrittenRun) {
    const std::string song = writeModule(threeSyncs());
    ShowCaptureOptions all;
    all.session = outputs("all");
    all.logPath = (dir / "all.log").string();
    ASSERT_EQ(runCapture(all, registry, song), 0);
    const std::vector<LogLine> whole = readLog(all.logPath);
    ASSERT_EQ(whole.size(), 14u + 37u);
    EXPECT_EQ(whole.front().musicFrame, -1); // the loading screen comes first
    EXPECT_EQ(whole.back().syncValue, kEndOfShowSync);

    ShowCaptureOptions fromSync;
    fromSync.session = outputs("sync");
    fromSync.session.startSync = 5;
    fromSync.logPath = (dir / "sync.log").string();
    ASSERT_EQ(runCapture(fromSync, registry, song), 0);
    const std::vector<LogLine> part = readLog(fromSync.logPath);
    ASSERT_FALSE(part.empty());
    // The first written frame is the one that heard sync 5; the frames match the whole run's.
    EXPECT_EQ(part.front().frame, 0);
    EXPECT_EQ(part.front().syncValue, 5);
    const long offset = 14 + part.front().musicFrame;
    EXPECT_EQ(whole[offset - 1].syncValue, 2);
    EXPECT_EQ(whole[offset].syncValue, 5);
    ASSERT_EQ(part.size(), whole.size() - offset);
    for (std::size_t i = 0; i < part.size(); ++i)
        EXPECT_EQ(part[i].checksum, whole[offset + i].checksum) << i;
    // Sound for exactly the written frames, PNG names counted from the first written frame.
    EXPECT_EQ(fs::file_size(fromSync.session.wavPath), 44u + part.size() * 960 * 4);
    EXPECT_TRUE(fs::exists(dir / "sync" / "frame000000.png"));

    ShowCaptureOptions fromTime;
    fromTime.session = outputs("time");
    fromTime.session.startSeconds = 0.5;
    fromTime.session.seconds = 0.1;
    fromTime.logPath = (dir / "time.log").string();
    ASSERT_EQ(runCapture(fromTime, registry, song), 0);
    const std::vector<LogLine> timed = readLog(fromTime.logPath);
    ASSERT_EQ(timed.size(), 5u); // 0.1 s at 50 fps
    EXPECT_EQ(timed.front().musicFrame, 25);
    EXPECT_EQ(timed.front().checksum, whole[14 + 25].checksum);
}

TEST_F(Capture, StartsAndOutputsAreCheckedBeforeTheFirstFrameAndAFailureLeavesNoFile) {
    // Sync 9 comes after the end marker: the show never hears it.
    const std::string song =
        writeModule(makeModule({{syncAt(1, 2), syncAt(3, 5), syncAt(6, kEndOfShowSync), syncAt(7, 9)}}, {0}));
    // A file of an output's name from before must survive a failed run as it was.
    std::ofstream(dir / "never.wav") << "an older file";
    const auto leftOver = [this] {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir))
            if (entry.path().filename() != "song.xm" && entry.path().filename() != "never.wav")
                names.push_back(entry.path().filename().string());
        return names;
    };
    struct Case {
        const char* what;
        std::function<void(CaptureOptions&)> change;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"a value the music never sends", [](CaptureOptions& o) { o.startSync = 77; },
         "--start-sync 77: the music has no sync value 77"},
        {"a value only after the end marker", [](CaptureOptions& o) { o.startSync = 9; },
         "--start-sync 9: the music sends it only after its end marker"},
        {"a time past the end", [](CaptureOptions& o) { o.startSeconds = 30.0; },
         "--start-time 30: the show ends at 0.72 seconds of music"},
        {"an mp4 in a missing folder",
         [this](CaptureOptions& o) { o.mp4Path = (dir / "no" / "such" / "dir" / "show.mp4").string(); },
         "cannot write " + (dir / "no" / "such" / "dir" / "show.mp4").string() +
             ": No such file or directory"},
        {"frames under a file",
         [this](CaptureOptions& o) { o.pngDir = (dir / "never.wav" / "frames").string(); },
         "cannot make the folder " + (dir / "never.wav" / "frames").string()},
    };
    for (const Case& c : cases) {
        CaptureOptions o = outputs("never");
        fs::remove(o.pngDir);
        c.change(o);
        testing::internal::CaptureStderr();
        EXPECT_EQ(runCapture(o, registry, song), 1) << c.what;
        const std::string printed = testing::internal::GetCapturedStderr();
        EXPECT_NE(printed.find(c.message), std::string::npos) << c.what << ": " << printed;
        EXPECT_EQ(painter.starts, 0) << c.what << ": the show ran";
        EXPECT_EQ(leftOver(), std::vector<std::string>()) << c.what;
        EXPECT_EQ(readFile(dir / "never.wav"), "an older file") << c.what;
    }

    // A failure once the files are begun (here the module, which only the show itself reads
    // through) takes them back as well.
    std::ofstream(dir / "broken.xm") << "Extended Module: but nothing after it";
    CaptureOptions o = outputs("never");
    fs::remove(o.pngDir); // the capture makes it, and takes it back
    testing::internal::CaptureStderr();
    EXPECT_EQ(runCapture(o, registry, (dir / "broken.xm").string()), 1);
    testing::internal::GetCapturedStderr();
    fs::remove(dir / "broken.xm");
    EXPECT_EQ(leftOver(), std::vector<std::string>());
    EXPECT_EQ(readFile(dir / "never.wav"), "an older file");
}

TEST_F(Capture, ScaleAndAspectShapeThePngAndY4mFrames) {
    const std::string song = writeModule(threeSyncs());
    CaptureOptions o = outputs("big");
    o.scale = 3;
    o.aspect = FrameAspect::FourThree;
    o.seconds = 0.1;
    ASSERT_EQ(runCapture(o, registry, song), 0);
    const std::string png = readFile(dir / "big" / "frame000000.png");
    ASSERT_GT(png.size(), 24u);
    // The PNG header's width and height, big-endian at bytes 16 and 20.
    const auto be32 = [&png](std::size_t at) {
        return (unsigned char)png[at] << 24 | (unsigned char)png[at + 1] << 16 |
               (unsigned char)png[at + 2] << 8 | (unsigned char)png[at + 3];
    };
    EXPECT_EQ(be32(16), 960);
    EXPECT_EQ(be32(20), 720);
    // Square pixels now: the y4m says so.
    EXPECT_EQ(readFile(o.y4mPath).rfind("YUV4MPEG2 W960 H720 F50:1 Ip A1:1 C420jpeg\n", 0), 0u);
}

TEST(FrameScaler, EveryOutputPixelCopiesTheSourcePixelUnderItsCentre) {
    constexpr int kW = 320, kH = 200;
    std::vector<std::uint32_t> source(kW * kH);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) source[y * kW + x] = static_cast<std::uint32_t>(y << 16 | x);
    const FrameSize mp4 = {1440, 1080};
    FrameScaler scaler(kW, kH, mp4.width, mp4.height);
    std::vector<std::uint32_t> out;
    scaler.scale(source.data(), kW * 4, out);
    ASSERT_EQ(out.size(), std::size_t(1440 * 1080));
    // 4.5 columns and 5.4 rows per source pixel: every source pixel shows, in order, 4 or 5 wide and
    // 5 or 6 high, and each output row is one source row throughout.
    std::vector<int> widths(kW), heights(kH);
    for (int x = 0; x < 1440; ++x) {
        ++widths[out[x] & 0xffff];
        if (x > 0) {
            ASSERT_LE(out[x - 1] & 0xffff, out[x] & 0xffff);
        }
    }
    for (int y = 0; y < 1080; ++y) {
        const std::uint32_t* row = &out[static_cast<std::size_t>(y) * 1440];
        ++heights[row[0] >> 16];
        for (int x = 0; x < 1440; ++x) ASSERT_EQ(row[x] >> 16, row[0] >> 16);
    }
    for (int w : widths) EXPECT_TRUE(w == 4 || w == 5) << w;
    for (int h : heights) EXPECT_TRUE(h == 5 || h == 6) << h;

    EXPECT_EQ(scaledFrameSize(kW, kH, 2, FrameAspect::Square).height, 400);
    EXPECT_EQ(scaledFrameSize(kW, kH, 2, FrameAspect::FourThree).height, 480);
    EXPECT_TRUE(FrameScaler(kW, kH, kW, kH).identity());
}

TEST_F(Capture, Mp4IsH264AndAacAt4To3WithEveryFrame) {
    if (encoderMissing()) GTEST_SKIP() << "no ffmpeg.exe on the PATH";
    const std::string song = writeModule(threeSyncs());
    CaptureOptions o;
    o.fps = 25;
    o.mp4Path = (dir / "show.mp4").string();
    ASSERT_EQ(runCapture(o, registry, song), 0);
    const std::string probe =
        commandOutput("ffprobe -v error -show_entries stream=codec_name,width,height,pix_fmt,"
                      "sample_rate,channels,nb_frames,r_frame_rate -of default=nw=1 '" +
                      o.mp4Path + "'");
    for (const char* field : {"codec_name=h264", "width=1440", "height=1080", "pix_fmt=yuv420p",
                              "r_frame_rate=25/1", "codec_name=aac", "sample_rate=48000", "channels=2"})
        EXPECT_NE(probe.find(field), std::string::npos) << field << " in\n" << probe;
    // The start-up frames and the music up to its end marker (0.72 s at 25 fps).
    EXPECT_NE(probe.find("nb_frames=" + std::to_string(14 + 19)), std::string::npos) << probe;
}

TEST(ShowContactSheet, CellsInRowsOfTenWithTheFrameAndItsLabelUnderIt) {
    constexpr int kW = 320, kH = 200;
    ShowContactSheet sheet;
    std::vector<std::uint32_t> frame(kW * kH);
    for (int i = 0; i < 11; ++i) {
        std::fill(frame.begin(), frame.end(), 0x00204060u + static_cast<std::uint32_t>(i) * 0x100008u);
        sheet.add({frame.data(), kW, kH, kW * 4, i, i, i}, "0:0" + std::to_string(i), "Painter");
    }
    const int stepX = ShowContactSheet::kCellWidth + ShowContactSheet::kGap;
    const int stepY = ShowContactSheet::kCellHeight +
                      ShowContactSheet::kLabelLines * ShowContactSheet::kLabelLineHeight +
                      ShowContactSheet::kGap;
    EXPECT_EQ(sheet.width(), ShowContactSheet::kGap + 10 * stepX);
    EXPECT_EQ(sheet.height(), ShowContactSheet::kGap + 2 * stepY);

    const fs::path path = fs::temp_directory_path() / ("hv_sheet_" + std::to_string(::getpid()) + ".jpg");
    BitmapFont showFont("data/rel2.aff");
    std::string error;
    ASSERT_TRUE(sheet.write(path.string(), StillFormat::Jpeg, showFont, error)) << error;
    bglimage* image = bgl_load_jpg(path.string().c_str());
    fs::remove(path);
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->width, sheet.width());
    ASSERT_EQ(image->height, sheet.height());
    // 24-bit JPEG pixels: red, green, blue.
    const auto pixel = [image](int x, int y, int c) {
        return static_cast<int>(image->image[(static_cast<std::size_t>(y) * image->width + x) * 3 + c]);
    };
    const auto closeTo = [](int a, int b) { return std::abs(a - b) <= 6; };
    // The eleventh cell opens the second row, in its frame's colour.
    const int x = ShowContactSheet::kGap + ShowContactSheet::kCellWidth / 2;
    const int y = ShowContactSheet::kGap + stepY + ShowContactSheet::kCellHeight / 2;
    EXPECT_TRUE(closeTo(pixel(x, y, 0), 0x20 + 10 * 0x10)) << pixel(x, y, 0);
    EXPECT_TRUE(closeTo(pixel(x, y, 1), 0x40)) << pixel(x, y, 1);
    EXPECT_TRUE(closeTo(pixel(x, y, 2), 0x60 + 10 * 0x08)) << pixel(x, y, 2);
    // Under each cell its label is written in light text.
    int light = 0;
    for (int ly = ShowContactSheet::kGap + ShowContactSheet::kCellHeight;
         ly < ShowContactSheet::kGap + stepY - ShowContactSheet::kGap; ++ly)
        for (int lx = ShowContactSheet::kGap; lx < ShowContactSheet::kGap + ShowContactSheet::kCellWidth;
             ++lx)
            light += pixel(lx, ly, 1) > 150;
    EXPECT_GT(light, 50);
    bgl_free_image(image);

    // A name ending in .png gets a PNG of the same size.
    const fs::path png = fs::temp_directory_path() / ("hv_sheet_" + std::to_string(::getpid()) + ".png");
    ASSERT_TRUE(sheet.write(png.string(), StillFormat::Png, showFont, error)) << error;
    const std::string bytes = readFile(png);
    fs::remove(png);
    ASSERT_GT(bytes.size(), 24u);
    EXPECT_EQ(bytes.substr(0, 8), "\x89PNG\r\n\x1a\n");
    const auto be32 = [&bytes](std::size_t at) {
        return int((unsigned char)bytes[at] << 24 | (unsigned char)bytes[at + 1] << 16 |
                   (unsigned char)bytes[at + 2] << 8 | (unsigned char)bytes[at + 3]);
    };
    EXPECT_EQ(be32(16), sheet.width());
    EXPECT_EQ(be32(20), sheet.height());
}
