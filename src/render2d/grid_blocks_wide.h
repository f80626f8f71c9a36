#pragma once
// The lit block walker four pixels at a time where SSE2 is available: the same frame as
// walkGridBlocks (grid_blocks.h), bit for bit. Texture positions and light factors step in
// 32-bit arithmetic exactly as the plain walk steps them; each pixel's three light factors share
// one register.
//
// Why 16-bit products suffice: a block whose four corner light factors lie in 0..65535 keeps
// every stepped factor within -12..65535 (an arithmetic-shift step undershoots its end by less
// than 7, once down each edge and once across a row: kLightUndershoot in all). There
// (factor x byte) >> 16, held at 0, is the high half of the unsigned 16-bit product of
// max(factor, 0) and the byte; in blocks whose corners are all at least 12 (bright blocks) no
// factor goes below 0 and 16-bit arithmetic steps them exactly. Blocks with any other corner
// factor are walked by the plain walk.
#include "render2d/grid_blocks.h"

#if defined(__SSE2__)
#include <emmintrin.h>

namespace grid_wide {

constexpr std::int32_t kShortLightMax = 0xFFFF;
constexpr int kLanes = 4;
static_assert(kGridBlockSize == 2 * kLanes, "a block row is two groups of four pixels");

// The most a stepped light factor falls below the smallest of its block's corners.
constexpr std::int32_t kLightUndershoot = 12;

inline bool shortLights(const GridCorner& c) {
    const auto inRange = [](std::int32_t v) { return v >= 0 && v <= kShortLightMax; };
    return inRange(c.lightRed) && inRange(c.lightGreen) && inRange(c.lightBlue);
}

// No factor of the block can step below 0.
inline bool brightLights(const GridCorner& c) {
    return c.lightRed >= kLightUndershoot && c.lightGreen >= kLightUndershoot &&
           c.lightBlue >= kLightUndershoot;
}

inline __m128i load(const Pixel* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline void store(Pixel* p, __m128i v) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}

// The light factors of a corner record as lanes (blue, green, red, 0).
inline __m128i factors(const GridCorner& c) {
    return _mm_set_epi32(0, c.lightRed, c.lightGreen, c.lightBlue);
}

// One eighth of the way from a to b in each lane, as BlockValues::eighth takes it.
inline __m128i eighth(__m128i from, __m128i to) {
    return _mm_srai_epi32(_mm_sub_epi32(to, from), kGridBlockShift);
}

// One lit pixel in lanes (blue, green, red, 0): (max(factor, 0) x byte) >> 16 per channel, the
// high half of a 16-bit product as the factors stay within 65535.
inline __m128i litLanes(__m128i factor, Pixel texel) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i positive = _mm_andnot_si128(_mm_srai_epi32(factor, 31), factor);
    const __m128i bytes =
        _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(texel)), zero), zero);
    return _mm_mulhi_epu16(positive, bytes);
}

// The low halves of the four 32-bit lanes, in the low four 16-bit lanes.
inline __m128i low16(__m128i v) {
    const __m128i halves =
        _mm_shufflehi_epi16(_mm_shufflelo_epi16(v, 0x08), 0x08); // 16-bit lanes 0, 2 | 4, 6
    return _mm_shuffle_epi32(halves, 0x08);                      // 32-bit lanes 0, 2
}

// Four pixels' lanes packed into four pixels (fourth byte 0).
inline __m128i packPixels(__m128i p0, __m128i p1, __m128i p2, __m128i p3) {
    return _mm_packus_epi16(_mm_packs_epi32(p0, p1), _mm_packs_epi32(p2, p3));
}

} // namespace grid_wide

// The wide forms of the three writes (grid_blocks.h), four pixels at a time; lit has a fourth
// byte of 0.
struct LitWriteWide {
    void operator()(Pixel* d, int, __m128i lit) const {
        const __m128i fourth = _mm_set1_epi32(static_cast<int>(kFourthByteMask));
        grid_wide::store(d, _mm_or_si128(_mm_and_si128(grid_wide::load(d), fourth), lit));
    }
};

