// halcyon-forge's command line: its answers, its contact sheet in either format, and failures that
// name the folder or file and the reason.
#include "endtoend/command_line_checks.h"

using namespace endtoend;

namespace {
const std::string kForge = "halcyon-forge";
} // namespace

TEST(ForgeCommandLine, AnswersHelpVersionAndUsageErrors) {
    ScratchFolder scratch("forge_usage");
    expectHelpAndVersion(kForge, "usage: halcyon-forge [options] DIR", scratch.path);
    expectUsageError(kForge, {"--frobnicate", "x"}, "unknown option --frobnicate", scratch.path);
    expectUsageError(kForge, {}, "missing DIR", scratch.path);
    expectUsageError(kForge, {"--contact-sheet", "sheet.gif", "data"},
                     "--contact-sheet sheet.gif: must end in .jpg, .jpeg or .png", scratch.path);
    expectUsageError(kForge, {"a", "b"}, "unexpected argument 'b'", scratch.path);
    // "--help" is never taken for a folder.
    EXPECT_FALSE(fs::exists(scratch.path / "--help"));
}

TEST(ForgeCommandLine, ContactSheetByEndingAndFailuresThatNameTheirFile) {
    ScratchFolder scratch("forge_sheet");
    const std::string data = (fs::path(HV_BIN_DIR) / "data").string();
    const fs::path png = scratch.path / "sheet.png";
    ProgramRun run = runTool(kForge, {"--contact-sheet", png.string(), data}, scratch.path);
    EXPECT_EQ(run.exitCode, 0) << describe(run);
    EXPECT_EQ(readText(png).substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_EQ(run.out, ""); // the picture library keeps quiet

    const std::string folder = scratch.path.string();
    expectFailure(kForge, {"--contact-sheet", png.string(), folder + "/missing"},
                  folder + "/missing: No such file or directory", scratch.path);
    expectFailure(kForge, {"--contact-sheet", png.string(), png.string()}, png.string() + ": Not a directory",
                  scratch.path);
    expectFailure(kForge, {"--contact-sheet", folder + "/no/such/sheet.jpg", data},
                  "cannot write " + folder + "/no/such/sheet.jpg: No such file or directory", scratch.path);
    fs::create_directory(scratch.path / "folder.png");
    expectFailure(kForge, {"--contact-sheet", folder + "/folder.png", data},
                  "cannot write " + folder + "/folder.png: is a directory", scratch.path);
    // The content folder cannot be made under a file.
    expectFailure(kForge, {png.string() + "/data"}, "cannot create " + png.string() + "/data", scratch.path);
}
