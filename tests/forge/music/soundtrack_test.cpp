// The soundtrack file as other programs see it: reproducible, clean to load, same in a second player.
#include "forge/module_probe.h"
#include "forge/music/soundtrack.h"
#include "forge/test_files.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <regex>
#include <unistd.h>

using namespace forge;

namespace {

const std::string kSoundtrackPath = forge_test::kDataDir + "/" + kSoundtrackFileName;

std::vector<uint8_t> forgeSoundtrack(const std::string& dirName) {
    // Other builds may run this test at the same time: a folder of this process's own.
    const std::filesystem::path dir =
        std::filesystem::path(::testing::TempDir()) / (dirName + "_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    EXPECT_EQ(writeSoundtrack(dir.string()), "");
    std::vector<uint8_t> bytes = forge_test::readFile((dir / kSoundtrackFileName).string());
    std::filesystem::remove_all(dir);
    return bytes;
}

// Runs a command, collecting its standard output and error; false if it could not start.
bool runCommand(const std::string& command, std::string& output) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen((command + " 2>&1").c_str(), "r"), pclose);
    if (!pipe) return false;
    std::array<char, 256> buffer;
    while (fgets(buffer.data(), int(buffer.size()), pipe.get())) output += buffer.data();
    return true;
}

int fieldOf(const std::string& text, const std::string& label) {
    std::smatch m;
    if (!std::regex_search(text, m, std::regex(label + R"(\s*:\s*(\d+))"))) return -1;
    return std::stoi(m[1]);
}

} // namespace

TEST(Soundtrack, ASecondRunWritesTheSameBytesAsTheBuild) {
    const std::vector<uint8_t> again = forgeSoundtrack("forge_music_soundtrack");
    ASSERT_FALSE(again.empty());
    EXPECT_TRUE(forge_test::readFile(kSoundtrackPath) == again);
}

TEST(Soundtrack, LoadsWithoutWarningsAsASongOf64RowPatterns) {
    auto loaded = forgetest::loadModule(forge_test::readFile(kSoundtrackPath));
    openmpt::module& mod = *loaded->module;
    EXPECT_EQ(loaded->log.str(), "");
    EXPECT_GE(mod.get_num_channels(), 8);
    EXPECT_LE(mod.get_num_channels(), 16);
    for (int p = 0; p < mod.get_num_patterns(); ++p)
        EXPECT_EQ(mod.get_pattern_num_rows(p), 64) << "pattern " << p;
    // A pattern lasts 5 to 8 seconds: 64 rows of `speed` ticks, each 2.5 / tempo seconds.
    const double patternSeconds = 64.0 * mod.get_current_speed() * 2.5 / mod.get_current_tempo();
    EXPECT_GE(patternSeconds, 5.0);
    EXPECT_LE(patternSeconds, 8.0);
    // Instruments carry their samples, loops and envelopes: every sample has frames.
    EXPECT_GE(mod.get_num_instruments(), 8);
    for (const std::string& name : mod.get_sample_names()) EXPECT_FALSE(name.empty());
}

TEST(Soundtrack, AnIndependentPlayerLoadsTheSameSong) {
    std::string version;
    if (!runCommand("xmp --version", version) || version.find("Module Player") == std::string::npos)
        GTEST_SKIP() << "xmp is not installed";
    auto loaded = forgetest::loadModule(forge_test::readFile(kSoundtrackPath));
    std::string out;
    ASSERT_TRUE(runCommand("xmp --load-only " + kSoundtrackPath, out));
    EXPECT_EQ(out.find("rror"), std::string::npos) << out;
    EXPECT_EQ(out.find("Unrecognized"), std::string::npos) << out;
    EXPECT_EQ(fieldOf(out, "Channels"), loaded->module->get_num_channels()) << out;
    EXPECT_EQ(fieldOf(out, "Instruments"), loaded->module->get_num_instruments()) << out;
    EXPECT_EQ(fieldOf(out, "Samples"), loaded->module->get_num_samples()) << out;
    EXPECT_EQ(fieldOf(out, "Module length"), loaded->module->get_num_orders()) << out;
}
