#include "engine3d/raster.h"

namespace {

constexpr std::array<int32_t, kScreenHeight> rowOffsetTable() {
    std::array<int32_t, kScreenHeight> table{};
    for (int y = 0; y < kScreenHeight; ++y) table[y] = y * kScreenWidth;
    return table;
}

} // namespace

std::array<int32_t, kScreenHeight> row_offsets = rowOffsetTable();

void row_offsets_init() {
    row_offsets = rowOffsetTable();
}
