// A module cut short anywhere is refused with the music error, not played with what survived.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "music/module_player.h"
#include "music/xm_extent.h"

namespace {

std::vector<std::uint8_t> soundtrack() {
    std::ifstream in("data/halcyver.xm", std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

} // namespace

TEST(XmExtent, TheSoundtrackReachesExactlyItsEndAndEveryCutIsRefused) {
    const std::vector<std::uint8_t> whole = soundtrack();
    ASSERT_GT(whole.size(), 100000u);
    const auto extent = xmDeclaredExtent(whole.data(), whole.size());
    ASSERT_TRUE(extent.has_value());
    EXPECT_EQ(*extent, whole.size());

    ModulePlayer player;
    std::string error;
    // Inside the song header, the patterns, the instrument headers and the samples; one byte short.
    for (std::size_t cut :
         {std::size_t(70), std::size_t(400), whole.size() / 4, whole.size() / 2, whole.size() - 1}) {
        std::vector<std::uint8_t> part(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut));
        EXPECT_FALSE(player.loadFromMemory(part, "data/halcyver.xm", error)) << cut;
        EXPECT_NE(error.find("Invalid module file \"data/halcyver.xm\""), std::string::npos) << cut << error;
        EXPECT_FALSE(player.loaded());
    }
    // Bytes after the end (other trackers' extra chunks) are no damage.
    std::vector<std::uint8_t> longer = whole;
    longer.insert(longer.end(), 64, 'x');
    EXPECT_TRUE(player.loadFromMemory(longer, "data/halcyver.xm", error)) << error;

    // Not an XM, or another layout version: left to the module library.
    const std::uint8_t text[] = "not a module at all";
    EXPECT_FALSE(xmDeclaredExtent(text, sizeof text).has_value());
    std::vector<std::uint8_t> older = whole;
    older[58] = 0x02;
    EXPECT_FALSE(xmDeclaredExtent(older.data(), older.size()).has_value());
}
