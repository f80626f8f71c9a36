#include "render2d/zoom_mask.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr int kWholeLevel = 255; // from this level on the mask is taken whole
constexpr int kOne = 256;        // (byte * 256) >> 8 leaves the byte as it is
constexpr int kShift = 8;

// The level as a factor over 256: 0..254 as they are, whole (256) above, negative as 0.
int levelFactor(int level) {
    if (level < 0) return 0;
    return level < kWholeLevel ? level : kOne;
}

} // namespace

void darkenByMaskPlain(Pixel* frame, const Pixel* mask, int level, int count) {
    const bool whole = level >= kWholeLevel;
    for (int i = 0; i < count; ++i) {
        const Pixel p = frame[i];
        if (blueOf(p) == 0) continue;
        int m = greenOf(mask[i]);
        if (!whole) m = level < 0 ? 0 : (m * level) >> kShift;
        const int g = kChannelMax - m;
        frame[i] = (p & kFourthByteMask) |
                   makePixel((redOf(p) * g) >> kShift, (greenOf(p) * g) >> kShift, (blueOf(p) * g) >> kShift);
    }
}

void darkenByMask(Pixel* frame, const Pixel* mask, int level, int count) {
    constexpr Pixel kRedBlue = 0x00FF00FFu;
    constexpr Pixel kGreen = 0x0000FF00u;
    const Pixel factor = static_cast<Pixel>(levelFactor(level));
    int i = 0;
#if defined(__SSE2__)
    // Four pixels at a time, each multiplier in the 16-bit lanes of its pixel's channels: every
    // product (byte x at most 256) fits 16 bits.
    constexpr int kLanes = 4;
    const __m128i zero = _mm_setzero_si128();
    const __m128i byte = _mm_set1_epi32(0xFF);
    const __m128i factors = _mm_set1_epi32(static_cast<int>(factor));
    const __m128i full = _mm_set1_epi32(kChannelMax);
    const __m128i one = _mm_set1_epi32(kOne);
    const __m128i fourth = _mm_set1_epi32(static_cast<int>(kFourthByteMask));
    for (; i + kLanes <= count; i += kLanes) {
        const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(frame + i));
        const __m128i green = _mm_and_si128(
            _mm_srli_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(mask + i)), kGreenShift), byte);
        const __m128i m = _mm_srli_epi32(_mm_mullo_epi16(green, factors), kShift);
        const __m128i keep = _mm_cmpeq_epi32(_mm_and_si128(p, byte), zero);
        const __m128i g =
            _mm_or_si128(_mm_andnot_si128(keep, _mm_sub_epi32(full, m)), _mm_and_si128(keep, one));
        const __m128i pairs = _mm_or_si128(g, _mm_slli_epi32(g, 16));
        const __m128i low = _mm_srli_epi16(
            _mm_mullo_epi16(_mm_unpacklo_epi8(p, zero), _mm_unpacklo_epi32(pairs, pairs)), kShift);
        const __m128i high = _mm_srli_epi16(
            _mm_mullo_epi16(_mm_unpackhi_epi8(p, zero), _mm_unpackhi_epi32(pairs, pairs)), kShift);
        const __m128i colour = _mm_andnot_si128(fourth, _mm_packus_epi16(low, high));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(frame + i),
                         _mm_or_si128(_mm_and_si128(p, fourth), colour));
    }
#endif
    for (; i < count; ++i) {
        const Pixel p = frame[i];
        const Pixel m = (((mask[i] & kGreen) >> kGreenShift) * factor) >> kShift;
        // A pixel with blue byte 0 keeps its bytes: its multiplier is 256 instead of 255 - m.
        const Pixel keep = static_cast<Pixel>((p & 0xFFu) == 0);
        const Pixel g = (kChannelMax - m) + keep * (m + 1);
        // Red and blue share one multiply: each lane's product stays below 65536.
        const Pixel redBlue = (((p & kRedBlue) * g) >> kShift) & kRedBlue;
        const Pixel green = (((p & kGreen) * g) >> kShift) & kGreen;
        frame[i] = (p & kFourthByteMask) | redBlue | green;
    }
}
