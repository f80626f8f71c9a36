// Material textures from the picture cache.
#include "engine3d/world_textures.h"
#include "imagelib/bgl.h"
#include "resources/fatal_error.h"
#include "resources/image_cache.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace {

[[noreturn]] void throwFatal(const char* title, const char* text) {
    throw std::runtime_error(std::string(title) + ": " + text);
}

// A data folder of this process's own, made the working folder while the test runs.
class TextureFolder : public ::testing::Test {
protected:
    void SetUp() override {
        previous = std::filesystem::current_path();
        folder =
            std::filesystem::path(::testing::TempDir()) / ("world_textures_" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder / "data");
        std::filesystem::current_path(folder);
        bgl_verbose_off();
        setFatalErrorHandler(throwFatal);
    }
    void TearDown() override {
        setFatalErrorHandler(nullptr);
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(folder);
    }
    static void writePicture(const char* name, int width, int height) {
        bglimage* p = bgl_create_image(uint16_t(width), uint16_t(height), 24, 0);
        ASSERT_NE(p, nullptr);
        for (int i = 0; i < width * height * 3; ++i) p->image[i] = uint8_t(i * 7);
        ASSERT_EQ(bgl_save_jpg((std::string("data/") + name).c_str(), p), 1);
        bgl_free_image(p);
    }

    std::filesystem::path previous, folder;
};

char* heapName(const char* name) {
    char* s = new char[std::strlen(name) + 1];
    std::strcpy(s, name);
    return s;
}

} // namespace

TEST_F(TextureFolder, SharedPicturesAreNeverReshaped) {
    writePicture("wide.jpg", 128, 64);
    writePicture("square.jpg", 256, 256);
    ImageCache cache;
    Material plain{}, wide{}, square{};
    plain.next = &wide;
    wide.next = &square;
    wide.texture_name = heapName("wide.jpg");
    square.texture_name = heapName("square.jpg");
    plain.texture = reinterpret_cast<bglimage*>(&plain); // stale: cleared
    World world{};
    world.materials = &plain;
    world_load_textures(&world, &cache);

    EXPECT_EQ(plain.texture, nullptr);
    bglimage* shared = cache.get("wide.jpg", "data/");
    // Converted for everyone, but its shape is left to whoever else holds it.
    EXPECT_EQ(shared->bits_per_pixel, 32);
    EXPECT_EQ(shared->width, 128);
    EXPECT_EQ(shared->height, 64);
    ASSERT_NE(wide.texture, nullptr);
    EXPECT_NE(wide.texture, shared);
    EXPECT_EQ(wide.texture->width, 256);
    EXPECT_EQ(wide.texture->height, 256);
    EXPECT_EQ(wide.texture->bits_per_pixel, 32);
    // A picture of the right shape is used as it is.
    EXPECT_EQ(square.texture, cache.get("square.jpg", "data/"));
    EXPECT_EQ(square.texture->bits_per_pixel, 32);

    delete[] wide.texture_name;
    delete[] square.texture_name;
}

TEST_F(TextureFolder, AMissingPictureEndsTheShow) {
    ImageCache cache;
    Material m{};
    m.texture_name = heapName("missing.jpg");
    World world{};
    world.materials = &m;
    EXPECT_THROW(world_load_textures(&world, &cache), std::runtime_error);
    delete[] m.texture_name;
}
