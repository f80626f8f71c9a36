// The show with a damaged data folder: each kind of file the show reads is removed or cut short
// in a copy of the folder beside a copy of the program. A missing or damaged picture, table, scene
// or module ends the show with its error message and exit code 1; a missing font leaves the text
// empty and the show goes on. Never a crash, never a hang.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "program_run.h"

using namespace endtoend;

namespace {

// What the loading screen's words look like in a show that goes on.
enum class Text { Shown, Empty, Irrelevant };

struct Damage {
    const char* name;
    std::function<void(const fs::path& data)> apply;
    int exitCode;
    const char* message; // expected in the program's output; empty: nothing in particular
    Text text = Text::Irrelevant;
};

void PrintTo(const Damage& damage, std::ostream* out) {
    *out << damage.name;
}

void cutTo(const fs::path& file, std::uintmax_t bytes) {
    fs::resize_file(file, bytes);
}
void cutToHalf(const fs::path& file) {
    fs::resize_file(file, fs::file_size(file) / 2);
}

// The loading screen's title card: where the font's words stand.
constexpr int kCardLeft = 80, kCardTop = 50, kCardRight = 240, kCardBottom = 150;
constexpr int kBlackLuma = 16;

// Whether the first frame of a 320x200 y4m has anything but black inside the title card.
bool cardHasText(const std::string& y4m) {
    const std::size_t frame = y4m.find("FRAME\n");
    if (frame == std::string::npos || y4m.size() < frame + 6 + 320 * 200) return false;
    const auto* luma = reinterpret_cast<const unsigned char*>(y4m.data() + frame + 6);
    for (int y = kCardTop; y < kCardBottom; ++y)
        for (int x = kCardLeft; x < kCardRight; ++x)
            if (luma[y * 320 + x] > kBlackLuma) return true;
    return false;
}

class DamagedData : public ::testing::TestWithParam<Damage> {};

} // namespace

TEST_P(DamagedData, EndsAsDesignedWithoutCrashOrHang) {
    const Damage& damage = GetParam();
    ScratchFolder scratch(damage.name);
    // The program reads data/ beside itself, so it runs from the scratch folder.
    const fs::path program = scratch.path / captureProgram().filename();
    std::error_code linked;
    fs::create_hard_link(captureProgram(), program, linked);
    if (linked) fs::copy_file(captureProgram(), program);
    fs::copy(fs::path(HV_BIN_DIR) / "data", scratch.path / "data", fs::copy_options::recursive);
    damage.apply(scratch.path / "data");

    const fs::path video = scratch.path / "frames.y4m";
    const ProgramRun run =
        runProgram(program, {"--fps", "5", "--seconds", "1", "--quiet", "--y4m", video.string()},
                   scratch.path, std::chrono::seconds(300));
    ASSERT_TRUE(run.exited) << describe(run);
    EXPECT_EQ(run.exitCode, damage.exitCode) << describe(run);
    if (*damage.message) {
        // Scene errors are printed on standard output, the boxes on standard error.
        EXPECT_NE((run.out + run.err).find(damage.message), std::string::npos) << describe(run);
    }
    if (damage.text != Text::Irrelevant) {
        EXPECT_EQ(cardHasText(readText(video)), damage.text == Text::Shown);
    }
    // A failed show leaves no file behind, also when it ends from deep inside through exit().
    if (damage.exitCode != 0) {
        EXPECT_FALSE(fs::exists(video));
        EXPECT_FALSE(fs::exists(video.string() + ".partial"));
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    EachKindOfFile, DamagedData,
    ::testing::Values(
        Damage{"intact", [](const fs::path&) {}, 0, "", Text::Shown},
        Damage{"picture_missing", [](const fs::path& d) { fs::remove(d / "320girl2.jpg"); }, 1,
               "BGL error!: JPG: File not found"},
        Damage{"picture_cut_in_its_header", [](const fs::path& d) { cutTo(d / "320girl2.jpg", 100); }, 1,
               "BGL error!: JPG: Unsupported file format"},
        // The JPEG library warns and fills in the rest: a damaged picture, not a failure.
        Damage{"picture_cut_in_its_pixels", [](const fs::path& d) { cutToHalf(d / "320girl2.jpg"); }, 0,
               "Premature end of JPEG file", Text::Shown},
        Damage{"pcx_cut_in_its_header", [](const fs::path& d) { cutTo(d / "zklogo.pcx", 60); }, 1,
               "BGL error!: PCX: Cannot read header"},
        Damage{"pcx_cut_in_its_pixels", [](const fs::path& d) { cutToHalf(d / "zklogo.pcx"); }, 0, "", Text::Shown},
        Damage{"font_missing", [](const fs::path& d) { fs::remove(d / "rel2.aff"); }, 0, "", Text::Empty},
        // The glyphs that survive still draw.
        Damage{"font_cut_short", [](const fs::path& d) { cutToHalf(d / "rel2.aff"); }, 0, "", Text::Shown},
        Damage{"font_cut_in_its_header", [](const fs::path& d) { cutTo(d / "rel2.aff", 500); }, 0, "", Text::Empty},
        Damage{"table_missing", [](const fs::path& d) { fs::remove(d / "wormtab.dat"); }, 1,
               "BGL error!: could not open the tunnel table data/wormtab.dat"},
        Damage{"table_cut_short", [](const fs::path& d) { cutToHalf(d / "wormtab.dat"); }, 1,
               "BGL error!: the tunnel table data/wormtab.dat is shorter than 128000 bytes"},
        Damage{"scene_missing", [](const fs::path& d) { fs::remove(d / "zelka2.3ds"); }, 1,
               "could not open the 3ds file"},
        Damage{"scene_cut_short", [](const fs::path& d) { cutToHalf(d / "zelka2.3ds"); }, 1,
               "this is not a valid .3ds file"},
        Damage{"scene_cut_in_its_header", [](const fs::path& d) { cutTo(d / "metaxp4.3ds", 3); }, 1,
               "this is not a valid .3ds file"},
        Damage{"module_missing", [](const fs::path& d) { fs::remove(d / "halcyver.xm"); }, 1,
               "MIDAS Error: Unable to open file \"data/halcyver.xm\""},
        Damage{"module_cut_short", [](const fs::path& d) { cutToHalf(d / "halcyver.xm"); }, 1,
               "MIDAS Error: Invalid module file \"data/halcyver.xm\": the file is cut short"},
        Damage{"module_cut_in_its_header", [](const fs::path& d) { cutTo(d / "halcyver.xm", 200); }, 1,
               "MIDAS Error: Invalid module file \"data/halcyver.xm\""}),
    [](const ::testing::TestParamInfo<Damage>& info) { return std::string(info.param.name); });
// clang-format on
