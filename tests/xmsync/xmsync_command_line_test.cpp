// xmsync's command line: its answers (it once took --help for a file name), and failures that
// name the file and the reason.
#include "endtoend/command_line_checks.h"

#include <fstream>

using namespace endtoend;

namespace {
const std::string kXmsync = "xmsync";
} // namespace

TEST(XmsyncCommandLine, AnswersHelpVersionAndUsageErrors) {
    ScratchFolder scratch("xmsync_usage");
    expectOneArgumentCommandLine(kXmsync, "FILE", scratch.path);
}

TEST(XmsyncCommandLine, NamesTheFileWithEveryFailure) {
    ScratchFolder scratch("xmsync_files");
    const std::string folder = scratch.path.string();
    expectFailure(kXmsync, {folder + "/missing.xm"}, folder + "/missing.xm: No such file or directory",
                  scratch.path);
    expectFailure(kXmsync, {folder}, folder + ": is a directory", scratch.path);
    std::ofstream(scratch.path / "text.xm") << "not a module";
    expectFailure(kXmsync, {folder + "/text.xm"}, "Invalid module file \"" + folder + "/text.xm\"",
                  scratch.path);

    const ProgramRun run =
        runTool(kXmsync, {(fs::path(HV_BIN_DIR) / "data" / "halcyver.xm").string()}, scratch.path);
    EXPECT_EQ(run.exitCode, 0) << describe(run);
    EXPECT_NE(run.out.find("sync commands; the show ends at"), std::string::npos) << describe(run);
}
