#include "render2d/radial_smear.h"

#include <algorithm>
#include <cmath>

#include "core/fixed_point.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr std::int64_t kFracMask = kFixedOne - 1;
constexpr int kWeightMax = 256;
constexpr int kWeightShift = 8;
// The furthest sample position whose 2x2 block still lies inside the buffer.
constexpr std::int64_t kLastSampleX = std::int64_t(kScreenWidth - 2) << kFracBits;
constexpr std::int64_t kLastSampleY = std::int64_t(kScreenHeight - 2) << kFracBits;

#if defined(__SSE2__)
// a + floor((b - a) * f / 65536) per 16-bit lane, f in 0..65535 in every lane: the mix
// (a * (65536 - f) + b * f) >> 16 of bytes a and b. The signed high product reads an f of 32768
// or more as f - 65536, which takes (b - a) off; it is added back.
inline __m128i mixFixed(__m128i a, __m128i b, __m128i f) {
    const __m128i difference = _mm_sub_epi16(b, a);
    const __m128i product = _mm_mulhi_epi16(difference, f);
    const __m128i wrapped = _mm_and_si128(difference, _mm_srai_epi16(f, 15));
    return _mm_add_epi16(a, _mm_add_epi16(product, wrapped));
}

// One pixel of the smear with its channels side by side in 16-bit lanes; weights holds
// (keep, mix) in every 32-bit lane. The same pixel as RadialSmear's plain smear.
inline void smearPixelWide(Pixel* pixels, int index, const RadialSmear::Offset& offset, __m128i weights) {
    const __m128i zero = _mm_setzero_si128();
    const Pixel* a = pixels + (offset.y >> kFracBits) * kScreenWidth + (offset.x >> kFracBits);
    // 16-bit lanes (fx, x >> 16, fy, y >> 16): fy in all eight lanes, fx in the low four.
    const __m128i position = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(&offset));
    const __m128i fy =
        _mm_unpacklo_epi64(_mm_shufflelo_epi16(position, 0xAA), _mm_shufflelo_epi16(position, 0xAA));
    const __m128i fx = _mm_shufflelo_epi16(position, 0x00);
    // Columns x0 and x0 + 1 of rows y0 and y0 + 1: four channel lanes per pixel.
    const __m128i top = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(a)), zero);
    const __m128i bottom =
        _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(a + kScreenWidth)), zero);
    const __m128i columns = mixFixed(top, bottom, fy);                        // left column, right column
    const __m128i sample = mixFixed(columns, _mm_srli_si128(columns, 8), fx); // in the low four lanes
    Pixel& p = pixels[index];
    const __m128i old = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(p)), zero);
    // old * keep + sample * mix per channel, then >> 8; the packs hold a channel at 255.
    const __m128i mixed =
        _mm_srai_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(old, sample), weights), kWeightShift);
    const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(mixed, zero), zero);
    p = (p & kFourthByteMask) | (static_cast<Pixel>(_mm_cvtsi128_si32(bytes)) & kColourMask);
}
#endif

} // namespace

RadialSmear::RadialSmear() : offsets(static_cast<size_t>(kScreenWidth) * kScreenHeight, Offset{0, 0}) {}

RadialSmear::~RadialSmear() = default;

void RadialSmear::buildOffsets(int cx, int cy, int distance) {
    centreX = cx;
    centreY = cy;
    for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            Offset& offset = offsets[static_cast<size_t>(y) * kScreenWidth + x];
            const std::int64_t dx = std::int64_t(cx) - x;
            const std::int64_t dy = std::int64_t(cy) - y;
            const std::int64_t squared = dx * dx + dy * dy;
            if (squared <= 0) {
                offset = {0, 0};
                continue;
            }
            // s: the 16.16 distance divided by the pixel's distance from the centre, so that
            // (dx, dy) * s is the step towards the centre.
            const std::int64_t s =
                static_cast<std::int64_t>(distance / std::sqrt(static_cast<double>(squared)));
            const std::int64_t sx =
                std::clamp(std::int64_t(x) * kFixedOne + dx * s, std::int64_t(0), kLastSampleX);
            const std::int64_t sy =
                std::clamp(std::int64_t(y) * kFixedOne + dy * s, std::int64_t(0), kLastSampleY);
            offset = {static_cast<std::int32_t>(sx), static_cast<std::int32_t>(sy)};
        }
    }
}

