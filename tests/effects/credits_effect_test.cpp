#include <gtest/gtest.h>

#include "effects/credits_effect.h"
#include "grid_effect_fixture.h"

using namespace grid_effect_test;

namespace {

class CreditsTest : public GridEffectTest {
protected:
    void SetUp() override {
        GridEffectTest::SetUp();
        texture = gridTexture();
        // Smaller than the screen: outside its 200x120 area the portrait reads as black.
        portrait = makePicture(200, 120, [](int x, int y) { return makePixel(200, x, y) | 0x01000000u; });
        slide =
            makePicture(100, 150, [](int x, int y) { return (x + y) % 5 == 0 ? 0u : makePixel(x, 90, y); });
        effect.build(texture.get(), portrait.get(), slide.get());
    }
    // Starts the credits at time start and renders one frame at start + age.
    void renderAt(float age, float start = 500.0f) {
        setTime(start);
        effect.start();
        setTime(start + age);
        effect.render();
    }

    OwnedPicture texture, portrait, slide;
    CreditsEffect effect;
};

} // namespace

TEST_F(CreditsTest, PagesTurnOnlyOnSync240AndSeveralEventsBetweenFramesTurnOne) {
    setTime(100);
    effect.start();
    effect.render();
    EXPECT_EQ(effect.phase, 0);
    sync(3); // another value: no page change
    effect.render();
    EXPECT_EQ(effect.phase, 0);
    sync(240);
    effect.render();
    effect.render();
    EXPECT_EQ(effect.phase, 1);
    sync(240);
    sync(240); // two events before the next frame
    effect.render();
    EXPECT_EQ(effect.phase, 2);
    sync(240);
    effect.render();
    sync(240);
    effect.render();
    EXPECT_EQ(effect.phase, 4);
    // Past the last page nothing is drawn: the back surface keeps what it held.
    const std::vector<Pixel> before = screen();
    setTime(900);
    effect.render();
    EXPECT_EQ(screen(), before);

    effect.start();
    EXPECT_EQ(effect.phase, 0);
    EXPECT_EQ(effect.startTime, 900);
}

TEST_F(CreditsTest, TheFirstPageStartsAsThePortraitAloneAndTheFlowerOpensOntoTheCorridor) {
    renderAt(0.0f);
    EXPECT_EQ(pixel(10, 10), makePixel(200, 10, 10));
    EXPECT_EQ(pixel(199, 119), makePixel(200, 199, 119));
    EXPECT_EQ(pixel(200, 10), 0u); // beyond the smaller portrait: black
    EXPECT_EQ(pixel(319, 199), 0u);

    // At d = 300 the table values below 100 - 31 show the corridor itself.
    renderAt(300.0f);
    std::vector<Pixel> corridor(kScreenWidth * kScreenHeight, 0);
    effect.grid->drawLit(corridor.data());
    int inside = 0, outside = 0;
    for (int i = 0; i < kScreenWidth * kScreenHeight; ++i) {
        const Pixel shown = backSurface->pixels()[i];
        if (effect.ringTable[i] < 100 - 31) {
            ASSERT_EQ(shown, corridor[i]) << i;
            ++inside;
        } else if (effect.ringTable[i] >= 100) {
            ASSERT_EQ(shown, i % kScreenWidth < 200 && i / kScreenWidth < 120
                                 ? makePixel(200, i % 320, i / 320)
                                 : 0u);
            ++outside;
        }
    }
    EXPECT_GT(inside, 1000);
    EXPECT_GT(outside, 1000);
}

TEST_F(CreditsTest, TheCorridorKeepsMovingLongAfterItsCameraPassesDepth40000) {
    effect.moveCorridor(5000.0f); // camera at z = 50,010
    const GridCorners before = effect.grid->corners;
    effect.moveCorridor(5010.0f);
    int changed = 0;
    for (int i = 0; i < kGridCorners; ++i)
        if (effect.grid->corners[i].around != before[i].around) ++changed;
    EXPECT_GT(changed, kGridCorners * 9 / 10);
}

TEST_F(CreditsTest, CreditLinesFadeByRowAndTheLastNameIsFullFromRow32) {
    auto renderPage = [&](int page, int position, int row) {
        setTime(100);
        effect.start();
        for (int i = 0; i < page; ++i) {
            sync(240);
            effect.render();
        }
        musicPosition = position;
        musicRow = row;
        setTime(700);
        effect.render();
        return screen();
    };
    auto sameBand = [](const std::vector<Pixel>& a, const std::vector<Pixel>& b, int top, int rows,
                       int right) {
        for (int y = top; y < top + rows; ++y)
            for (int x = 0; x < right; ++x)
                if (a[y * kScreenWidth + x] != b[y * kScreenWidth + x]) return false;
        return true;
    };
    // Page 2, position 2 at row 63: "[CODE]" has faded out to nothing, "BLEM" is fully in.
    const std::vector<Pixel> lastRow = renderPage(2, 6, 63);
    const std::vector<Pixel> noTextYet = renderPage(2, 0, 0); // "[CODE]" at level 0, nothing else
    EXPECT_TRUE(sameBand(lastRow, noTextYet, 10, 8, 170));
    EXPECT_FALSE(sameBand(lastRow, noTextYet, 110, 8, 170));
    EXPECT_TRUE(sameBand(lastRow, noTextYet, 160, 8, 170));

    // Page 3, position 3: "OKTAVIN" is at full strength from row 32 on, fainter before.
    const std::vector<Pixel> at32 = renderPage(3, 3, 32);
    const std::vector<Pixel> at50 = renderPage(3, 3, 50);
    const std::vector<Pixel> at16 = renderPage(3, 3, 16);
    EXPECT_TRUE(sameBand(at32, at50, 160, 8, 170));
    EXPECT_FALSE(sameBand(at16, at50, 160, 8, 170));
    // Meanwhile the slide picture leaves to the left from row 33.
    EXPECT_FALSE(sameBand(at32, at50, 0, 150, 320));
}

TEST_F(CreditsTest, StoredChecksumsOfOneFramePerPage) {
    std::vector<std::uint64_t> sums;
    setTime(100);
    effect.start();
    for (int page = 0; page < 4; ++page) {
        if (page > 0) sync(240);
        musicPosition = 5 + page;
        musicRow = 20 + 10 * page;
        setTime(400.0f + 250.0f * page);
        effect.render();
        sums.push_back(checksum(screen()));
    }
    EXPECT_EQ(sums, (std::vector<std::uint64_t>{3796527546831053607ull, 15507211658006259160ull,
                                                2595824999232795467ull, 12926248433957066306ull}));
}
