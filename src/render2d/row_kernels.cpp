#include "render2d/row_kernels.h"

#include "render2d/pixel_ops.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

#if defined(__SSE2__)
constexpr int kLanes = 4; // pixels per 128-bit register

__m128i load(const Pixel* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
void store(Pixel* p, __m128i v) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}
constexpr Pixel kBlueMask = 0xFFu << kBlueShift;

__m128i colourMask() {
    return _mm_set1_epi32(static_cast<int>(kColourMask));
}

// (k * byte) >> 8 for every byte of four pixels; k * byte fits 16 unsigned bits.
__m128i scaleBytes(__m128i v, __m128i weight16) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i low = _mm_srli_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(v, zero), weight16), kWeightShift);
    const __m128i high = _mm_srli_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(v, zero), weight16), kWeightShift);
    return _mm_packus_epi16(low, high);
}

// Colour bytes from result, fourth byte from the destination.
__m128i keepFourthByte(__m128i result, __m128i destination) {
    const __m128i mask = colourMask();
    return _mm_or_si128(_mm_and_si128(result, mask), _mm_andnot_si128(mask, destination));
}
#endif

// The pixels the vector loop left over, one at a time.
template <class PixelOp> void finishRow(const Pixel* s, Pixel* d, int from, int count, PixelOp op) {
    for (int i = from; i < count; ++i) d[i] = op(s[i], d[i]);
}

} // namespace

void transparentRow(const Pixel* s, Pixel* d, int count) {
    int i = 0;
#if defined(__SSE2__)
    for (; i + kLanes <= count; i += kLanes) {
        const __m128i sv = load(s + i);
        const __m128i keep = _mm_cmpeq_epi32(sv, _mm_setzero_si128());
        store(d + i, _mm_or_si128(_mm_and_si128(keep, load(d + i)), _mm_andnot_si128(keep, sv)));
    }
#endif
    finishRow(s, d, i, count, TransparentOp{});
}

void addRow(const Pixel* s, Pixel* d, int count) {
    int i = 0;
#if defined(__SSE2__)
    // Adding a source whose fourth byte is masked to 0 leaves the destination's fourth byte as it is.
    for (; i + kLanes <= count; i += kLanes)
        store(d + i, _mm_adds_epu8(load(d + i), _mm_and_si128(load(s + i), colourMask())));
#endif
    finishRow(s, d, i, count, AddOp{});
}

void subtractRow(const Pixel* s, Pixel* d, int count) {
    int i = 0;
#if defined(__SSE2__)
    // As in addRow, a source with its fourth byte masked to 0 keeps the destination's; lanes whose
    // source has a blue byte of 0 keep the whole destination pixel.
    const __m128i blue = _mm_set1_epi32(static_cast<int>(kBlueMask));
    for (; i + kLanes <= count; i += kLanes) {
        const __m128i sv = load(s + i);
        const __m128i dv = load(d + i);
        const __m128i keep = _mm_cmpeq_epi32(_mm_and_si128(sv, blue), _mm_setzero_si128());
        const __m128i difference = _mm_subs_epu8(dv, _mm_and_si128(sv, colourMask()));
        store(d + i, _mm_or_si128(_mm_and_si128(keep, dv), _mm_andnot_si128(keep, difference)));
    }
#endif
    finishRow(s, d, i, count, SubtractOp{});
}

void addScaledRow(const Pixel* s, Pixel* d, int count, int weight) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i k = _mm_set1_epi16(static_cast<short>(weight));
    for (; i + kLanes <= count; i += kLanes)
        store(d + i, _mm_adds_epu8(load(d + i), _mm_and_si128(scaleBytes(load(s + i), k), colourMask())));
#endif
    finishRow(s, d, i, count, AddScaledOp{weight});
}

void blendRow(const Pixel* s, Pixel* d, int count, int weight) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i k = _mm_set1_epi16(static_cast<short>(weight));
    const __m128i rest = _mm_set1_epi16(static_cast<short>(kFullWeight - weight));
    // The two halves add up to at most 255 per byte, so a plain byte add cannot carry.
    for (; i + kLanes <= count; i += kLanes) {
        const __m128i dv = load(d + i);
        store(d + i, keepFourthByte(_mm_add_epi8(scaleBytes(load(s + i), k), scaleBytes(dv, rest)), dv));
    }
#endif
    finishRow(s, d, i, count, BlendOp{weight});
}

void fadedRow(const Pixel* s, Pixel* d, int count, int weight) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i k = _mm_set1_epi16(static_cast<short>(weight));
    for (; i + kLanes <= count; i += kLanes)
        store(d + i, keepFourthByte(scaleBytes(load(s + i), k), load(d + i)));
#endif
    finishRow(s, d, i, count, FadedOp{weight});
}