void RadialSmear::setWeights(int keep_, int mix_) {
    keep = std::clamp(keep_, 0, kWeightMax);
    mix = std::clamp(mix_, 0, kWeightMax);
}

void RadialSmear::setBounds(int left_, int top_, int right_, int bottom_) {
    left = std::clamp(left_, 0, kScreenWidth);
    top = std::clamp(top_, 0, kScreenHeight);
    right = std::clamp(right_, 0, kScreenWidth);
    bottom = std::clamp(bottom_, 0, kScreenHeight);
}

void RadialSmear::smearPixelPlain(Pixel* pixels, int index) const {
    const Offset& offset = offsets[index];
    const int x0 = offset.x >> kFracBits;
    const int y0 = offset.y >> kFracBits;
    const int fx = static_cast<int>(offset.x & kFracMask);
    const int fy = static_cast<int>(offset.y & kFracMask);
    const int gx = kFixedOne - fx;
    const int gy = kFixedOne - fy;
    // a = (x0, y0), b = (x0, y0 + 1), c = (x0 + 1, y0), d = (x0 + 1, y0 + 1)
    const Pixel* a = pixels + y0 * kScreenWidth + x0;
    const Pixel* b = a + kScreenWidth;
    Pixel& p = pixels[index];
    Pixel out = p & kFourthByteMask;
    for (int shift : {kBlueShift, kGreenShift, kRedShift}) {
        auto byteAt = [shift](const Pixel* q) { return static_cast<int>((*q >> shift) & 0xFFu); };
        const int leftColumn = (byteAt(a) * gy + byteAt(b) * fy) >> kFracBits;
        const int rightColumn = (byteAt(a + 1) * gy + byteAt(b + 1) * fy) >> kFracBits;
        const int sample = static_cast<int>(
            (static_cast<std::int64_t>(leftColumn) * gx + static_cast<std::int64_t>(rightColumn) * fx) >>
            kFracBits);
        const int old = static_cast<int>((p >> shift) & 0xFFu);
        // Weights summing above 256 would carry into the next byte: hold the channel at 255.
        const int mixed = std::min((old * keep + sample * mix) >> kWeightShift, kChannelMax);
        out |= static_cast<Pixel>(mixed) << shift;
    }
    p = out;
}

template <class SmearPixel> void RadialSmear::walkOutward(Pixel* pixels, SmearPixel smearPixel) const {
    // Four quadrants, each from the centre outward, one after the other (a quadrant's samples near
    // the centre lines read pixels of the quadrants before it). Row top and column left are never
    // changed. The loops start at the centre held inside the bounds, so that a centre outside
    // them cannot reach outside the buffer.
    const int upFrom = std::min(centreY - 1, bottom - 1);
    const int downFrom = std::max(centreY, top + 1);
    const int leftFrom = std::min(centreX - 1, right - 1);
    const int rightFrom = std::max(centreX, left + 1);
    auto towardsLeft = [&](int y) {
        for (int x = leftFrom; x > left; --x) smearPixel(pixels, y * kScreenWidth + x);
    };
    auto towardsRight = [&](int y) {
        for (int x = rightFrom; x < right; ++x) smearPixel(pixels, y * kScreenWidth + x);
    };
    for (int y = upFrom; y > top; --y) towardsLeft(y);
    for (int y = upFrom; y > top; --y) towardsRight(y);
    for (int y = downFrom; y < bottom; ++y) towardsLeft(y);
    for (int y = downFrom; y < bottom; ++y) towardsRight(y);
}

void RadialSmear::apply(Pixel* pixels) const {
#if defined(__SSE2__)
    static_assert(sizeof(Offset) == 8, "an offset is read as one 64-bit lane");
    const __m128i weights = _mm_set1_epi32(keep | (mix << 16));
    walkOutward(pixels,
                [this, weights](Pixel* p, int index) { smearPixelWide(p, index, offsets[index], weights); });
#else
    applyPlain(pixels);
#endif
}

void RadialSmear::applyPlain(Pixel* pixels) const {
    walkOutward(pixels, [this](Pixel* p, int index) { smearPixelPlain(p, index); });
}
