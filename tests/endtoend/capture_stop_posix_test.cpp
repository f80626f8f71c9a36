// Ctrl-C and SIGTERM during a capture, sent to the program as a person or a service manager
// would: the capture ends with finished files holding the frames written (the wav header's
// length true, the mp4 closed by ffmpeg, whole PNG frames), no temporary file, and the code of
// the signal. (POSIX only: on Windows no process sends another a signal.)
#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <sstream>

#include "program_run.h"

using namespace endtoend;

namespace {

constexpr std::chrono::seconds kDeadline{300};

std::uint32_t le32(const std::string& bytes, std::size_t at) {
    return std::uint32_t(std::uint8_t(bytes[at])) | std::uint32_t(std::uint8_t(bytes[at + 1])) << 8 |
           std::uint32_t(std::uint8_t(bytes[at + 2])) << 16 |
           std::uint32_t(std::uint8_t(bytes[at + 3])) << 24;
}

// True once `path` holds more than `bytes`.
std::function<bool()> grownPast(const fs::path& path, std::uintmax_t bytes) {
    return [path, bytes] {
        std::error_code ec;
        return fs::file_size(path, ec) > bytes && !ec;
    };
}

void expectNoTemporaryFile(const fs::path& folder) {
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        EXPECT_EQ(entry.path().string().find(".partial"), std::string::npos) << entry.path();
}

} // namespace

TEST(CaptureStop, CtrlCFinishesTheMp4AndTheWavWithWhatWasWritten) {
    ScratchFolder scratch("capture_interrupt");
    const fs::path mp4 = scratch.path / "show.mp4", wav = scratch.path / "show.wav";
    // Interrupted once a second of sound has been written.
    const ProgramRun run =
        runProgram(captureProgram(), {"--quiet", "--fps", "30", "--mp4", mp4.string(), "--wav", wav.string()},
                   scratch.path, kDeadline, {SIGINT, grownPast(wav.string() + ".partial", 192000)});
    ASSERT_TRUE(run.exited) << describe(run);
    EXPECT_EQ(run.exitCode, 130) << describe(run);
    EXPECT_NE(run.err.find("interrupted after"), std::string::npos) << describe(run);

    const std::string sound = readText(wav);
    ASSERT_GT(sound.size(), 44u + 192000u);
    EXPECT_EQ(le32(sound, 4), sound.size() - 8);
    EXPECT_EQ(le32(sound, 40), sound.size() - 44);
    // 30 frames a second: 6,400 bytes of sound a frame, so the number of frames is whole.
    ASSERT_EQ((sound.size() - 44) % 6400, 0u);
    const std::size_t frames = (sound.size() - 44) / 6400;
    EXPECT_LT(frames, 30u * 240) << "the whole show was captured";

    const std::string probe = commandOutput("ffprobe -v error -show_entries stream=codec_name,nb_frames "
                                            "-of default=nw=1 '" +
                                            mp4.string() + "'");
    EXPECT_NE(probe.find("codec_name=h264\nnb_frames=" + std::to_string(frames) + "\n"), std::string::npos)
        << frames << " frames in the wav; " << probe;
    EXPECT_NE(probe.find("codec_name=aac"), std::string::npos) << probe;
    expectNoTemporaryFile(scratch.path);
}

TEST(CaptureStop, SigtermKeepsTheWholeFramesAndEndsWith143) {
    ScratchFolder scratch("capture_terminate");
    const fs::path frames = scratch.path / "frames", log = scratch.path / "frames.log";
    const ProgramRun run = runProgram(
        captureProgram(), {"--quiet", "--fps", "10", "--png", frames.string(), "--log", log.string()},
        scratch.path, kDeadline, {SIGTERM, [frames] {
                                      std::error_code ec;
                                      return fs::exists(frames / "frame000020.png", ec);
                                  }});
    ASSERT_TRUE(run.exited) << describe(run);
    EXPECT_EQ(run.exitCode, 143) << describe(run);
    // One log line and one whole PNG per frame written.
    long lines = 0;
    std::istringstream text(readText(log));
    for (std::string line; std::getline(text, line);) lines += !line.empty() && line[0] != '#';
    long pngs = 0;
    for (const auto& entry : fs::directory_iterator(frames)) {
        ++pngs;
        const std::string png = readText(entry.path());
        EXPECT_EQ(png.substr(png.size() - 8, 4), "IEND") << entry.path(); // the last chunk is there
    }
    EXPECT_GE(pngs, 21);
    EXPECT_EQ(lines, pngs);
    expectNoTemporaryFile(scratch.path);
}
