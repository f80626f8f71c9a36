#include "capture/yuv420_scaler.h"

#include <cstring>

#include "capture/frame_scaler.h"

namespace {

// BT.709 in studio range, from 8-bit R, G, B:
//   Y  =  16 + 219/255 * (Kr R + Kg G + Kb B)
//   Cb = 128 + 224/255 * (B - (Kr R + Kg G + Kb B)) / (2 (1 - Kb))
//   Cr = 128 + 224/255 * (R - (Kr R + Kg G + Kb B)) / (2 (1 - Kr))
// with coefficients in 16.16 fixed point.
constexpr double kKr = 0.2126;
constexpr double kKb = 0.0722;
constexpr double kKg = 1.0 - kKr - kKb;
constexpr double kLumaRange = 219.0 / 255.0;
constexpr double kChromaRange = 224.0 / 255.0;
constexpr int kFracBits = 16;

constexpr std::int32_t toFixed(double x) {
    return static_cast<std::int32_t>(x * (1 << kFracBits) + (x < 0 ? -0.5 : 0.5));
}

constexpr std::int32_t kLumaR = toFixed(kLumaRange * kKr);
constexpr std::int32_t kLumaG = toFixed(kLumaRange * kKg);
constexpr std::int32_t kLumaB = toFixed(kLumaRange * kKb);
constexpr std::int32_t kBlueR = toFixed(-kChromaRange * kKr / (2 * (1 - kKb)));
constexpr std::int32_t kBlueG = toFixed(-kChromaRange * kKg / (2 * (1 - kKb)));
constexpr std::int32_t kBlueB = toFixed(kChromaRange / 2);
constexpr std::int32_t kRedR = toFixed(kChromaRange / 2);
constexpr std::int32_t kRedG = toFixed(-kChromaRange * kKg / (2 * (1 - kKr)));
constexpr std::int32_t kRedB = toFixed(-kChromaRange * kKb / (2 * (1 - kKr)));

constexpr int kLumaBlack = 16;
constexpr int kChromaZero = 128;
// Four pixels are summed for a chroma sample: two more fraction bits, the mean taken in the shift.
constexpr int kChromaShift = kFracBits + 2;
// The offset and the rounding in one term, which also keeps the sum positive before the shift.
constexpr std::int32_t kChromaBias = (kChromaZero << kChromaShift) + (1 << (kChromaShift - 1));
constexpr std::int32_t kLumaBias = (kLumaBlack << kFracBits) + (1 << (kFracBits - 1));
// A byte times this fills every byte of a 64-bit word with it.
constexpr std::uint64_t kEveryByte = 0x0101010101010101ull;

inline int red(std::uint32_t p) {
    return static_cast<int>(p >> 16 & 0xff);
}
inline int green(std::uint32_t p) {
    return static_cast<int>(p >> 8 & 0xff);
}
inline int blue(std::uint32_t p) {
    return static_cast<int>(p & 0xff);
}

} // namespace

Yuv420Scaler::Yuv420Scaler(int srcW, int srcH, int outW, int outH)
    : sourceWidth(srcW), outputWidth(outW), outputHeight(outH), sourceColumn(outW), sourceRow(outH),
      columnRun(srcW), blueTerms(srcW), redTerms(srcW) {
    for (ChromaRow& slot : rows) {
        slot.blue.resize(outW / 2);
        slot.red.resize(outW / 2);
    }
    for (int x = 0; x < outW; ++x) {
        sourceColumn[x] = nearestSourcePixel(x, srcW, outW);
        ++columnRun[sourceColumn[x]];
    }
    for (int y = 0; y < outH; ++y) sourceRow[y] = nearestSourcePixel(y, srcH, outH);
}

std::size_t Yuv420Scaler::frameBytes() const {
    const std::size_t lumaBytes = static_cast<std::size_t>(outputWidth) * outputHeight;
    return lumaBytes + lumaBytes / 2;
}

const std::uint32_t* Yuv420Scaler::sourceRowAt(const std::uint32_t* pixels, int pitch, int row) const {
    return reinterpret_cast<const std::uint32_t*>(reinterpret_cast<const unsigned char*>(pixels) +
                                                  static_cast<std::ptrdiff_t>(row) * pitch);
}

