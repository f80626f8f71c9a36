// The window's first size and the sharp scaler's two stages, on the desktops people have.
#include <gtest/gtest.h>

#include "platform/sharp_scale.h"
#include "platform/window_size.h"

TEST(WindowSize, TheLargestWholeFourThreeStepThatFitsWithItsDecorations) {
    struct Case {
        const char* desktop;
        int usableWidth, usableHeight, frameWidth, frameHeight;
        int width, height;
    };
    const Case cases[] = {
        {"1920x1080, a panel and a title bar", 1920, 1048, 2, 37, 1280, 960},
        {"1920x1080 at 125% (1536x864 points)", 1536, 832, 2, 37, 960, 720},
        {"1366x768 laptop", 1366, 728, 2, 37, 640, 480},
        {"1280x720", 1280, 690, 2, 30, 640, 480},
        {"1280x1024: the borders leave 1278 across", 1280, 994, 2, 30, 960, 720},
        {"2560x1440", 2560, 1410, 2, 37, 1600, 1200},
        {"3840x2160", 3840, 2130, 2, 37, 2560, 1920},
        {"800x600", 800, 570, 2, 30, 640, 480},
        {"smaller than one step", 300, 200, 2, 30, 320, 240},
        {"a title bar taller than the desktop", 320, 240, 0, 400, 320, 240},
    };
    for (const Case& c : cases) {
        const WindowSize size = windowSizeFor(c.usableWidth, c.usableHeight, c.frameWidth, c.frameHeight);
        EXPECT_EQ(size.width, c.width) << c.desktop;
        EXPECT_EQ(size.height, c.height) << c.desktop;
        EXPECT_EQ(size.width * 3, size.height * 4) << c.desktop;
    }
}

TEST(SharpScale, WholeStageThenTheRestForCommonOutputs) {
    struct Case {
        int outputWidth, outputHeight;
        ViewRect target;
        int factor;
    };
    const Case cases[] = {
        {1280, 960, {0, 0, 1280, 960}, 4},     // the default window on a 1080-line desktop
        {960, 720, {0, 0, 960, 720}, 3},       // the same at 125%
        {1920, 1080, {240, 0, 1440, 1080}, 4}, // full screen: 1280x800, then x1.125 and x1.35
        {1366, 768, {171, 0, 1024, 768}, 3},
        {1280, 1024, {0, 32, 1280, 960}, 4},
        {2560, 1440, {320, 0, 1920, 1440}, 6}, // 1920x1200: only the height is stretched
        {3840, 2160, {480, 0, 2880, 2160}, 9},
        {200, 150, {0, 0, 200, 150}, 1}, // smaller than the picture: the second stage shrinks
    };
    for (const Case& c : cases) {
        const ScalePlan plan = planScale(Scaler::Sharp, c.outputWidth, c.outputHeight, 320, 200);
        EXPECT_EQ(plan.target.x, c.target.x) << c.outputWidth << "x" << c.outputHeight;
        EXPECT_EQ(plan.target.y, c.target.y) << c.outputWidth << "x" << c.outputHeight;
        EXPECT_EQ(plan.target.width, c.target.width) << c.outputWidth << "x" << c.outputHeight;
        EXPECT_EQ(plan.target.height, c.target.height) << c.outputWidth << "x" << c.outputHeight;
        EXPECT_EQ(plan.factor, c.factor) << c.outputWidth << "x" << c.outputHeight;
        EXPECT_EQ(plan.stageWidth, 320 * c.factor);
        EXPECT_EQ(plan.stageHeight, 200 * c.factor);
    }
    // Nearest and smooth go straight to the same place, with no stage.
    for (Scaler straight : {Scaler::Nearest, Scaler::Smooth}) {
        const ScalePlan plan = planScale(straight, 1920, 1080, 320, 200);
        EXPECT_EQ(plan.factor, 0);
        EXPECT_EQ(plan.target.width, 1440);
    }
}

TEST(SharpScale, TheStageIsTheLargestWholeFactorThatFitsAndTheRendererHolds) {
    for (int width = 1; width < 4000; width += 37) {
        for (int height = 1; height < 3000; height += 29) {
            const ScalePlan plan = planScale(Scaler::Sharp, width, height, 320, 200);
            ASSERT_GE(plan.factor, 1);
            ASSERT_LE(plan.target.width, width);
            ASSERT_LE(plan.target.height, height);
            if (plan.factor > 1) {
                ASSERT_LE(plan.stageWidth, plan.target.width) << width << "x" << height;
                ASSERT_LE(plan.stageHeight, plan.target.height) << width << "x" << height;
            }
            const int bigger = plan.factor + 1;
            ASSERT_TRUE(320 * bigger > plan.target.width || 200 * bigger > plan.target.height)
                << width << "x" << height;
        }
    }
    const ScalePlan capped = planScale(Scaler::Sharp, 3840, 2160, 320, 200, 2048);
    EXPECT_EQ(capped.factor, 6); // 1920x1200 within a 2048-texel renderer
    const ScalePlan none = planScale(Scaler::Sharp, 0, 0, 320, 200);
    EXPECT_EQ(none.factor, 1); // a minimised window: nothing to see, nothing to break
}
