// The loading screen and its progress bar, drawn with the generated font and logo.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "effects/show_state.h"
#include "effects/support/logo.h"
#include "imagelib/bgl.h"
#include "platform/console.h"
#include "platform/surface.h"
#include "resources/fatal_error.h"
#include "shell/loading_screen.h"
#include "shell_fakes.h"

using namespace shelltest;

namespace {

const Format kFormat(32, 0xff0000, 0xff00, 0xff, 0);
constexpr std::uint32_t kBackground = 0x00303030u;

[[noreturn]] void throwFatal(const char* title, const char* text) {
    throw std::runtime_error(std::string(title) + ": " + text);
}

class LoadingScreen : public ::testing::Test {
protected:
    void SetUp() override {
        setFatalErrorHandler(throwFatal);
        bgl_verbose_off();
        backSurface = new Surface(kScreenWidth, kScreenHeight, kFormat);
        createSharedObjects();
        console.open(window, kScreenWidth, kScreenHeight, kFormat, 0);
    }
    void TearDown() override {
        console.close();
        delete backSurface;
        backSurface = nullptr;
        setFatalErrorHandler(nullptr);
    }
    std::uint32_t at(int x, int y) const { return backSurface->pixels()[y * kScreenWidth + x]; }
    bool inLogo(int x, int y) const {
        return x >= 10 && x < 10 + logo.bitmap.width && y >= 170 && y < 170 + logo.bitmap.height;
    }

    WindowLog log;
    FakeWindow window{log};
    Console console;
};

} // namespace

TEST_F(LoadingScreen, DimmedHalfSizeCardAndTheLogoOnBlack) {
    ASSERT_FALSE(logo.bitmap.empty());
    ASSERT_NE(font, nullptr);
    backSurface->clear(Color(0, 0, 0, 1));
    drawLoadingScreen(console);
    EXPECT_EQ(log.presents, 1);
    int textPixels = 0;
    for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            const std::uint32_t p = at(x, y);
            if (x >= 80 && x < 240 && y >= 50 && y < 150) {
                // Grey text at no more than 80 per cent of white, fourth byte cleared.
                EXPECT_EQ(p >> 24, 0u);
                EXPECT_TRUE(((p >> 16) & 0xFF) == (p & 0xFF) && ((p >> 8) & 0xFF) == (p & 0xFF))
                    << x << ", " << y;
                EXPECT_LE(p & 0xFF, 204u);
                textPixels += p != 0;
            } else if (!inLogo(x, y)) {
                ASSERT_EQ(p, 0u) << x << ", " << y;
            }
        }
    }
    EXPECT_GT(textPixels, 200);
    EXPECT_EQ(log.lastFrame,
              std::vector<std::uint32_t>(backSurface->pixels(),
                                         backSurface->pixels() + kScreenWidth * kScreenHeight));
}

TEST_F(LoadingScreen, TheLogoIsAddedNotCopied) {
    backSurface->clear(Color(0x30 / 255.0f, 0x30 / 255.0f, 0x30 / 255.0f, 1));
    ASSERT_EQ(at(0, 0), kBackground);
    renderLoadingScreen();
    for (int y = 0; y < logo.bitmap.height; ++y) {
        for (int x = 0; x < logo.bitmap.width; ++x) {
            const std::uint32_t l = logo.bitmap.pixels[y * logo.bitmap.pitch + x];
            std::uint32_t want = 0;
            for (int shift = 0; shift < 24; shift += 8)
                want |= std::min<std::uint32_t>(((l >> shift) & 0xFF) + 0x30, 255) << shift;
            ASSERT_EQ(at(10 + x, 170 + y), want) << x << ", " << y;
        }
    }
}

TEST_F(LoadingScreen, TwelveBlocksGrowAcrossTheTop) {
    backSurface->clear(Color(0, 0, 0, 1));
    drawLoadingScreen(console);
    int x = kProgressStart;
    for (int step = 0; step < 12; ++step) drawProgress(console, &x, kProgressRow);
    EXPECT_EQ(x, 140);
    EXPECT_EQ(log.presents, 13);
    for (int block = 0; block < 12; ++block) {
        const int left = 20 + 10 * block;
        for (int row = 10; row < 14; ++row) {
            for (int k = 0; k < 8; ++k) EXPECT_EQ(at(left + k, row), static_cast<std::uint32_t>(16 * k));
            EXPECT_EQ(at(left + 8, row), 0u); // the gap
            EXPECT_EQ(at(left + 9, row), 0u);
        }
        EXPECT_EQ(at(left + 7, 9), 0u);
        EXPECT_EQ(at(left + 7, 14), 0u);
    }
    EXPECT_EQ(at(137, 13), 0x70u); // the last block ends at column 137
    EXPECT_EQ(at(140, 10), 0u);
}
