// 3dsinfo's command line: its answers, and failures that name the file before the reader's own
// message (the reader once said only "could not open the 3ds file").
#include "endtoend/command_line_checks.h"

#include <fstream>

using namespace endtoend;

namespace {
const std::string k3dsinfo = "3dsinfo";
} // namespace

TEST(ThreeDsInfoCommandLine, AnswersHelpVersionAndUsageErrors) {
    ScratchFolder scratch("3dsinfo_usage");
    expectOneArgumentCommandLine(k3dsinfo, "FILE", scratch.path);
}

TEST(ThreeDsInfoCommandLine, NamesTheFileWithEveryFailure) {
    ScratchFolder scratch("3dsinfo_files");
    const std::string folder = scratch.path.string();
    expectFailure(k3dsinfo, {folder + "/missing.3ds"}, folder + "/missing.3ds: No such file or directory",
                  scratch.path);
    expectFailure(k3dsinfo, {folder}, folder + ": is a directory", scratch.path);
    std::ofstream(scratch.path / "text.3ds") << "not a scene";
    expectFailure(k3dsinfo, {folder + "/text.3ds"}, folder + "/text.3ds: this is not a valid .3ds file",
                  scratch.path);

    const ProgramRun run =
        runTool(k3dsinfo, {(fs::path(HV_BIN_DIR) / "data" / "metaxp4.3ds").string()}, scratch.path);
    EXPECT_EQ(run.exitCode, 0) << describe(run);
    EXPECT_EQ(run.out.rfind("segment: frames ", 0), 0u) << describe(run);
}