const Yuv420Scaler::ChromaRow& Yuv420Scaler::chromaRow(const std::uint32_t* pixels, int pitch, int row) {
    for (const ChromaRow& kept : rows)
        if (kept.row == row) return kept;
    // Rows come in order: the one with the lower row number is not needed again.
    ChromaRow& slot = rows[0].row < rows[1].row ? rows[0] : rows[1];
    slot.row = row;
    const std::uint32_t* src = sourceRowAt(pixels, pitch, row);
    for (int x = 0; x < sourceWidth; ++x) {
        const int r = red(src[x]), g = green(src[x]), b = blue(src[x]);
        blueTerms[x] = kBlueR * r + kBlueG * g + kBlueB * b;
        redTerms[x] = kRedR * r + kRedG * g + kRedB * b;
    }
    for (int i = 0; i < outputWidth / 2; ++i) {
        const int left = sourceColumn[2 * i], right = sourceColumn[2 * i + 1];
        slot.blue[i] = blueTerms[left] + blueTerms[right];
        slot.red[i] = redTerms[left] + redTerms[right];
    }
    return slot;
}

void Yuv420Scaler::convert(const std::uint32_t* pixels, int pitch, unsigned char* out) {
    // Luma: each source row once, spread over its output columns; repeated rows are copies.
    const bool spillFits =
        frameBytes() - static_cast<std::size_t>(outputWidth) * outputHeight >= sizeof(std::uint64_t);
    unsigned char* y = out;
    for (int row = 0; row < outputHeight; ++row, y += outputWidth) {
        if (row > 0 && sourceRow[row] == sourceRow[row - 1]) {
            std::memcpy(y, y - outputWidth, outputWidth);
            continue;
        }
        const std::uint32_t* src = sourceRowAt(pixels, pitch, sourceRow[row]);
        unsigned char* dst = y;
        for (int x = 0; x < sourceWidth; ++x) {
            const std::uint32_t p = src[x];
            const std::uint64_t level = static_cast<std::uint32_t>(kLumaBias + kLumaR * red(p) +
                                                                   kLumaG * green(p) + kLumaB * blue(p)) >>
                                        kFracBits;
            // Stores of eight bytes (one for a run of up to eight): what they write past the run
            // is the next run's to overwrite, or, past the row, the next row's, and past the
            // last row the chroma planes', written after. Tiny frames, whose chroma planes
            // could not take that, go byte by byte.
            const std::uint64_t eight = level * kEveryByte;
            if (spillFits) {
                for (int done = 0; done < columnRun[x]; done += sizeof eight)
                    std::memcpy(dst + done, &eight, sizeof eight);
            } else {
                std::memset(dst, static_cast<int>(level), columnRun[x]);
            }
            dst += columnRun[x];
        }
    }

    // Chroma: a sample covers output rows 2j, 2j + 1 and columns 2i, 2i + 1. The conversion is
    // linear, so each source row's terms are summed over each sample's two columns once
    // (chromaRow), and a sample adds those of its two rows.
    const int chromaWidth = outputWidth / 2, chromaHeight = outputHeight / 2;
    unsigned char* cb = out + static_cast<std::size_t>(outputWidth) * outputHeight;
    unsigned char* cr = cb + static_cast<std::size_t>(chromaWidth) * chromaHeight;
    rows[0].row = rows[1].row = -1;
    for (int j = 0; j < chromaHeight; ++j, cb += chromaWidth, cr += chromaWidth) {
        const int top = sourceRow[2 * j], bottom = sourceRow[2 * j + 1];
        if (j > 0 && top == sourceRow[2 * j - 2] && bottom == sourceRow[2 * j - 1]) {
            std::memcpy(cb, cb - chromaWidth, chromaWidth);
            std::memcpy(cr, cr - chromaWidth, chromaWidth);
            continue;
        }
        const ChromaRow& a = chromaRow(pixels, pitch, top);
        const ChromaRow& b = chromaRow(pixels, pitch, bottom);
        for (int i = 0; i < chromaWidth; ++i) {
            cb[i] = static_cast<unsigned char>((kChromaBias + a.blue[i] + b.blue[i]) >> kChromaShift);
            cr[i] = static_cast<unsigned char>((kChromaBias + a.red[i] + b.red[i]) >> kChromaShift);
        }
    }
}
