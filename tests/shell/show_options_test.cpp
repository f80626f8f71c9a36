// The show's command line: what each option sets, the errors, and the start point's check
// against the music's own schedule. (The parser's general rules are tested in tests/core.)
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <unistd.h>
#include <vector>

#include "core/command_line.h"
#include "music/sync_table.h"
#include "music/test_modules.h"
#include "shell/show_options.h"

namespace fs = std::filesystem;

namespace {

std::string contents(std::FILE* f) {
    std::string text;
    std::rewind(f);
    for (int c; (c = std::fgetc(f)) != EOF;) text += char(c);
    std::fclose(f);
    return text;
}

struct Parsed {
    int code;
    ShowOptions options;
    std::string out, err;
};

Parsed parse(std::initializer_list<const char*> args) {
    std::vector<const char*> argv{"halcyonvectrum"};
    argv.insert(argv.end(), args);
    Parsed p;
    std::FILE* o = std::tmpfile();
    std::FILE* e = std::tmpfile();
    p.code = parseShowOptions(int(argv.size()), argv.data(), p.options, o, e);
    p.out = contents(o);
    p.err = contents(e);
    return p;
}

int lines(const std::string& text) {
    int n = 0;
    for (char c : text) n += c == '\n';
    return n;
}

} // namespace

TEST(ShowOptions, APlainStartAsksAndEveryOptionSetsItsPart) {
    const Parsed plain = parse({});
    EXPECT_EQ(plain.code, CommandLine::kGoOn);
    EXPECT_EQ(plain.options.display, DisplayChoice::Ask);
    EXPECT_EQ(plain.options.scaler, Scaler::Sharp);
    EXPECT_EQ(plain.options.stepsPerSecond, kShowStepsPerSecond);
    EXPECT_LT(plain.options.startSync, 0);
    EXPECT_LT(plain.options.startSeconds, 0.0);
    EXPECT_FALSE(plain.options.mute);

    const Parsed all =
        parse({"--window", "--start-sync", "32", "--scaler", "nearest", "--fps", "0", "--mute"});
    EXPECT_EQ(all.code, CommandLine::kGoOn) << all.err;
    EXPECT_EQ(all.options.display, DisplayChoice::Window);
    EXPECT_EQ(all.options.startSync, 32);
    EXPECT_EQ(all.options.scaler, Scaler::Nearest);
    EXPECT_EQ(all.options.stepsPerSecond, 0);
    EXPECT_TRUE(all.options.mute);

    const Parsed other = parse({"--fullscreen", "--start-time=95.5", "--scaler=smooth", "--fps", "144"});
    EXPECT_EQ(other.code, CommandLine::kGoOn) << other.err;
    EXPECT_EQ(other.options.display, DisplayChoice::FullScreen);
    EXPECT_DOUBLE_EQ(other.options.startSeconds, 95.5);
    EXPECT_EQ(other.options.scaler, Scaler::Smooth);
    EXPECT_EQ(other.options.stepsPerSecond, 144);

    const Parsed help = parse({"--help"});
    EXPECT_EQ(help.code, 0);
    for (const char* option : {"--window", "--fullscreen", "--start-sync", "--start-time", "--scaler",
                               "--fps", "--mute", "--version", "Alt+Enter"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    EXPECT_EQ(parse({"--version"}).code, 0);
}

TEST(ShowOptions, ABadOptionOrValueIsOneLineNamingItThenTheUsageAndCodeTwo) {
    const std::vector<std::pair<std::vector<const char*>, const char*>> cases = {
        {{"--windowed"}, "--windowed"},
        {{"--scaler", "bilinear"}, "--scaler bilinear"},
        {{"--fps", "-1"}, "--fps -1"},
        {{"--fps", "sixty"}, "--fps sixty"},
        {{"--start-sync", "0"}, "--start-sync 0"},
        {{"--start-sync", "256"}, "--start-sync 256"},
        {{"--start-time", "-3"}, "--start-time -3"},
        {{"--start-time"}, "--start-time"},
        {{"--mute=yes"}, "--mute"},
        {{"--window", "--fullscreen"}, "--window and --fullscreen"},
        {{"--start-sync", "32", "--start-time", "10"}, "--start-sync and --start-time"},
        {{"data/halcyver.xm"}, "data/halcyver.xm"},
    };
    for (const auto& [args, named] : cases) {
        std::vector<const char*> argv{"halcyonvectrum"};
        argv.insert(argv.end(), args.begin(), args.end());
        ShowOptions options;
        std::FILE* o = std::tmpfile();
        std::FILE* e = std::tmpfile();
        const int code = parseShowOptions(int(argv.size()), argv.data(), options, o, e);
        const std::string out = contents(o), err = contents(e);
        EXPECT_EQ(code, 2) << named;
        EXPECT_TRUE(out.empty()) << named;
        EXPECT_EQ(lines(err), 2) << err;
        EXPECT_EQ(err.rfind("halcyonvectrum: ", 0), 0u) << err;
        EXPECT_NE(err.find(named), std::string::npos) << err;
        EXPECT_NE(err.find("\nusage: halcyonvectrum [options]"), std::string::npos) << err;
    }
}

TEST(ShowOptions, TheStartPointComesFromTheMusicsOwnSchedule) {
    using namespace playertest;
    // Sync 32 on row 1 of the second pattern, the end marker on its row 4 (rows of 0.12 s).
    const fs::path path = fs::temp_directory_path() / ("hv_start_" + std::to_string(::getpid()) + ".xm");
    const std::vector<std::uint8_t> bytes =
        encode(makeModule({{syncAt(0, 2)}, {syncAt(1, 32), syncAt(4, kEndOfShowSync)}}, {0, 1}));
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));

    struct Case {
        int sync;
        double seconds;
        int code;
        double start;
        const char* says;
    };
    const Case cases[] = {
        {-1, -1.0, CommandLine::kGoOn, 0.0, ""},  // no start point asked for
        {32, -1.0, CommandLine::kGoOn, 1.08, ""}, // 8 rows, then 1
        {2, -1.0, CommandLine::kGoOn, 0.0, ""},   // the very start
        {-1, 0.5, CommandLine::kGoOn, 0.5, ""},
        {99, -1.0, 2, 0.0, "--start-sync 99: the music has no sync value 99"},
        {kEndOfShowSync, -1.0, 2, 0.0, "the show ends before it, at 1.4 seconds"},
        {-1, 1.5, 2, 0.0, "--start-time 1.5: the show ends at 1.4 seconds"},
    };
    for (const Case& c : cases) {
        ShowOptions options;
        options.startSync = c.sync;
        options.startSeconds = c.seconds;
        double start = -1.0;
        std::FILE* e = std::tmpfile();
        EXPECT_EQ(findStartSeconds(options, path.string(), start, e), c.code) << c.sync << " " << c.seconds;
        const std::string err = contents(e);
        EXPECT_NEAR(start, c.start, 1e-6) << c.sync << " " << c.seconds;
        EXPECT_NE(err.find(c.says), std::string::npos) << err;
        if (c.code == 2) {
            EXPECT_NE(err.find("usage: halcyonvectrum"), std::string::npos) << err;
        }
    }

    // A module that cannot be read is the show's to report, in its own box.
    ShowOptions options;
    options.startSync = 32;
    double start = -1.0;
    EXPECT_EQ(findStartSeconds(options, "no/such/module.xm", start), CommandLine::kGoOn);
    EXPECT_EQ(start, 0.0);
    fs::remove(path);
}
