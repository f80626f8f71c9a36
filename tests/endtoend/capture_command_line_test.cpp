// halcyonvectrum-capture's command line: its answers, and the checks it makes before the first
// frame (a failure there writes nothing and renders nothing).
#include <algorithm>
#include <fstream>

#include "command_line_checks.h"

using namespace endtoend;

namespace {
const std::string kCapture = "halcyonvectrum-capture";
} // namespace

TEST(CaptureCommandLine, AnswersHelpVersionAndUsageErrors) {
    ScratchFolder scratch("capture_usage");
    expectHelpAndVersion(kCapture, "usage: halcyonvectrum-capture [options]", scratch.path);
    expectUsageError(kCapture, {"--frobnicate"}, "unknown option --frobnicate", scratch.path);
    expectUsageError(kCapture, {"--fps", "0"}, "--fps 0: must be 1 to 1000", scratch.path);
    expectUsageError(kCapture, {"--seconds", "-1"}, "--seconds -1: must be above 0 and at most 86400",
                     scratch.path);
    expectUsageError(kCapture, {"--aspect", "wide"}, "--aspect wide: must be square or 4:3", scratch.path);
    expectUsageError(kCapture, {"--contact-sheet", "sheet.gif"},
                     "--contact-sheet sheet.gif: must end in .jpg, .jpeg or .png", scratch.path);
    expectUsageError(kCapture, {"--start-sync", "32", "--start-time", "1"},
                     "--start-sync and --start-time exclude each other", scratch.path);
    expectUsageError(kCapture, {"extra"}, "unexpected argument 'extra'", scratch.path);
}

TEST(CaptureCommandLine, FailsBeforeTheFirstFrameAndLeavesEveryFileAsItWas) {
    ScratchFolder scratch("capture_early");
    const fs::path wav = scratch.path / "kept.wav";
    std::ofstream(wav) << "an older file";
    const std::string folder = scratch.path.string();
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"--wav", wav.string(), "--start-time", "9999"},
         "--start-time 9999: the show ends at 243.67 seconds"},
        {{"--wav", wav.string(), "--start-sync", "77"}, "--start-sync 77: the music has no sync value 77"},
        {{"--wav", wav.string(), "--mp4", folder + "/no/such/dir/x.mp4"},
         "cannot write " + folder + "/no/such/dir/x.mp4: No such file or directory"},
        {{"--wav", wav.string(), "--y4m", folder}, "cannot write " + folder + ": is a directory"},
        {{"--wav", wav.string(), "--png", wav.string()},
         "cannot write frames into " + wav.string() + ": Not a directory"},
    };
    for (const Case& c : cases) {
        const ProgramRun run = runTool(kCapture, c.args, scratch.path);
        EXPECT_EQ(run.exitCode, 1) << describe(run);
        EXPECT_NE(run.err.find(kCapture + ": " + c.message), std::string::npos) << describe(run);
        // Found before the show loads: no loading screen, no progress line.
        EXPECT_EQ(run.err.find("loading"), std::string::npos) << describe(run);
        EXPECT_EQ(readText(wav), "an older file");
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(scratch.path))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::string>{"kept.wav", "stderr.txt", "stdout.txt"})) << describe(run);
    }
}

TEST(CaptureCommandLine, AMissingModuleIsNamedAndWritesNothing) {
    // A copy of the program with no data folder beside it.
    ScratchFolder scratch("capture_no_data");
    const fs::path program = scratch.path / kCapture;
    fs::copy_file(captureProgram(), program);
    const ProgramRun run = runProgram(program, {"--quiet", "--wav", (scratch.path / "x.wav").string()},
                                      scratch.path, kToolDeadline);
    EXPECT_EQ(run.exitCode, 1) << describe(run);
    EXPECT_NE(run.err.find("Unable to open file \"data/halcyver.xm\": No such file or directory"),
              std::string::npos)
        << describe(run);
    EXPECT_FALSE(fs::exists(scratch.path / "x.wav"));
    EXPECT_FALSE(fs::exists(scratch.path / "x.wav.partial"));
}

TEST(CaptureCommandLine, QuietSilencesTheShowsOwnLinesWhichOtherwiseStay) {
    ScratchFolder scratch("capture_quiet");
    const std::string wav = (scratch.path / "x.wav").string();
    ProgramRun run = runTool(kCapture, {"--seconds", "0.5", "--wav", wav}, scratch.path);
    EXPECT_EQ(run.exitCode, 0) << describe(run);
    EXPECT_NE(asText(run.out).find("BGL Verbose: OFF\n"), std::string::npos) << describe(run);
    EXPECT_NE(asText(run.out).find("found image "), std::string::npos) << describe(run);
    EXPECT_NE(asText(run.out).find(kCapture + ": " + wav + ": 0.50 seconds of sound\n"), std::string::npos)
        << describe(run);

    run = runTool(kCapture, {"--quiet", "--seconds", "0.5", "--wav", wav}, scratch.path);
    EXPECT_EQ(run.exitCode, 0) << describe(run);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(fs::file_size(wav), 44u + 48000 * 4 / 2);
}
