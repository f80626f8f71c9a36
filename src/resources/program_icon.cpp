#include "resources/program_icon.h"

std::vector<std::uint32_t> drawProgramIcon(int side) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(side) * side);
    // Distances are measured on the 32-pixel drawing: d2 is the squared distance from the centre
    // scaled to it, the rim at 16^2; a ring every 24 units of d2.
    constexpr int kRim = kProgramIconSide / 2 * (kProgramIconSide / 2);
    constexpr int kRingWidth = 24;
    const int centre = side / 2;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const int dx = x - centre, dy = y - centre;
            const int d2 = (dx * dx + dy * dy) * (kProgramIconSide * kProgramIconSide) / (side * side);
            std::uint32_t argb = 0;
            if (d2 < kRim) {
                const bool ring = (d2 / kRingWidth) & 1;
                const std::uint32_t depth = static_cast<std::uint32_t>(255 * d2 / kRim);
                const std::uint32_t r = ring ? depth : depth / 3;
                const std::uint32_t g = ring ? depth * 3 / 4 : depth / 4;
                const std::uint32_t b = ring ? 40 : 255 - depth / 2;
                argb = 0xff000000u | (r << 16) | (g << 8) | b;
            }
            pixels[static_cast<std::size_t>(y) * side + x] = argb;
        }
    }
    return pixels;
}
