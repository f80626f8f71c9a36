// The console toolkit: surfaces, the console's copy and present, colours, the virtual clock.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "platform/color.h"
#include "platform/console.h"
#include "platform/error.h"
#include "platform/surface.h"
#include "platform/timer.h"
#include "platform/view_fit.h"
#include "platform/window.h"

namespace {

class RecordingWindow : public Window {
public:
    void attachConsole(int w, int h, bool full) override {
        width = w;
        height = h;
        fullscreen = full;
    }
    void present(const std::uint32_t* pixels, int w, int h, int) override {
        frames.emplace_back(pixels, pixels + w * h);
    }
    int width = 0, height = 0;
    bool fullscreen = false;
    std::vector<std::vector<std::uint32_t>> frames;

protected:
    void pumpEvents() override {}
};

const Format kScreen(32, 0xff0000, 0xff00, 0xff, 0);

} // namespace

TEST(Surface, LockGivesRowsOfExactPitchAndClearFillsEveryPixel) {
    Surface surface(320, 200, kScreen);
    EXPECT_EQ(surface.pitch(), 1280);
    auto* pixels = static_cast<std::uint32_t*>(surface.lock());
    pixels[0] = 0x123456;
    pixels[320 * 200 - 1] = 0xabcdef;
    surface.unlock();
    EXPECT_EQ(surface.pixels()[0], 0x123456u);

    surface.clear(Color(0, 0, 0, 1));
    for (int i = 0; i < 320 * 200; ++i) ASSERT_EQ(surface.pixels()[i], 0u);
    surface.clear(Color(1.0f, 0.5f, 0.0f, 1.0f));
    EXPECT_EQ(surface.pixels()[777], 0xff8000u);
}

TEST(Surface, MisuseThrowsTheToolkitError) {
    EXPECT_THROW(Surface(0, 200, kScreen), Error);
    EXPECT_THROW(Surface(320, 200, Format(16, 0xf800, 0x7e0, 0x1f, 0)), Error);
    Surface surface(4, 4, kScreen);
    EXPECT_THROW(surface.unlock(), Error);
    surface.lock();
    EXPECT_THROW(surface.lock(), Error);
    Console console;
    RecordingWindow window;
    console.open(window, 4, 4, kScreen);
    EXPECT_THROW(surface.copy(console), Error); // still locked
    surface.unlock();
    Surface wrongSize(8, 4, kScreen);
    EXPECT_THROW(wrongSize.copy(console), Error);
}

TEST(Console, OptionsChooseTheModeAndUpdatePresentsTheCopiedSurface) {
    Console console;
    EXPECT_TRUE(console.option("DirectX"));
    EXPECT_TRUE(console.option("windowed output"));
    EXPECT_FALSE(console.option("no such option"));
    RecordingWindow window;
    console.open(window, 320, 200, kScreen, 0);
    EXPECT_TRUE(console.option("disable key buffering"));
    EXPECT_EQ(window.width, 320);
    EXPECT_FALSE(window.fullscreen);
    EXPECT_THROW(console.open(window, 320, 200, kScreen), Error);

    Surface surface(320, 200, kScreen);
    surface.clear(Color(0, 0, 1, 1));
    surface.copy(console);
    console.update();
    ASSERT_EQ(window.frames.size(), 1u);
    EXPECT_EQ(window.frames[0][12345], 0x0000ffu);

    console.close();
    EXPECT_THROW(console.update(), Error);
}

TEST(Color, ChannelsClampAndNaNIsBlack) {
    EXPECT_EQ(Color(2.0f, -1.0f, 0.0f, 1.0f).pixel(), 0xff0000u);
    float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(Color(nan, nan, nan, 1.0f).pixel(), 0u);
}

TEST(Timer, FixedStepIsTheVirtualClock) {
    Timer timer(1.0 / 60.0);
    timer.start();
    EXPECT_EQ(timer.delta(), 1.0 / 60.0);
    EXPECT_EQ(timer.delta(), 1.0 / 60.0);
    Timer real;
    real.start();
    EXPECT_GE(real.delta(), 0.0);
}

TEST(Window, MessagesComeOutInTheOrderPosted) {
    RecordingWindow window;
    window.postMessage({MessageKind::KeyDown, 65});
    window.postQuitMessage();
    Message m;
    ASSERT_TRUE(window.peekMessage(m));
    EXPECT_EQ(m.kind, MessageKind::KeyDown);
    ASSERT_TRUE(window.peekMessage(m));
    EXPECT_EQ(m.kind, MessageKind::Quit);
    EXPECT_FALSE(window.peekMessage(m));
}

TEST(DisplayAspect, ThePictureKeepsFourToThreeInAnyWindow) {
    auto same = [](ViewRect a, ViewRect b) {
        return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
    };
    EXPECT_TRUE(same(fitDisplayAspect(320, 200), {27, 0, 266, 200}));      // the first window: pillarboxed
    EXPECT_TRUE(same(fitDisplayAspect(1920, 1080), {240, 0, 1440, 1080})); // a wide desktop
    EXPECT_TRUE(same(fitDisplayAspect(800, 1000), {0, 200, 800, 600}));    // a tall window: letterboxed
    EXPECT_TRUE(same(fitDisplayAspect(640, 480), {0, 0, 640, 480}));
}