struct LitAddWriteWide {
    void operator()(Pixel* d, int, __m128i lit) const {
        grid_wide::store(d, _mm_adds_epu8(grid_wide::load(d), lit));
    }
};

struct LitMaskedWriteWide {
    const Pixel* background;

    void operator()(Pixel* d, int index, __m128i lit) const {
        const __m128i zero = _mm_setzero_si128();
        const __m128i full = _mm_set1_epi32(kChannelMax);
        const __m128i dv = grid_wide::load(d);
        const __m128i back =
            _mm_and_si128(grid_wide::load(background + index), _mm_set1_epi32(static_cast<int>(kColourMask)));
        const __m128i mask = _mm_and_si128(dv, full);
        // Each pixel's mask in all four of its 16-bit channel lanes.
        const __m128i pairs = _mm_or_si128(mask, _mm_slli_epi32(mask, 16));
        const __m128i maskLow = _mm_unpacklo_epi32(pairs, pairs);
        const __m128i maskHigh = _mm_unpackhi_epi32(pairs, pairs);
        const __m128i channelMax = _mm_set1_epi16(kChannelMax);
        // (mask * lit + (255 - mask) * back) >> 8; the sum stays below 65536.
        const auto mix = [&](__m128i l, __m128i b, __m128i m) {
            return _mm_srli_epi16(
                _mm_add_epi16(_mm_mullo_epi16(l, m), _mm_mullo_epi16(b, _mm_sub_epi16(channelMax, m))), 8);
        };
        const __m128i mixed =
            _mm_packus_epi16(mix(_mm_unpacklo_epi8(lit, zero), _mm_unpacklo_epi8(back, zero), maskLow),
                             mix(_mm_unpackhi_epi8(lit, zero), _mm_unpackhi_epi8(back, zero), maskHigh));
        const __m128i isFull = _mm_cmpeq_epi32(mask, full);
        const __m128i isZero = _mm_cmpeq_epi32(mask, zero);
        __m128i colour = _mm_or_si128(_mm_and_si128(isFull, lit), _mm_andnot_si128(isFull, mixed));
        colour = _mm_or_si128(_mm_and_si128(isZero, back), _mm_andnot_si128(isZero, colour));
        const __m128i fourth = _mm_set1_epi32(static_cast<int>(kFourthByteMask));
        grid_wide::store(d, _mm_or_si128(_mm_and_si128(dv, fourth), colour));
    }
};

