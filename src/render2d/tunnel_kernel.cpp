#include "render2d/tunnel_kernel.h"

#include "render2d/tunnel_table.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Texel numbers wrap at 65,536 as a whole, not at a texture edge: the borrow of a column step
// passes into the row.
constexpr unsigned kTexelMask = kTextureTexels - 1;

void lookUp(Pixel* dst, const std::uint16_t* table, const Pixel* texture, unsigned offset, int from) {
    for (int i = from; i < kScreenPixels; ++i) {
        const Pixel texel = texture[(table[i] + offset) & kTexelMask];
        dst[i] = (dst[i] & kFourthByteMask) | (texel & kColourMask);
    }
}

} // namespace

void drawTunnelBackgroundPlain(Pixel* dst, const std::uint16_t* table, const Pixel* texture,
                               unsigned offset) {
    lookUp(dst, table, texture, offset, 0);
}

void drawTunnelBackground(Pixel* dst, const std::uint16_t* table, const Pixel* texture, unsigned offset) {
    int i = 0;
#if defined(__SSE2__)
    // Texel numbers have 16 bits: adding the offset in 16-bit lanes wraps them as the mask does.
    constexpr int kLanes = 8;
    const __m128i shift = _mm_set1_epi16(static_cast<short>(offset & kTexelMask));
    const __m128i fourth = _mm_set1_epi32(static_cast<int>(kFourthByteMask));
    for (; i + kLanes <= kScreenPixels; i += kLanes) {
        const __m128i index =
            _mm_add_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(table + i)), shift);
        const __m128i low = _mm_set_epi32(static_cast<int>(texture[_mm_extract_epi16(index, 3)]),
                                          static_cast<int>(texture[_mm_extract_epi16(index, 2)]),
                                          static_cast<int>(texture[_mm_extract_epi16(index, 1)]),
                                          static_cast<int>(texture[_mm_extract_epi16(index, 0)]));
        const __m128i high = _mm_set_epi32(static_cast<int>(texture[_mm_extract_epi16(index, 7)]),
                                           static_cast<int>(texture[_mm_extract_epi16(index, 6)]),
                                           static_cast<int>(texture[_mm_extract_epi16(index, 5)]),
                                           static_cast<int>(texture[_mm_extract_epi16(index, 4)]));
        Pixel* out = dst + i;
        const __m128i d0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out));
        const __m128i d1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out + 4));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out),
                         _mm_or_si128(_mm_and_si128(d0, fourth), _mm_andnot_si128(fourth, low)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4),
                         _mm_or_si128(_mm_and_si128(d1, fourth), _mm_andnot_si128(fourth, high)));
    }
#endif
    lookUp(dst, table, texture, offset, i);
}
