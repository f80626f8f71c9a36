// make-picture-seeds' command line: its answers (it once made a folder called "--help"), and
// the folders it writes.
#include "endtoend/command_line_checks.h"

#include <fstream>

using namespace endtoend;

namespace {
const std::string kTool = "make-picture-seeds";
} // namespace

TEST(MakePictureSeedsCommandLine, AnswersHelpVersionAndUsageErrors) {
    ScratchFolder scratch("picture_seeds_usage");
    expectOneArgumentCommandLine(kTool, "DIR", scratch.path);
}

TEST(MakePictureSeedsCommandLine, WritesSeedsAndAnEmptyWorkFolderPerReaderOrSaysWhyNot) {
    ScratchFolder scratch("picture_seeds_files");
    const fs::path root = scratch.path / "pictures";
    fs::create_directories(root / "work" / "gif");
    std::ofstream(root / "work" / "gif" / "old-find") << "from an earlier run";
    const ProgramRun run = runTool(kTool, {root.string()}, scratch.path);
    EXPECT_EQ(run.exitCode, 0) << describe(run);
    EXPECT_EQ(run.out, "");
    for (const char* reader : {"jpeg", "pcx", "gif", "tga"}) {
        EXPECT_FALSE(fs::is_empty(root / "seeds" / reader)) << reader;
        EXPECT_TRUE(fs::is_empty(root / "work" / reader)) << reader;
    }
    // Under a file nothing can be made.
    const std::string file = (root / "seeds" / "gif" / "plain.gif").string();
    expectFailure(kTool, {file + "/more"}, "cannot make " + file + "/more/seeds/jpeg: Not a directory",
                  scratch.path);
}
