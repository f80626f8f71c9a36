#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "render2d/radial_smear.h"

namespace {

constexpr int kDistance = 229376; // 3.5 pixels in 16.16

struct SmearFixture {
    RadialSmear smear;
    std::vector<Pixel> buffer = std::vector<Pixel>(kScreenPixels, 0);

    SmearFixture() {
        smear.buildOffsets(160, 100, kDistance);
        smear.setWeights(128, 128);
        smear.setBounds(0, 0, kScreenWidth, kScreenHeight);
    }
    Pixel& at(int x, int y) { return buffer[y * kScreenWidth + x]; }
    void randomise(unsigned seed) {
        std::mt19937 random(seed);
        for (Pixel& p : buffer) p = random();
    }
};

} // namespace

TEST(RadialSmear, TopRowAndLeftColumnStayAndFullKeepChangesNothing) {
    SmearFixture f;
    f.randomise(7);
    const std::vector<Pixel> original = f.buffer;
    f.smear.apply(f.buffer.data());
    for (int x = 0; x < kScreenWidth; ++x) ASSERT_EQ(f.at(x, 0), original[x]) << x;
    for (int y = 0; y < kScreenHeight; ++y) ASSERT_EQ(f.at(0, y), original[y * kScreenWidth]) << y;
    EXPECT_NE(f.buffer, original);

    f.buffer = original;
    f.smear.setWeights(256, 0);
    f.smear.apply(f.buffer.data());
    EXPECT_EQ(f.buffer, original);
}

TEST(RadialSmear, TheCentrePixelSamplesTheTopLeftCorner) {
    SmearFixture f;
    EXPECT_EQ(f.smear.offsets[100 * kScreenWidth + 160].x, 0);
    EXPECT_EQ(f.smear.offsets[100 * kScreenWidth + 160].y, 0);
    f.at(0, 0) = makePixel(0, 0, 255);
    f.at(160, 100) = 0xAB000000u | makePixel(100, 0, 0);
    f.smear.apply(f.buffer.data());
    EXPECT_EQ(f.at(160, 100), 0xAB000000u | makePixel(50, 0, 127));
}

TEST(RadialSmear, ABrightPixelThrowsARayOutwardOnly) {
    SmearFixture f;
    f.at(170, 100) = 0x7700FFFFu;
    f.smear.apply(f.buffer.data());
    EXPECT_GT(greenOf(f.at(174, 100)), 0); // samples 3.5 pixels inward, between 170 and 171
    EXPECT_GT(greenOf(f.at(177, 100)), 0); // and that sample was already smeared
    EXPECT_LT(greenOf(f.at(177, 100)), greenOf(f.at(174, 100)));
    EXPECT_EQ(f.at(165, 100), 0u);
    EXPECT_EQ(f.at(170, 104), 0u);
    EXPECT_EQ(f.at(170, 100) >> 24, 0x77u);
}

TEST(RadialSmear, OddCentresBoundsAndWeightsStayInsideTheBufferAndSaturate) {
    SmearFixture f;
    f.buffer.assign(kScreenPixels, 0x55FFFFFFu);
    // A centre off the buffer and a long distance would sample outside it; bounds past the edges
    // would write outside it; weights summing to 512 would carry into the next byte.
    f.smear.buildOffsets(-500, 900, 100 << 16);
    f.smear.setBounds(-20, -20, 1000, 1000);
    f.smear.setWeights(256, 256);
    f.smear.apply(f.buffer.data());
    for (Pixel p : f.buffer) ASSERT_EQ(p, 0x55FFFFFFu);
    f.smear.buildOffsets(400, -90, 1 << 24);
    f.smear.apply(f.buffer.data());
    EXPECT_EQ(f.smear.right, kScreenWidth);
    EXPECT_EQ(f.smear.top, 0);
}

// The channel-parallel smear must give the plain one's pixels bit for bit: random pictures, the
// show's settings, odd centres and distances (fractions of 32768 and more take a correction) and
// weights that saturate.
TEST(RadialSmear, TheWideSmearMatchesThePlainOne) {
    struct Case {
        int cx, cy, distance, keep, mix;
    };
    const Case cases[] = {{160, 100, kDistance, 128, 128},
                          {37, 181, 5 << 16 | 0x9999, 200, 90},
                          {300, 4, 0x8000, 256, 256},
                          {-40, 250, 40 << 16, 0, 256}};
    unsigned seed = 1;
    for (const Case& c : cases) {
        SmearFixture f;
        f.smear.buildOffsets(c.cx, c.cy, c.distance);
        f.smear.setWeights(c.keep, c.mix);
        f.randomise(seed++);
        std::vector<Pixel> plain = f.buffer;
        f.smear.apply(f.buffer.data());
        f.smear.applyPlain(plain.data());
        for (int i = 0; i < kScreenPixels; ++i)
            ASSERT_EQ(f.buffer[i], plain[i]) << "centre " << c.cx << " pixel " << i;
    }
}
