// write_3ds_seeds' command line: its answers, and that it clears only what it and libFuzzer put
// in the folder it is given (it once removed the whole folder, whatever it held).
#include "endtoend/command_line_checks.h"

#include <fstream>

using namespace endtoend;

namespace {
const std::string kTool = "write_3ds_seeds";
} // namespace

TEST(Write3dsSeedsCommandLine, AnswersHelpVersionAndUsageErrors) {
    ScratchFolder scratch("3ds_seeds_usage");
    expectOneArgumentCommandLine(kTool, "DIR", scratch.path);
}

TEST(Write3dsSeedsCommandLine, ReplacesTheSeedsAndTheFuzzersFindsAndNothingElse) {
    ScratchFolder scratch("3ds_seeds_files");
    const fs::path dir = scratch.path / "seeds";
    fs::create_directories(dir / "keep");
    const std::string find = "0123456789abcdef0123456789abcdef01234567";
    std::ofstream(dir / find) << "an earlier find";
    std::ofstream(dir / "notes.txt") << "the user's own";
    const ProgramRun run = runTool(kTool, {dir.string()}, scratch.path);
    EXPECT_EQ(run.exitCode, 0) << describe(run);
    EXPECT_TRUE(fs::exists(dir / "full.3ds"));
    EXPECT_TRUE(fs::exists(dir / "meshes.3ds"));
    EXPECT_FALSE(fs::exists(dir / find));
    EXPECT_TRUE(fs::exists(dir / "notes.txt"));
    EXPECT_TRUE(fs::exists(dir / "keep"));

    const std::string file = (dir / "notes.txt").string();
    expectFailure(kTool, {file + "/more"}, "cannot make " + file + "/more: Not a directory", scratch.path);
}