namespace grid_wide {

// One block whose corner light factors are all short (see above). In a bright block no factor
// steps below 0, so 16-bit lanes hold the factors exactly and two pixels share a register; a
// dark block keeps each pixel's factors in 32-bit lanes and holds them at 0.
template <bool kBright, class WideWriteOp>
void walkBlock(const GridCorner* topLeft, const Pixel* texture, Pixel* dst, int firstPixel,
               WideWriteOp wideWrite) {
    const GridCorner* bottomLeft = topLeft + kGridColumns;
    // Texture positions step as scalars, the three light factors side by side in lanes.
    BlockEdges edges = BlockEdges::of(topLeft);
    __m128i leftLight = factors(topLeft[0]);
    __m128i rightLight = factors(topLeft[1]);
    const __m128i leftLightStep = eighth(leftLight, factors(bottomLeft[0]));
    const __m128i rightLightStep = eighth(rightLight, factors(bottomLeft[1]));
    int rowStart = firstPixel;
    for (int y = 0; y < kGridBlockSize; ++y, rowStart += kScreenWidth) {
        const std::uint32_t alongStep = BlockValues::eighth(edges.left.along, edges.right.along);
        const std::uint32_t aroundStep = BlockValues::eighth(edges.left.around, edges.right.around);
        const __m128i lightStep = eighth(leftLight, rightLight);
        std::uint32_t along = edges.left.along, around = edges.left.around;
        // The texel under the current position, then on to the next pixel.
        const auto nextTexel = [&] {
            const std::uint32_t row = (around >> kFracBits) & kGridTextureMask;
            const std::uint32_t column = (along >> kFracBits) & kGridTextureMask;
            along += alongStep;
            around += aroundStep;
            return texture[row * kTextureSide + column];
        };
        if constexpr (kBright) {
            const __m128i zero = _mm_setzero_si128();
            const __m128i step = low16(lightStep);
            const __m128i first = low16(leftLight);
            __m128i light = _mm_unpacklo_epi64(first, _mm_add_epi16(first, step)); // pixels x, x + 1
            const __m128i twoSteps = _mm_unpacklo_epi64(_mm_add_epi16(step, step), _mm_add_epi16(step, step));
            const auto nextTwo = [&] {
                const Pixel t0 = nextTexel();
                const Pixel t1 = nextTexel();
                const __m128i texels = _mm_unpacklo_epi32(_mm_cvtsi32_si128(static_cast<int>(t0)),
                                                          _mm_cvtsi32_si128(static_cast<int>(t1)));
                const __m128i lit = _mm_mulhi_epu16(light, _mm_unpacklo_epi8(texels, zero));
                light = _mm_add_epi16(light, twoSteps);
                return lit;
            };
            for (int half = 0; half < kGridBlockSize; half += kLanes) {
                const __m128i p01 = nextTwo();
                const __m128i p23 = nextTwo();
                wideWrite(dst + rowStart + half, rowStart + half, _mm_packus_epi16(p01, p23));
            }
        } else {
            __m128i light = leftLight;
            // Written out four times over so that the values stay in registers.
            const auto next = [&] {
                const __m128i lit = litLanes(light, nextTexel());
                light = _mm_add_epi32(light, lightStep);
                return lit;
            };
            for (int half = 0; half < kGridBlockSize; half += kLanes) {
                const __m128i p0 = next();
                const __m128i p1 = next();
                const __m128i p2 = next();
                const __m128i p3 = next();
                wideWrite(dst + rowStart + half, rowStart + half, packPixels(p0, p1, p2, p3));
            }
        }
        edges.advance();
        leftLight = _mm_add_epi32(leftLight, leftLightStep);
        rightLight = _mm_add_epi32(rightLight, rightLightStep);
    }
}

} // namespace grid_wide

// Every block of the screen: wideWrite(Pixel* destination, int pixelIndex, __m128i lit) for four
// pixels at a time, or write (as walkGridBlocks takes it) in the blocks the wide walk leaves.
template <class WriteOp, class WideWriteOp>
void walkGridBlocksWide(const GridCorners& corners, const Pixel* texture, Pixel* dst, WriteOp write,
                        WideWriteOp wideWrite) {
    using grid_wide::brightLights, grid_wide::shortLights;
    for (int by = 0; by < kGridBlockRows; ++by) {
        for (int bx = 0; bx < kGridBlockColumns; ++bx) {
            const GridCorner* topLeft = &corners[by * kGridColumns + bx];
            const GridCorner* bottomLeft = topLeft + kGridColumns;
            const int firstPixel = gridBlockFirstPixel(bx, by);
            if (!shortLights(topLeft[0]) || !shortLights(topLeft[1]) || !shortLights(bottomLeft[0]) ||
                !shortLights(bottomLeft[1]))
                walkGridBlock(topLeft, texture, dst, firstPixel, write);
            else if (brightLights(topLeft[0]) && brightLights(topLeft[1]) && brightLights(bottomLeft[0]) &&
                     brightLights(bottomLeft[1]))
                grid_wide::walkBlock<true>(topLeft, texture, dst, firstPixel, wideWrite);
            else
                grid_wide::walkBlock<false>(topLeft, texture, dst, firstPixel, wideWrite);
        }
    }
}

#else

// Without SSE2 the wide walk is the plain one.
struct LitWriteWide {};
struct LitAddWriteWide {};
struct LitMaskedWriteWide {
    const Pixel* background;
};

template <class WriteOp, class WideWriteOp>
void walkGridBlocksWide(const GridCorners& corners, const Pixel* texture, Pixel* dst, WriteOp write,
                        WideWriteOp) {
    walkGridBlocks(corners, texture, dst, write);
}

#endif
