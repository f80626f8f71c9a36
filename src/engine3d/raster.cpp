#include "engine3d/raster.h"

#include <cmath>

namespace {

constexpr std::array<int32_t, kRasterHeight> rowOffsetTable() {
    std::array<int32_t, kRasterHeight> table{};
    for (int y = 0; y < kRasterHeight; ++y) table[y] = y * kRasterWidth;
    return table;
}

// 2^32, for reducing a value modulo the width of an int32 before converting it.
constexpr double kTwoTo32 = 4294967296.0;

} // namespace

std::array<int32_t, kRasterHeight> row_offsets = rowOffsetTable();

void row_offsets_init() {
    row_offsets = rowOffsetTable();
}

int32_t wrap_to_int32(double value) {
    if (!std::isfinite(value)) return 0;
    // fmod keeps the sign and is exact; its result lies below 2^32 in magnitude, which int64 holds.
    const double reduced = std::fmod(std::trunc(value), kTwoTo32);
    return int32_t(uint32_t(int64_t(reduced)));
}
