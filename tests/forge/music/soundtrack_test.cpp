#include "forge/module_probe.h"
#include "forge/music/soundtrack.h"
#include "forge/music/sync_schedule.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace forge;

namespace {

std::vector<uint8_t> forgeSoundtrack(const std::string& dirName) {
    const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / dirName;
    std::filesystem::create_directories(dir);
    EXPECT_EQ(writeSoundtrack(dir.string()), "");
    std::ifstream file(dir / kSoundtrackFileName, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::filesystem::remove_all(dir);
    return bytes;
}

} // namespace

TEST(Soundtrack, TwoRunsWriteIdenticalBytesThatLoadCleanly) {
    const std::vector<uint8_t> first = forgeSoundtrack("soundtrack_a");
    const std::vector<uint8_t> second = forgeSoundtrack("soundtrack_b");
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first, second);
    auto loaded = forgetest::loadModule(first);
    EXPECT_EQ(loaded->log.str(), "");
    EXPECT_EQ(loaded->module->get_num_orders(), showOrderCount());
    for (int p = 0; p < loaded->module->get_num_patterns(); ++p)
        EXPECT_EQ(loaded->module->get_pattern_num_rows(p), kPatternRows);
}

TEST(Soundtrack, SyncCommandsFollowTheScheduleInOrderPositions) {
    auto loaded = forgetest::loadModule(forgeSoundtrack("soundtrack_sync"));
    openmpt::module& mod = *loaded->module;
    std::vector<SyncEvent> found;
    for (int order = 0; order < mod.get_num_orders(); ++order) {
        const int p = mod.get_order_pattern(order);
        for (int row = 0; row < mod.get_pattern_num_rows(p); ++row)
            for (int ch = 0; ch < mod.get_num_channels(); ++ch)
                if (mod.format_pattern_row_channel_command(p, row, ch, openmpt::module::command_effect) ==
                    "W")
                    found.push_back({order, row,
                                     mod.get_pattern_row_channel_command(
                                         p, row, ch, openmpt::module::command_parameter)});
    }
    const std::vector<SyncEvent> expected = showSyncSchedule();
    ASSERT_EQ(found.size(), expected.size());
    for (size_t i = 0; i < found.size(); ++i) {
        EXPECT_EQ(found[i].order, expected[i].order) << "sync " << i;
        EXPECT_EQ(found[i].row, expected[i].row) << "sync " << i;
        EXPECT_EQ(found[i].value, expected[i].value) << "sync " << i;
    }
    EXPECT_EQ(found.front().value, kSyncOpening);
    EXPECT_EQ(found.back().value, kSyncEnd);
}
