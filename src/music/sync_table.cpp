#include "music/sync_table.h"

#include <libopenmpt/libopenmpt.hpp>

namespace {
// Matched by its formatted letter: the numeric code of an effect differs between formats.
constexpr const char* kSyncEffect = "W";
} // namespace

SyncTable::SyncTable(openmpt::module& module) {
    // Each pattern cell is formatted once: the order list may name a pattern thousands of times,
    // and formatting every visit made a small hostile module take seconds to load.
    const int patterns = module.get_num_patterns();
    const int channels = module.get_num_channels();
    std::vector<int> channelOf; // beside values: the channel of each sync command
    rowStart.resize(patterns);
    for (int p = 0; p < patterns; ++p) {
        const int rows = module.get_pattern_num_rows(p);
        std::vector<int>& starts = rowStart[p];
        starts.reserve(rows + 1);
        for (int r = 0; r < rows; ++r) {
            starts.push_back(static_cast<int>(values.size()));
            for (int c = 0; c < channels; ++c) {
                if (module.format_pattern_row_channel_command(p, r, c, openmpt::module::command_effect) ==
                    kSyncEffect) {
                    values.push_back(
                        module.get_pattern_row_channel_command(p, r, c, openmpt::module::command_parameter));
                    channelOf.push_back(c);
                }
            }
        }
        starts.push_back(static_cast<int>(values.size()));
    }

    const int orders = module.get_num_orders();
    for (int o = 0; o < orders; ++o) {
        const int p = module.get_order_pattern(o);
        if (p < 0 || p >= patterns) continue; // separator and end marks in the order list
        const std::vector<int>& starts = rowStart[p];
        for (int r = 0; r + 1 < static_cast<int>(starts.size()); ++r)
            for (int i = starts[r]; i < starts[r + 1]; ++i)
                songOrder.push_back({o, p, r, channelOf[i], values[i]});
    }
}

SyncTable::Values SyncTable::at(int pattern, int row) const {
    if (pattern < 0 || pattern >= static_cast<int>(rowStart.size())) return {nullptr, nullptr};
    const std::vector<int>& starts = rowStart[pattern];
    if (row < 0 || row + 1 >= static_cast<int>(starts.size())) return {nullptr, nullptr};
    const int* base = values.data();
    return {base + starts[row], base + starts[row + 1]};
}

bool SyncTable::contains(int value) const {
    for (int v : values)
        if (v == value) return true;
    return false;
}
