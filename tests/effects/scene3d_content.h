#pragma once
// The material of the two 3D scenes for the effect tests: the generated .3ds files and small
// pictures of the names the scenes read, written into the fixture's data folder.
#include <gtest/gtest.h>

#include <string>

#include "forge/pcx/pcx_encoder.h"
#include "forge/scenes/scene_files.h"
#include "picture_effect_fixture.h"

namespace effect_test {

inline void writeScene(const char* name, const Scene3ds& scene) {
    std::string error;
    ASSERT_TRUE(save_3ds(std::string("data/") + name, scene, &error)) << error;
}

inline void writeGoldContent() {
    writeScene(forge::kGoldSceneFile, forge::makeGoldScene());
    // Panels for the tunnel, a warm gradient for the gold: both scaled to 256x256 on load.
    writeJpeg("data/bonnmcga.jpg", 200, 150, [](int x, int y, std::uint8_t rgb[3]) {
        const bool line = x % 25 < 2 || y % 25 < 2;
        rgb[0] = static_cast<std::uint8_t>(line ? 250 : 60 + x / 4);
        rgb[1] = static_cast<std::uint8_t>(line ? 200 : 40 + y / 3);
        rgb[2] = static_cast<std::uint8_t>(line ? 120 : 90);
    });
    writeJpeg("data/goldmap.jpg", 300, 300, [](int x, int y, std::uint8_t rgb[3]) {
        const int v = (x + y) * 255 / 598;
        rgb[0] = static_cast<std::uint8_t>(120 + v / 2);
        rgb[1] = static_cast<std::uint8_t>(80 + v / 3);
        rgb[2] = static_cast<std::uint8_t>(20 + (x % 60));
    });
}

inline void writeMetaballContent() {
    writeScene(forge::kMetaballSceneFile, forge::makeMetaballScene());
    writeJpeg("data/galakse.jpg", 256, 256, [](int x, int y, std::uint8_t rgb[3]) {
        rgb[0] = static_cast<std::uint8_t>(x);
        rgb[1] = static_cast<std::uint8_t>(y / 2);
        rgb[2] = static_cast<std::uint8_t>(255 - x / 2);
    });
    writeJpeg("data/galak2.jpg", 320, 200, [](int x, int y, std::uint8_t rgb[3]) {
        rgb[0] = static_cast<std::uint8_t>(x / 4);
        rgb[1] = static_cast<std::uint8_t>(10);
        rgb[2] = static_cast<std::uint8_t>(y / 2 + 20);
    });
    // A column of discs on black: black is the overlay's transparent colour.
    std::vector<std::uint8_t> rgb(130 * 200 * 3, 0);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 130; ++x) {
            const int dy = y % 66 - 33, dx = x - 65;
            if (dx * dx + dy * dy < 900) {
                std::uint8_t* p = &rgb[(y * 130 + x) * 3];
                p[0] = 200;
                p[1] = 180;
                p[2] = static_cast<std::uint8_t>(100 + y / 2);
            }
        }
    writeBytes("data/test3.pcx", forge::encodePcx24(130, 200, rgb.data()));
}

} // namespace effect_test
