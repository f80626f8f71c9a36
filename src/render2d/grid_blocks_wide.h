#pragma once
// The lit block walker four pixels at a time where SSE2 is available: the same frame as
// walkGridBlocks (grid_blocks.h), bit for bit. Texture positions and light factors step in
// 32-bit lanes exactly as the plain walk steps them; the texels are fetched one by one.
//
// Why 16-bit products suffice: a block whose four corner light factors lie in 0..65535 keeps
// every stepped factor within -12..65535 (an arithmetic-shift step undershoots its end by less
// than 7, once down each edge and once across a row). There (factor x byte) >> 16, held at 0, is
// the high half of the unsigned 16-bit product of max(factor, 0) and the byte. Blocks with any
// other corner factor are walked by the plain walk.
#include "render2d/grid_blocks.h"

#if defined(__SSE2__)
#include <emmintrin.h>

namespace grid_wide {

constexpr std::int32_t kShortLightMax = 0xFFFF;
constexpr int kLanes = 4;
static_assert(kGridBlockSize == 2 * kLanes, "a block row is two groups of four pixels");

inline bool shortLights(const GridCorner& c) {
    const auto inRange = [](std::int32_t v) { return v >= 0 && v <= kShortLightMax; };
    return inRange(c.lightRed) && inRange(c.lightGreen) && inRange(c.lightBlue);
}

inline __m128i load(const Pixel* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline void store(Pixel* p, __m128i v) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}

// Lanes {v, v + s, v + 2s, v + 3s}: the plain walk's repeated adds, wrapping alike.
inline __m128i ramp(std::uint32_t v, std::uint32_t s) {
    return _mm_set_epi32(static_cast<int>(v + 3 * s), static_cast<int>(v + 2 * s), static_cast<int>(v + s),
                         static_cast<int>(v));
}

// (max(factor, 0) x byte) >> 16 per 32-bit lane, for factors up to 65535 and bytes.
inline __m128i litLanes(__m128i factor, __m128i bytes) {
    const __m128i positive = _mm_andnot_si128(_mm_srai_epi32(factor, 31), factor);
    return _mm_mulhi_epu16(positive, bytes);
}

// The texel number row * 256 + column of each lane's 16.16 position.
inline __m128i texelIndex(__m128i along, __m128i around) {
    const __m128i rowPart = _mm_and_si128(_mm_srli_epi32(around, kFracBits - 8), _mm_set1_epi32(0xFF00));
    const __m128i columnPart = _mm_and_si128(_mm_srli_epi32(along, kFracBits), _mm_set1_epi32(0xFF));
    return _mm_or_si128(rowPart, columnPart);
}

inline __m128i fetch(const Pixel* texture, __m128i index) {
    alignas(16) std::uint32_t i[kLanes];
    _mm_store_si128(reinterpret_cast<__m128i*>(i), index);
    return _mm_set_epi32(static_cast<int>(texture[i[3]]), static_cast<int>(texture[i[2]]),
                         static_cast<int>(texture[i[1]]), static_cast<int>(texture[i[0]]));
}

// Four lit pixels (fourth byte 0) for the positions and factors at v + k * s, k = 0..3.
inline __m128i litPixels(const Pixel* texture, const BlockValues& v, const BlockValues& s) {
    const __m128i byteMask = _mm_set1_epi32(0xFF);
    const __m128i texels = fetch(texture, texelIndex(ramp(v.along, s.along), ramp(v.around, s.around)));
    const __m128i blue = litLanes(ramp(v.blue, s.blue), _mm_and_si128(texels, byteMask));
    const __m128i green =
        litLanes(ramp(v.green, s.green), _mm_and_si128(_mm_srli_epi32(texels, kGreenShift), byteMask));
    const __m128i red =
        litLanes(ramp(v.red, s.red), _mm_and_si128(_mm_srli_epi32(texels, kRedShift), byteMask));
    return _mm_or_si128(blue,
                        _mm_or_si128(_mm_slli_epi32(green, kGreenShift), _mm_slli_epi32(red, kRedShift)));
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

// Every block of the screen: wideWrite(Pixel* destination, int pixelIndex, __m128i lit) for four
// pixels at a time, or write (as walkGridBlocks takes it) in the blocks the wide walk leaves.
template <class WriteOp, class WideWriteOp>
void walkGridBlocksWide(const GridCorners& corners, const Pixel* texture, Pixel* dst, WriteOp write,
                        WideWriteOp wideWrite) {
    for (int by = 0; by < kGridBlockRows; ++by) {
        for (int bx = 0; bx < kGridBlockColumns; ++bx) {
            const GridCorner* topLeft = &corners[by * kGridColumns + bx];
            const GridCorner* bottomLeft = topLeft + kGridColumns;
            const int firstPixel = gridBlockFirstPixel(bx, by);
            if (!grid_wide::shortLights(topLeft[0]) || !grid_wide::shortLights(topLeft[1]) ||
                !grid_wide::shortLights(bottomLeft[0]) || !grid_wide::shortLights(bottomLeft[1])) {
                walkGridBlock(topLeft, texture, dst, firstPixel, write);
                continue;
            }
            BlockValues left = BlockValues::of(topLeft[0]);
            BlockValues right = BlockValues::of(topLeft[1]);
            const BlockValues leftStep = BlockValues::stepBetween(left, BlockValues::of(bottomLeft[0]));
            const BlockValues rightStep = BlockValues::stepBetween(right, BlockValues::of(bottomLeft[1]));
            int rowStart = firstPixel;
            for (int y = 0; y < kGridBlockSize; ++y, rowStart += kScreenWidth) {
                const BlockValues step = BlockValues::stepBetween(left, right);
                BlockValues fifth = left; // the values at the row's fifth pixel
                for (int k = 0; k < grid_wide::kLanes; ++k) fifth.advance(step);
                wideWrite(dst + rowStart, rowStart, grid_wide::litPixels(texture, left, step));
                wideWrite(dst + rowStart + grid_wide::kLanes, rowStart + grid_wide::kLanes,
                          grid_wide::litPixels(texture, fifth, step));
                left.advance(leftStep);
                right.advance(rightStep);
            }
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
