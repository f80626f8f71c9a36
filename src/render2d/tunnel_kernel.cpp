#include "render2d/tunnel_kernel.h"

#include "render2d/tunnel_table.h"

void drawTunnelBackground(Pixel* dst, const std::uint16_t* table, const Pixel* texture, unsigned offset) {
    // Texel numbers wrap at 65,536 as a whole, not at a texture edge: the borrow of a column
    // step passes into the row.
    constexpr unsigned kTexelMask = kTextureTexels - 1;
    for (int i = 0; i < kScreenPixels; ++i) {
        const Pixel texel = texture[(table[i] + offset) & kTexelMask];
        dst[i] = (dst[i] & kFourthByteMask) | (texel & kColourMask);
    }
}
