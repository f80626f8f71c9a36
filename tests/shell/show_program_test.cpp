// The show's program as a person starts it, where no display can be found.
#include <gtest/gtest.h>

#include <string>

#include "endtoend/program_run.h"

using namespace endtoend;

TEST(ShowProgram, WithoutADisplayItCannotCreateItsWindowAndPointsAtTheCapture) {
#ifdef _WIN32
    GTEST_SKIP() << "a Windows session always has its desktop";
#endif
    ScratchFolder scratch("show_no_display");
    const EnvironmentChange noDriver("SDL_VIDEODRIVER", nullptr);
    const EnvironmentChange noX("DISPLAY", nullptr);
    const EnvironmentChange noWayland("WAYLAND_DISPLAY", nullptr);
    const ProgramRun run = runProgram(builtProgram("halcyonvectrum"), {"--window", "--mute"}, scratch.path,
                                      std::chrono::seconds(60));
    ASSERT_TRUE(run.exited) << describe(run);
    EXPECT_EQ(run.exitCode, 1) << describe(run);
    EXPECT_NE(run.err.find("Error: could not create window\n"), std::string::npos) << describe(run);
    EXPECT_NE(run.err.find("halcyonvectrum-capture --mp4"), std::string::npos) << describe(run);
}

TEST(ShowProgram, AUsageErrorEndsWithCodeTwoBeforeAnythingStarts) {
    ScratchFolder scratch("show_usage");
    const ProgramRun run =
        runProgram(builtProgram("halcyonvectrum"), {"--fps", "fast"}, scratch.path, std::chrono::seconds(30));
    ASSERT_TRUE(run.exited) << describe(run);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, "halcyonvectrum: --fps fast: must be 0 to 1000\n"
                       "usage: halcyonvectrum [options] (--help for more)\n");
}
