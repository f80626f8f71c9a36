#pragma once
// The one 8x8 interpolating walker behind every lit block renderer. Each block of the 320x200
// screen is filled from its four corner records: the five values are stepped linearly down the
// block's left and right edges and across each row in fixed point, the texel is looked up at the
// stepped texture position (wrapping every 256 texels) and lit channel by channel; a small write
// operation decides what the lit colour does to the destination pixel.
#include <algorithm>
#include <cstdint>

#include "render2d/grid_corner.h"
#include "render2d/pixel.h"

// The five corner values while they are stepped. Texture coordinates wrap modulo 2^32 as the
// fixed point means them, so all five step in unsigned arithmetic (no signed overflow).
struct BlockValues {
    std::uint32_t along;
    std::uint32_t around;
    std::uint32_t red;
    std::uint32_t green;
    std::uint32_t blue;

    static BlockValues of(const GridCorner& c) {
        return {static_cast<std::uint32_t>(c.along), static_cast<std::uint32_t>(c.around),
                static_cast<std::uint32_t>(c.lightRed), static_cast<std::uint32_t>(c.lightGreen),
                static_cast<std::uint32_t>(c.lightBlue)};
    }
    // One eighth of the way from a to b: (b - a) >> 3, an arithmetic shift of the wrapped difference.
    static std::uint32_t eighth(std::uint32_t from, std::uint32_t to) {
        return static_cast<std::uint32_t>(static_cast<std::int32_t>(to - from) >> kGridBlockShift);
    }
    static BlockValues stepBetween(const BlockValues& a, const BlockValues& b) {
        return {eighth(a.along, b.along), eighth(a.around, b.around), eighth(a.red, b.red),
                eighth(a.green, b.green), eighth(a.blue, b.blue)};
    }
    void advance(const BlockValues& step) {
        along += step.along;
        around += step.around;
        red += step.red;
        green += step.green;
        blue += step.blue;
    }
};

// A block's left and right edges (the corner values down its first and last column), stepped one
// row at a time from the top corners to the bottom ones.
struct BlockEdges {
    BlockValues left;
    BlockValues right;
    BlockValues leftStep;
    BlockValues rightStep;

    static BlockEdges of(const GridCorner* topLeft) {
        const GridCorner* bottomLeft = topLeft + kGridColumns;
        const BlockValues left = BlockValues::of(topLeft[0]);
        const BlockValues right = BlockValues::of(topLeft[1]);
        return {left, right, BlockValues::stepBetween(left, BlockValues::of(bottomLeft[0])),
                BlockValues::stepBetween(right, BlockValues::of(bottomLeft[1]))};
    }
    void advance() {
        left.advance(leftStep);
        right.advance(rightStep);
    }
};

// (light x texel byte) >> 16. The arithmetic-shift steps can take a light factor a few units
// below its smallest corner value, so a factor near 0 may dip under it: such a product is held
// at 0 instead of wrapping to a bright byte. The product is taken in 64 bits, so corners far
// outside the light range saturate instead of overflowing.
inline int litChannel(std::uint32_t light, int texelByte) {
    const std::int64_t lit = (std::int64_t{static_cast<std::int32_t>(light)} * texelByte) >> kLitShift;
    return static_cast<int>(std::clamp<std::int64_t>(lit, 0, 255));
}

// write(Pixel& destination, int pixelIndex, int red, int green, int blue) for every pixel of the
// block whose top-left corner record is topLeft and whose top-left pixel is pixel number
// firstPixel of dst; pixelIndex counts from dst, row by row (pitch 320).
template <class WriteOp>
void walkGridBlock(const GridCorner* topLeft, const Pixel* texture, Pixel* dst, int firstPixel,
                   WriteOp write) {
    BlockEdges edges = BlockEdges::of(topLeft);
    int rowStart = firstPixel;
    for (int y = 0; y < kGridBlockSize; ++y, rowStart += kScreenWidth) {
        BlockValues cur = edges.left;
        const BlockValues step = BlockValues::stepBetween(edges.left, edges.right);
        Pixel* out = dst + rowStart;
        for (int x = 0; x < kGridBlockSize; ++x) {
            const std::uint32_t row = (cur.around >> kFracBits) & kGridTextureMask;
            const std::uint32_t column = (cur.along >> kFracBits) & kGridTextureMask;
            const Pixel texel = texture[row * kTextureSide + column];
            write(out[x], rowStart + x, litChannel(cur.red, redOf(texel)),
                  litChannel(cur.green, greenOf(texel)), litChannel(cur.blue, blueOf(texel)));
            cur.advance(step);
        }
        edges.advance();
    }
}

// The pixel number of the top-left pixel of block (bx, by).
constexpr int gridBlockFirstPixel(int bx, int by) {
    return (by * kGridBlockSize) * kScreenWidth + bx * kGridBlockSize;
}

// Every block of the screen, one at a time (the plain walk; grid_blocks_wide.h has the fast one).
template <class WriteOp>
void walkGridBlocks(const GridCorners& corners, const Pixel* texture, Pixel* dst, WriteOp write) {
    for (int by = 0; by < kGridBlockRows; ++by)
        for (int bx = 0; bx < kGridBlockColumns; ++bx)
            walkGridBlock(&corners[by * kGridColumns + bx], texture, dst, gridBlockFirstPixel(bx, by), write);
}

// The three writes. Each keeps the destination's fourth byte.

// d = lit
struct LitWrite {
    void operator()(Pixel& d, int, int red, int green, int blue) const {
        d = (d & kFourthByteMask) | makePixel(red, green, blue);
    }
};

// d = min(d + lit, 255)
struct LitAddWrite {
    void operator()(Pixel& d, int, int red, int green, int blue) const {
        d = (d & kFourthByteMask) |
            makePixel(std::min(redOf(d) + red, kChannelMax), std::min(greenOf(d) + green, kChannelMax),
                      std::min(blueOf(d) + blue, kChannelMax));
    }
};

// The destination holds a mask in its blue byte: 255 shows the lit texture, 0 the background
// pixel at the same place, values between mix the two in 256ths.
struct LitMaskedWrite {
    const Pixel* background;

    static int mixChannel(int mask, int lit, int back) {
        return (mask * lit + (kChannelMax - mask) * back) >> 8;
    }
    void operator()(Pixel& d, int index, int red, int green, int blue) const {
        const int mask = blueOf(d);
        const Pixel keep = d & kFourthByteMask;
        if (mask == kChannelMax) {
            d = keep | makePixel(red, green, blue);
        } else if (mask == 0) {
            d = keep | (background[index] & kColourMask);
        } else {
            const Pixel back = background[index];
            d = keep | makePixel(mixChannel(mask, red, redOf(back)), mixChannel(mask, green, greenOf(back)),
                                 mixChannel(mask, blue, blueOf(back)));
        }
    }
};
