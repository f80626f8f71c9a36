#include "imagelib/bgl_jpeg.h"
#include "resources/fatal_error.h"
#include "resources/image_cache.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

namespace {

struct FatalErrorShown {
    std::string title, text;
};

void throwFatalError(const char* title, const char* text) {
    throw FatalErrorShown{title, text};
}

// Each test gets its own folder of pictures (ctest runs cases in parallel) and a handler that
// throws instead of ending the process.
class ImageCacheTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("hv-cache-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder);
        prefix = folder.string() + "/";
        previous = setFatalErrorHandler(throwFatalError);
        bgl_clear_errors();
        ::testing::internal::CaptureStdout();
        bgl_verbose_off();
        ::testing::internal::GetCapturedStdout();
    }
    void TearDown() override {
        setFatalErrorHandler(previous);
        std::filesystem::remove_all(folder);
    }

    void writeJpeg(const std::string& name, uint16_t width, uint16_t height) {
        bglimage* image = bgl_create_image(width, height, 24, 0);
        ASSERT_EQ(bgl_save_jpg((prefix + name).c_str(), image), 1);
        bgl_free_image(image);
    }

    // Runs `get`, expecting it to end the show; returns the box's text.
    std::string failedGet(ImageCache& cache, const char* name) {
        try {
            cache.get(name, prefix.c_str());
        } catch (const FatalErrorShown& shown) {
            EXPECT_EQ(shown.title, "BGL error!");
            return shown.text;
        }
        ADD_FAILURE() << "no error box for " << name;
        return "";
    }

    std::filesystem::path folder;
    std::string prefix;
    FatalErrorHandler previous = nullptr;
};

} // namespace

TEST_F(ImageCacheTest, SharesOneRecordPerExactName) {
    writeJpeg("pic.jpg", 8, 8);
    writeJpeg("Pic.jpg", 8, 8);
    ImageCache cache;
    ::testing::internal::CaptureStdout();
    bglimage* first = cache.get("pic.jpg", prefix.c_str());
    bglimage* again = cache.get("pic.jpg", "no/such/folder/");
    bglimage* otherCase = cache.get("Pic.jpg", prefix.c_str());
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "found image pic.jpg\n");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, again);
    EXPECT_NE(first, otherCase);

    ImageCache::setQuiet(true);
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(cache.get("pic.jpg", prefix.c_str()), first);
    ImageCache::setQuiet(false);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
}

TEST_F(ImageCacheTest, ReleaseFreesOnlyKnownNames) {
    writeJpeg("a.jpg", 4, 4);
    ImageCache cache;
    cache.get("a.jpg", prefix.c_str());
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(cache.release("b.jpg"), 1);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "image to be freed (b.jpg) was not found!");
    EXPECT_EQ(cache.release("a.jpg"), 0);
    EXPECT_EQ(cache.release("a.jpg"), 1);
    ::testing::internal::CaptureStdout();
    EXPECT_NE(cache.get("a.jpg", prefix.c_str()), nullptr); // read again, not "found"
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
}

TEST_F(ImageCacheTest, FailedReadsShowTheErrorBox) {
    // Unreadable files show the reader's message; names without a reader (too short, mixed-case
    // or unknown ending) are failed reads too, and none of them leaves an entry behind.
    std::ofstream(prefix + "broken.jpg") << "not a picture";
    writeJpeg("mixed.Jpg", 4, 4);
    ImageCache cache;
    EXPECT_EQ(failedGet(cache, "broken.jpg"), "JPG: Unsupported file format");
    EXPECT_EQ(failedGet(cache, "missing.pcx"), "PCX: File not found");
    EXPECT_EQ(failedGet(cache, "mixed.Jpg"), "Image cache: No reader for this file ending");
    EXPECT_EQ(failedGet(cache, "jpg"), "Image cache: Picture name too short");
    EXPECT_EQ(failedGet(cache, ""), "Image cache: Picture name too short");
    EXPECT_EQ(failedGet(cache, "notes.txt"), "Image cache: No reader for this file ending");
    ::testing::internal::CaptureStdout();
    cache.printStats();
    EXPECT_NE(::testing::internal::GetCapturedStdout().find("there are 0 files loaded\n"), std::string::npos);
}

TEST_F(ImageCacheTest, StatisticsListEveryPictureInLoadingOrder) {
    writeJpeg("one.jpg", 64, 32);
    writeJpeg("two.jpg", 1024, 1024);
    ImageCache cache;
    cache.get("one.jpg", prefix.c_str());
    cache.get("two.jpg", prefix.c_str());
    const std::string expected = "\nfiles loaded:\none.jpg\tsize: 6144\ntwo.jpg\tsize: 3145728\n"
                                 "there are 2 files loaded\nthey use 3.01 mb\n";
    ::testing::internal::CaptureStdout();
    cache.printStats();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), expected);

    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    ASSERT_TRUE(cache.writeStats());
    std::stringstream written;
    written << std::ifstream("imgstats.txt").rdbuf();
    std::filesystem::current_path(cwd);
    EXPECT_EQ(written.str(), expected);
}

TEST(FatalErrorTest, DefaultHandlerPrintsAndExitsWithCodeOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    setFatalErrorHandler(nullptr);
    bgl_push_error("PCX: File not found");
    EXPECT_EXIT(bglErrorBox(), ::testing::ExitedWithCode(1), "BGL error!\nPCX: File not found");
}
