// imgtool from the outside: its facts, its PPM output and its failures. Tests run in bin/,
// beside the program.
#include "forge/common/write_file.h"
#include "forge/pcx/pcx_encoder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "endtoend/program_run.h"

namespace {

using endtoend::ProgramRun;

std::string scratch(const std::string& name) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("hv-imgtool-" + std::to_string(endtoend::processId()));
    std::filesystem::create_directories(dir);
    return (dir / name).string();
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// imgtool with `arguments` (words split at spaces).
ProgramRun imgtool(const std::string& arguments) {
    std::vector<std::string> words;
    std::istringstream split(arguments);
    for (std::string word; split >> word;) words.push_back(word);
    return endtoend::runProgram(endtoend::builtProgram("imgtool"), words, scratch(""),
                                std::chrono::seconds(60));
}

std::string pcxWithGradient(int width, int height) {
    std::vector<uint8_t> rgb(size_t(width) * height * 3);
    for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = uint8_t(i * 5);
    const std::string path = scratch("gradient.pcx");
    EXPECT_EQ(forge::writeFile(path, forge::encodePcx24(width, height, rgb.data())), "");
    return path;
}

} // namespace

TEST(ImgtoolTest, InfoAndPpmOnStandardOutput) {
    const std::string pcx = pcxWithGradient(7, 3);
    const ProgramRun info = imgtool("info " + pcx);
    EXPECT_EQ(info.exitCode, 0) << info.err;
    EXPECT_EQ(endtoend::asText(info.out), "width 7\nheight 3\ndepth 24\npalette 0\n");

    // The PPM stream carries nothing but the picture, even with the library's lines on.
    const ProgramRun ppm = imgtool("topnm " + pcx + " - --verbose");
    EXPECT_EQ(ppm.exitCode, 0);
    ASSERT_EQ(ppm.out.size(), std::string("P6\n7 3\n255\n").size() + 7 * 3 * 3);
    EXPECT_EQ(ppm.out.substr(0, 11), "P6\n7 3\n255\n");
    EXPECT_EQ(uint8_t(ppm.out[11 + 3]), 15);
}

TEST(ImgtoolTest, ConvertWritesByEndingInOptionOrder) {
    const std::string pcx = pcxWithGradient(16, 8);
    const std::string jpg = scratch("out.jpg"), ppm = scratch("out.ppm");
    ProgramRun run = imgtool("convert " + pcx + " " + jpg + " --32bit --scale 8x4 --tile --quality 90");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(slurp(jpg).substr(0, 2), "\xFF\xD8");
    run = imgtool("convert " + pcx + " " + ppm + " --gray --scale 4x2");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(slurp(ppm).substr(0, 11), "P6\n4 2\n255\n");
}

TEST(ImgtoolTest, FailuresPrintTheErrorTrailAndExitOne) {
    const std::string fake = scratch("fake.jpg");
    std::ofstream(fake) << "plain text";
    ProgramRun run = imgtool("topnm " + fake + " -");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "imgtool: " + fake + ": JPG: Unsupported file format\n");

    // The whole trail, oldest first.
    const std::string tga = scratch("odd.tga");
    EXPECT_EQ(forge::writeFile(tga, {0, 0, 32, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 24, 0, 1, 2, 3}), "");
    run = imgtool("info " + tga);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "imgtool: " + tga + ": TGA: unrecognized image type\nimgtool: " + tga +
                           ": TGA: Couldn't read imagedata\n");
}

TEST(ImgtoolTest, ReadsBackItsOwnPpmAndRefusesAnyOtherKind) {
    const std::string pcx = pcxWithGradient(6, 4);
    const std::string ppm = scratch("round.ppm"), again = scratch("again.ppm");
    ASSERT_EQ(imgtool("topnm " + pcx + " " + ppm).exitCode, 0);
    ProgramRun run = imgtool("info " + ppm);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(endtoend::asText(run.out), "width 6\nheight 4\ndepth 24\npalette 0\n");
    // Read and written again, the same bytes; and a comment in the header is no obstacle.
    ASSERT_EQ(imgtool("convert " + ppm + " " + again).exitCode, 0);
    EXPECT_EQ(slurp(again), slurp(ppm));
    const std::string commented = scratch("commented.ppm");
    std::ofstream(commented, std::ios::binary) << "P6\n# made by hand\n2 1 # two pixels\n255\n"
                                               << std::string(6, 'A');
    run = imgtool("topnm " + commented + " -");
    EXPECT_EQ(run.out, "P6\n2 1\n255\n" + std::string(6, 'A'));

    const std::vector<std::pair<std::string, std::string>> refused = {
        {"P3\n1 1\n255\n0 0 0\n", "PPM: Not a binary PPM (P6) file"},
        {"P6\n2 2\n65535\n", "PPM: Only 8-bit PPM (maximum value 255) is read"},
        {"P6\n4 4\n255\nabc", "PPM: File is cut short"},
        {"P6\n70000 1\n255\n", "PPM: Bad header"},
        {"P6\n0 5\n255\n", "PPM: Empty picture"},
    };
    for (const auto& [bytes, message] : refused) {
        const std::string bad = scratch("bad.ppm");
        std::ofstream(bad, std::ios::binary) << bytes;
        run = imgtool("info " + bad);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, "imgtool: " + bad + ": " + message + "\n");
    }
}
