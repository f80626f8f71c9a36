#include <gtest/gtest.h>

#include "effects/closing_picture.h"
#include "effects/opening_picture.h"
#include "picture_effect_fixture.h"

using effect_test::PictureEffectTest;

namespace {

constexpr std::uint32_t kBandFrame = 0xFF102000u; // red 16, green 32, blue 0

class OpeningPictureTest : public PictureEffectTest {
protected:
    void SetUp() override {
        PictureEffectTest::SetUp();
        opening.load();
        showTime = 1000.0f;
        syncValue = 2;
        opening.start();
    }
    void renderAt(float t) {
        showTime = static_cast<float>(opening.startTime) + t;
        opening.render();
    }
    std::uint32_t pictureAt(int x, int y) const {
        return opening.bitmap.pixels[y * opening.bitmap.pitch + x];
    }

    OpeningPicture opening;
};

} // namespace

TEST_F(OpeningPictureTest, FadesInUnderTheLogo) {
    ASSERT_EQ(opening.bitmap.width, 320);
    ASSERT_EQ(opening.bitmap.height, 200);
    renderAt(0.0f);
    dump("opening_0s");
    EXPECT_EQ(pixelAt(160, 100), 0u);                   // level 0: the picture is still black
    EXPECT_EQ(pixelAt(10, 170), logo.bitmap.pixels[0]); // the logo added onto black

    renderAt(200.0f);
    dump("opening_2s");
    const std::uint32_t half = pixelAt(160, 50), full = pictureAt(160, 50);
    EXPECT_EQ(half & 0xFF, ((full & 0xFF) * 127) >> 8); // 0.5 * 255.99 = 127.995: k = 127
    EXPECT_EQ(frameChecksum(), 0x90c297c7ea33b00bull) << std::hex << frameChecksum();

    renderAt(500.0f);
    dump("opening_5s");
    EXPECT_EQ(pixelAt(160, 50), pictureAt(160, 50));
    // The logo is added, not copied: its dark middle row leaves the picture beneath visible.
    EXPECT_EQ(pixelAt(40, 180), pictureAt(40, 180));
    EXPECT_EQ(frameChecksum(), 0xd5851d588e87c583ull) << std::hex << frameChecksum();

    // Without sync value 3 it never leaves the fade.
    syncValue = 4; // a sync event of another value
    ++syncCount;
    renderAt(900.0f);
    EXPECT_EQ(opening.mode, OpeningPicture::kFadingIn);
}

TEST_F(OpeningPictureTest, SyncThreeSweepsAnEmbossedBandAcrossOnce) {
    renderAt(300.0f);
    syncValue = 3;
    ++syncCount;
    showTime = 2000.0f;
    opening.render();
    EXPECT_EQ(opening.mode, OpeningPicture::kSweeping);
    EXPECT_EQ(opening.startTime, 2000);
    // d = trunc(t * 0.625 - 50): wholly off screen at the start, column 135 half way.
    EXPECT_EQ(OpeningPicture::bandColumn(0.0f), -50);
    EXPECT_EQ(OpeningPicture::bandColumn(296.0f), 135);
    EXPECT_EQ(pixelAt(0, 100), pictureAt(0, 100));
    EXPECT_EQ(pixelAt(1, 100), pictureAt(1, 100));

    renderAt(296.0f);
    dump("opening_sweep_half");
    for (int y : {0, 1, 100, 198, 199}) {
        EXPECT_EQ(pixelAt(135, y), kBandFrame) << y;
        EXPECT_EQ(pixelAt(184, y), kBandFrame) << y;
        EXPECT_EQ(pixelAt(134, y), pictureAt(134, y)) << y;
        EXPECT_EQ(pixelAt(185, y), pictureAt(185, y)) << y;
    }
    EXPECT_EQ(pixelAt(150, 0), kBandFrame);
    EXPECT_EQ(pixelAt(150, 199), kBandFrame);
    EXPECT_EQ(frameChecksum(), 0x413266a0172cf686ull) << std::hex << frameChecksum();

    // Sync value 3 seen again does not restart the band.
    renderAt(400.0f);
    EXPECT_EQ(opening.startTime, 2000);

    // Partly off the left edge: only the on-screen part is filtered and framed.
    renderAt(48.0f); // d = -20
    dump("opening_sweep_left");
    EXPECT_EQ(pixelAt(29, 50), kBandFrame);
    EXPECT_EQ(pixelAt(30, 50), pictureAt(30, 50));
    EXPECT_NE(pixelAt(0, 50), kBandFrame);
    // Past the right edge the picture shows untouched again, logo aside.
    renderAt(700.0f); // d = 387
    EXPECT_EQ(pixelAt(319, 50), pictureAt(319, 50));
}

TEST_F(PictureEffectTest, ClosingPictureShowsItsPictureEveryFrame) {
    ClosingPicture closing;
    closing.load();
    syncCount.store(5);
    showTime = 321.5f;
    closing.start();
    EXPECT_EQ(closing.startTime, 321);
    closing.render();
    dump("closing");
    const std::uint64_t first = frameChecksum();
    for (int y = 0; y < 200; y += 13)
        for (int x = 0; x < 320; x += 7) ASSERT_EQ(pixelAt(x, y), closing.bitmap.pixels[y * 320 + x]);
    showTime = 5000.0f;
    closing.render();
    EXPECT_EQ(frameChecksum(), first);
}
