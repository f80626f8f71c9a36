#include "image_test_support.h"
#include "memory_limit.h"

#include "imagelib/bgl_image.h"

#include <cstdlib>
#include <cstring>

using namespace testsupport;

using ImageCoreTest = ImageTest;

namespace {
constexpr std::size_t kMemoryLimit = std::size_t(2) << 30;

// In a child whose memory is used up: the old buffers are released, then the new palette cannot
// be had.
[[noreturn]] void reshapeBeyondAddressSpace() {
    if (!limitMemory(kMemoryLimit)) std::exit(2);
    bglimage* image = bgl_create_image(4, 4, 8, 16);
    for (size_t chunk = size_t(1) << 20; chunk >= 64; chunk /= 2) {
        void* volatile held; // volatile: the compiler may not drop these allocations
        while ((held = std::malloc(chunk)) != nullptr) {}
    }
    const int changed = bgl_change_attributes(4, 4, 8, 65535, image);
    const bool cleared = image->image == nullptr && image->palette == nullptr;
    bgl_free_image(image);
    std::exit(changed == 0 && cleared ? 0 : 1);
}
} // namespace

TEST_F(ImageCoreTest, CreateSizesBuffersFromDepthRoundedUpToBytes) {
    ImagePtr screen(bgl_create_image(320, 200, 32, 0));
    ASSERT_TRUE(screen);
    EXPECT_EQ(bgl_image_bytes(screen.get()), 256000u);
    EXPECT_EQ(pixels(screen.get()), std::vector<uint8_t>(256000, 0));

    ImagePtr oneBit(bgl_create_image(10, 1, 1, 0));
    EXPECT_EQ(bgl_image_bytes(oneBit.get()), 10u);

    ImagePtr paletted(bgl_create_image(4, 4, 8, 256));
    EXPECT_EQ(std::vector<uint8_t>(paletted->palette, paletted->palette + 768), std::vector<uint8_t>(768, 0));
}

TEST_F(ImageCoreTest, SizesAreComputedIn64Bits) {
    // 65535 x 4 x 65535 overflows 32 bits; the size must not wrap to something small.
    EXPECT_EQ(bgl_image_bytes(65535, 65535, 32), uint64_t(65535) * 4 * 65535);
}

TEST_F(ImageCoreTest, DuplicateCopiesPixelsAndPalette) {
    ImagePtr source = patterned(5, 3, 8, 256);
    ImagePtr copy(bgl_duplicate_image(source.get()));
    ASSERT_TRUE(copy);
    EXPECT_NE(copy->image, source->image);
    EXPECT_EQ(pixels(copy.get()), pixels(source.get()));
    EXPECT_EQ(0, std::memcmp(copy->palette, source->palette, 768));

    ImagePtr noPalette = patterned(5, 3, 24);
    ImagePtr copy2(bgl_duplicate_image(noPalette.get()));
    EXPECT_EQ(copy2->palette_size, 0);
    EXPECT_EQ(pixels(copy2.get()), pixels(noPalette.get()));
}

TEST_F(ImageCoreTest, ChangeAttributesGivesFreshZeroedBuffers) {
    ImagePtr image = patterned(4, 4, 8, 256);
    ASSERT_EQ(bgl_change_attributes(3, 2, 24, 0, image.get()), 1);
    EXPECT_EQ(image->width, 3);
    EXPECT_EQ(image->height, 2);
    EXPECT_EQ(image->bits_per_pixel, 24);
    EXPECT_EQ(image->palette_size, 0);
    EXPECT_EQ(image->palette, nullptr); // the released palette is not left behind
    EXPECT_EQ(pixels(image.get()), std::vector<uint8_t>(18, 0));
}

// Fault: a failed reshape left the record pointing at buffers it had already freed, so the
// caller's bgl_free_image released them twice. Run in a child with a small address space so
// that the allocation really fails (the address sanitizer needs far more address space).
TEST_F(ImageCoreTest, FailedChangeAttributesLeavesNothingToFreeTwice) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "address space limits do not mix with the address sanitizer";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    GTEST_SKIP() << "address space limits do not mix with the address sanitizer";
#endif
#endif
    if (!memoryLimitsHold()) GTEST_SKIP() << "this system does not hold a process to a memory limit";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(reshapeBeyondAddressSpace(), ::testing::ExitedWithCode(0), "");
}

TEST_F(ImageCoreTest, ErrorStackKeepsOrderAndStartsOverWhenFull) {
    EXPECT_EQ(bgl_last_error(), nullptr);
    EXPECT_EQ(bgl_first_error(), nullptr);
    bgl_push_error("first");
    bgl_push_error("second");
    EXPECT_STREQ(bgl_last_error(), "second");
    EXPECT_STREQ(bgl_first_error(), "first");
    EXPECT_STREQ(bgl_next_error(), "second");
    EXPECT_EQ(bgl_next_error(), nullptr);
    EXPECT_EQ(bgl_next_error(), nullptr);

    bgl_clear_errors();
    for (int i = 0; i < 256; ++i) bgl_push_error("filler");
    EXPECT_EQ(bgl_error_count(), 256);
    bgl_push_error("overflow");
    EXPECT_EQ(bgl_error_count(), 1);
    EXPECT_STREQ(bgl_first_error(), "overflow");
}

TEST_F(ImageCoreTest, VerboseSwitchPrintsAlwaysAndGatesProgressLines) {
    ::testing::internal::CaptureStdout();
    bgl_verbose("hidden\n");
    bgl_verbose_on();
    EXPECT_EQ(bgl_is_verbose(), 1);
    bgl_verbose("shown %d\n", 7);
    bgl_verbose_off();
    EXPECT_EQ(bgl_is_verbose(), 0);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "BGL Verbose: ON\nshown 7\nBGL Verbose: OFF\n");

    ::testing::internal::CaptureStdout();
    bgl_print_banner();
    const std::string banner = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(banner.rfind("\nBramt Graphics Library v0.0.19 (", 0), 0u);

    // Quiet mode silences every line, also those printed in any other mode, and keeps the switch.
    ::testing::internal::CaptureStdout();
    bgl_set_quiet(1);
    bgl_verbose_on();
    bgl_verbose("hidden\n");
    bgl_print_banner();
    EXPECT_EQ(bgl_is_verbose(), 1);
    bgl_verbose_off();
    EXPECT_EQ(bgl_is_quiet(), 1);
    bgl_set_quiet(0);
    bgl_note("shown\n");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "shown\n");
    EXPECT_EQ(bgl_is_quiet(), 0);
}
