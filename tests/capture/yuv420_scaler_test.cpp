// The mp4's picture conversion against a plain reference: enlarge with FrameScaler, then convert
// every 2x2 block in floating point.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "capture/frame_scaler.h"
#include "capture/yuv420_scaler.h"

namespace {

struct Yuv {
    double y, cb, cr;
};

// BT.709 studio range, written out from its definition.
Yuv bt709(double r, double g, double b) {
    const double luma = 0.2126 * r + 0.7152 * g + 0.0722 * b;
    return {16 + 219.0 / 255 * luma, 128 + 224.0 / 255 * (b - luma) / 1.8556,
            128 + 224.0 / 255 * (r - luma) / 1.5748};
}

// The largest difference, in steps, between the scaler's planes and the reference's.
int worstError(const std::vector<std::uint32_t>& frame, int w, int h, int outW, int outH) {
    Yuv420Scaler scaler(w, h, outW, outH);
    EXPECT_EQ(scaler.frameBytes(), std::size_t(outW * outH * 3 / 2));
    std::vector<unsigned char> yuv(scaler.frameBytes());
    scaler.convert(frame.data(), w * 4, yuv.data());

    std::vector<std::uint32_t> big;
    FrameScaler(w, h, outW, outH).scale(frame.data(), w * 4, big);
    const auto channel = [&big, outW](int x, int y, int shift) {
        return double(big[y * outW + x] >> shift & 0xff);
    };
    int worst = 0;
    for (int y = 0; y < outH; ++y)
        for (int x = 0; x < outW; ++x) {
            const Yuv want = bt709(channel(x, y, 16), channel(x, y, 8), channel(x, y, 0));
            worst = std::max(worst, int(std::abs(yuv[y * outW + x] - want.y) + 0.5));
        }
    const unsigned char* cb = yuv.data() + outW * outH;
    const unsigned char* cr = cb + outW * outH / 4;
    for (int j = 0; j < outH / 2; ++j)
        for (int i = 0; i < outW / 2; ++i) {
            double r = 0, g = 0, b = 0;
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx) {
                    r += channel(2 * i + dx, 2 * j + dy, 16) / 4;
                    g += channel(2 * i + dx, 2 * j + dy, 8) / 4;
                    b += channel(2 * i + dx, 2 * j + dy, 0) / 4;
                }
            const Yuv want = bt709(r, g, b);
            worst = std::max(worst, int(std::abs(cb[j * outW / 2 + i] - want.cb) + 0.5));
            worst = std::max(worst, int(std::abs(cr[j * outW / 2 + i] - want.cr) + 0.5));
        }
    return worst;
}

} // namespace

TEST(Yuv420Scaler, MatchesEnlargingThenConvertingEachBlock) {
    constexpr int kW = 320, kH = 200, kOutW = 1440, kOutH = 1080;
    std::vector<std::uint32_t> frame(kW * kH);
    std::mt19937 random(7);
    for (std::uint32_t& p : frame) p = random() & 0xffffff;
    // Saturated corners: the extremes of every channel.
    frame[0] = 0xff0000, frame[1] = 0x00ff00, frame[2] = 0x0000ff, frame[3] = 0xffffff;
    // Rounding alone: at most one step from the exact value, at the mp4's size and at sizes whose
    // planes are too small for the luma's eight-byte stores.
    EXPECT_LE(worstError(frame, kW, kH, kOutW, kOutH), 1);
    EXPECT_LE(worstError(frame, 2, 1, 4, 2), 1);
    EXPECT_LE(worstError(frame, 3, 2, 30, 4), 1);

    Yuv420Scaler scaler(kW, kH, kOutW, kOutH);
    std::vector<unsigned char> yuv(scaler.frameBytes());
    const unsigned char* cb = yuv.data() + kOutW * kOutH;
    const unsigned char* cr = cb + kOutW * kOutH / 4;
    // The ends of the scale are exact: black, white, and pure red at its 709 values.
    for (std::uint32_t& p : frame) p = 0xff0000;
    frame[0] = 0x000000;
    scaler.convert(frame.data(), kW * 4, yuv.data());
    EXPECT_EQ(yuv[0], 16);
    EXPECT_EQ(yuv[kOutW * kOutH - 1], 63);
    EXPECT_EQ(cb[kOutW / 2 * (kOutH / 2) - 1], 102);
    EXPECT_EQ(cr[kOutW / 2 * (kOutH / 2) - 1], 240);
    for (std::uint32_t& p : frame) p = 0xffffff;
    scaler.convert(frame.data(), kW * 4, yuv.data());
    EXPECT_EQ(yuv[0], 235);
    EXPECT_EQ(cb[0], 128);
    EXPECT_EQ(cr[0], 128);
}
