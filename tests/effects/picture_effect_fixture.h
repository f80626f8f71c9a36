#pragma once
// A data folder of small pictures made by the test itself, the shared show objects the effects
// draw with, and frame checksums. The effects read "data/..." relative to the working folder, so
// the fixture works from a folder of its own.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include <unistd.h>

#include "core/screen.h"
#include "effects/show_state.h"
#include "effects/support/logo.h"
#include "forge/pcx/pcx_encoder.h"
#include "imagelib/bgl.h"
#include "platform/format.h"
#include "platform/surface.h"
#include "render2d/tunnel_table.h"
#include "resources/fatal_error.h"
#include "resources/image_cache.h"

namespace effect_test {

// Each show-sized picture is a smooth pattern the eye can check in a dump.
using Shade = std::function<void(int x, int y, std::uint8_t rgb[3])>;

inline void writeJpeg(const std::string& path, int width, int height, const Shade& shade) {
    bglimage* picture =
        bgl_create_image(static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height), 24, 0);
    ASSERT_NE(picture, nullptr);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            shade(x, y, picture->image + (static_cast<size_t>(y) * width + x) * 3);
    ASSERT_EQ(bgl_save_jpg(path.c_str(), picture), 1);
    bgl_free_image(picture);
}

inline void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

// A failed load ends the show through the fatal handler; here it throws its text instead.
[[noreturn]] inline void throwFatal(const char* title, const char* text) {
    throw std::runtime_error(std::string(title) + ": " + text);
}

inline std::uint64_t checksum(const std::uint32_t* pixels, size_t count) {
    std::uint64_t hash = 1469598103934665603ull; // FNV-1a
    for (size_t i = 0; i < count; ++i) {
        for (int b = 0; b < 4; ++b) {
            hash ^= (pixels[i] >> (8 * b)) & 0xFF;
            hash *= 1099511628211ull;
        }
    }
    return hash;
}

class PictureEffectTest : public ::testing::Test {
protected:
    void SetUp() override {
        previousFolder = std::filesystem::current_path();
        // Named by test and process: other builds and worktrees run the same tests at the same time.
        folder = std::filesystem::path(::testing::TempDir()) /
                 ("effects_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                  "_" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder / "data");
        std::filesystem::current_path(folder);
        setFatalErrorHandler(throwFatal);
        bgl_verbose_off();
        writeContent();

        backSurface = new Surface(kScreenWidth, kScreenHeight, Format(32, 0xff0000, 0xff00, 0xff, 0));
        imageCache = new ImageCache();
        showTime = 0.0f;
        syncValue = 0;
        syncCount.store(0);
        logo.load();
    }

    void TearDown() override {
        logo.picture = nullptr;
        logo.bitmap = Bitmap();
        delete imageCache;
        imageCache = nullptr;
        delete backSurface;
        backSurface = nullptr;
        setFatalErrorHandler(nullptr);
        std::filesystem::current_path(previousFolder);
        std::filesystem::remove_all(folder);
    }

    // The pictures every effect of these tests reads; a test may overwrite one before loading.
    void writeContent() {
        // Logo: a 60x20 orange-to-blue bar, dark in its middle row.
        std::vector<std::uint8_t> logoRgb(60 * 20 * 3);
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 60; ++x) {
                std::uint8_t* p = &logoRgb[(y * 60 + x) * 3];
                const bool dark = y == 10;
                p[0] = dark ? 0 : static_cast<std::uint8_t>(255 - x * 4);
                p[1] = dark ? 0 : 120;
                p[2] = dark ? 0 : static_cast<std::uint8_t>(x * 4);
            }
        }
        writeBytes("data/zklogo.pcx", forge::encodePcx24(60, 20, logoRgb.data()));
        writeJpeg("data/320girl2.jpg", 320, 200, [](int x, int y, std::uint8_t rgb[3]) {
            rgb[0] = static_cast<std::uint8_t>(x * 255 / 319);
            rgb[1] = static_cast<std::uint8_t>(y * 255 / 199);
            rgb[2] = static_cast<std::uint8_t>(((x / 40 + y / 40) % 2) * 160 + 40);
        });
        writeJpeg("data/corpse2.jpg", 320, 200, [](int x, int y, std::uint8_t rgb[3]) {
            const int d = (x - 160) * (x - 160) + (y - 100) * (y - 100);
            rgb[0] = static_cast<std::uint8_t>(d < 6400 ? 220 : 30);
            rgb[1] = static_cast<std::uint8_t>(y);
            rgb[2] = 90;
        });
        writeJpeg("data/flare.jpg", 256, 256, [](int x, int y, std::uint8_t rgb[3]) {
            const int d = (x - 128) * (x - 128) + (y - 128) * (y - 128);
            const int v = d >= 128 * 128 ? 0 : 160 - d * 160 / (128 * 128);
            rgb[0] = static_cast<std::uint8_t>(v);
            rgb[1] = static_cast<std::uint8_t>(v * 3 / 4);
            rgb[2] = static_cast<std::uint8_t>(v / 2);
        });
        writeJpeg("data/orion.jpg", 300, 200, [](int x, int y, std::uint8_t rgb[3]) {
            rgb[0] = static_cast<std::uint8_t>((x * 7) ^ (y * 5));
            rgb[1] = static_cast<std::uint8_t>(x ^ y);
            rgb[2] = static_cast<std::uint8_t>(128 + (x % 50) + (y % 30));
        });
        // A tunnel-like table: angle around the centre as the column, inverse distance as the row.
        std::vector<std::uint8_t> table(kTunnelTableBytes);
        for (int y = 0; y < kScreenHeight; ++y) {
            for (int x = 0; x < kScreenWidth; ++x) {
                const int dx = x - 160, dy = y - 100;
                const int column = (dx == 0 && dy == 0)
                                       ? 0
                                       : static_cast<int>(std::atan2(dy, dx) * 128 / 3.14159265 + 256) & 255;
                const int row = (4096 / (1 + static_cast<int>(std::sqrt(dx * dx + dy * dy)))) & 255;
                const int texel = row * 256 + column;
                const size_t i = static_cast<size_t>(y * kScreenWidth + x) * 2;
                table[i] = static_cast<std::uint8_t>(texel & 0xFF);
                table[i + 1] = static_cast<std::uint8_t>(texel >> 8);
            }
        }
        writeBytes("data/wormtab.dat", table);
    }

    const std::uint32_t* frame() const { return backSurface->pixels(); }
    std::uint32_t pixelAt(int x, int y) const { return frame()[y * kScreenWidth + x]; }
    std::uint64_t frameChecksum() const {
        return checksum(frame(), static_cast<size_t>(kScreenWidth) * kScreenHeight);
    }

    // With HV_DUMP_FRAMES set to a folder, every frame checked is also written there (as PPM) to
    // be looked at.
    void dump(const std::string& name) const {
        const char* dir = std::getenv("HV_DUMP_FRAMES");
        if (dir == nullptr) return;
        const std::string path = std::string(dir) + "/" + name + ".ppm";
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr) return;
        std::fprintf(file, "P6\n%d %d\n255\n", kScreenWidth, kScreenHeight);
        for (int i = 0; i < kScreenWidth * kScreenHeight; ++i) {
            const std::uint32_t p = frame()[i];
            const unsigned char rgb[3] = {static_cast<unsigned char>(p >> 16),
                                          static_cast<unsigned char>(p >> 8), static_cast<unsigned char>(p)};
            std::fwrite(rgb, 1, 3, file);
        }
        std::fclose(file);
    }

    std::filesystem::path previousFolder;
    std::filesystem::path folder;
};

} // namespace effect_test
