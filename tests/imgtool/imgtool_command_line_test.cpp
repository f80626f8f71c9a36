// imgtool's command line: its answers, the order of its conversions, and failures that name the
// file and the reason before the picture library is asked.
#include "endtoend/command_line_checks.h"

#include <fstream>

using namespace endtoend;

namespace {
const std::string kImgtool = "imgtool";
} // namespace

TEST(ImgtoolCommandLine, AnswersHelpVersionAndUsageErrors) {
    ScratchFolder scratch("imgtool_usage");
    expectHelpAndVersion(kImgtool, "usage: imgtool [options] COMMAND FILE [OUT]", scratch.path);
    expectUsageError(kImgtool, {"info", "a.jpg", "--frobnicate"}, "unknown option --frobnicate",
                     scratch.path);
    expectUsageError(kImgtool, {"convert", "a.jpg", "b.jpg", "--scale", "0x5"},
                     "--scale 0x5: must be WIDTHxHEIGHT, each 1 to 65535", scratch.path);
    expectUsageError(kImgtool, {"convert", "a.jpg", "b.jpg", "--quality", "101"},
                     "--quality 101: must be 1 to 100", scratch.path);
    expectUsageError(kImgtool, {"resize", "a.jpg"}, "unknown command 'resize' (info, topnm or convert)",
                     scratch.path);
    expectUsageError(kImgtool, {"topnm", "a.jpg"}, "missing OUT", scratch.path);
    expectUsageError(kImgtool, {"info", "a.jpg", "--blur"}, "the conversions and --quality belong to convert",
                     scratch.path);
    expectUsageError(kImgtool, {"convert", "a.jpg", "b.txt"},
                     "OUT b.txt: must end in .jpg, .jpeg, .ppm or .pnm, or be -", scratch.path);
    // The help says which way each flip goes.
    const ProgramRun help = runTool(kImgtool, {"--help"}, scratch.path);
    EXPECT_NE(help.out.find("--flip-vertical mirrors left and right"), std::string::npos) << help.out;
}

TEST(ImgtoolCommandLine, MissingFilesFoldersAndUnwritableOutputsAreNamed) {
    ScratchFolder scratch("imgtool_files");
    const std::string folder = scratch.path.string();
    const std::string ppm = folder + "/dot.ppm";
    std::ofstream(ppm, std::ios::binary) << "P6\n1 1\n255\n" << std::string(3, '\x7f');
    expectFailure(kImgtool, {"info", folder + "/missing.jpg"},
                  folder + "/missing.jpg: No such file or directory", scratch.path);
    expectFailure(kImgtool, {"info", folder}, folder + ": is a directory", scratch.path);
    expectFailure(kImgtool, {"convert", ppm, folder + "/no/such/out.jpg"},
                  "cannot write " + folder + "/no/such/out.jpg: No such file or directory", scratch.path);
    fs::create_directory(scratch.path / "out.ppm");
    expectFailure(kImgtool, {"topnm", ppm, folder + "/out.ppm"},
                  "cannot write " + folder + "/out.ppm: is a directory", scratch.path);
}

TEST(ImgtoolCommandLine, ConversionsRunInTheOrderGivenAndTheFlipsGoTheLibrarysWay) {
    ScratchFolder scratch("imgtool_order");
    // Two by two: red, green on top; blue, white below.
    const std::string in = (scratch.path / "in.ppm").string();
    std::ofstream(in, std::ios::binary)
        << "P6\n2 2\n255\n"
        << std::string("\xff\x00\x00\x00\xff\x00\x00\x00\xff\xff\xff\xff", 12);
    const auto pixels = [&](const std::vector<std::string>& steps) {
        std::vector<std::string> args = {"convert", in, "-"};
        args.insert(args.end(), steps.begin(), steps.end());
        const ProgramRun run = runTool(kImgtool, args, scratch.path);
        EXPECT_EQ(run.exitCode, 0) << describe(run);
        return run.out.substr(std::string("P6\n2 2\n255\n").size());
    };
    // --flip-vertical mirrors left and right; --flip-horizontal turns upside down.
    EXPECT_EQ(pixels({"--flip-vertical"}),
              std::string("\x00\xff\x00\xff\x00\x00\xff\xff\xff\x00\x00\xff", 12));
    EXPECT_EQ(pixels({"--flip-horizontal"}),
              std::string("\x00\x00\xff\xff\xff\xff\xff\x00\x00\x00\xff\x00", 12));
    // Scaled to one pixel and back, the picture is its top-left pixel: which one that is depends on
    // whether the flip came first.
    const std::string red("\xff\x00\x00", 3), blue("\x00\x00\xff", 3);
    EXPECT_EQ(pixels({"--scale", "1x1", "--flip-horizontal", "--scale", "2x2"}), red + red + red + red);
    EXPECT_EQ(pixels({"--flip-horizontal", "--scale", "1x1", "--scale", "2x2"}), blue + blue + blue + blue);
}
