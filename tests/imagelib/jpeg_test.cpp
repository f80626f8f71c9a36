#include "image_test_support.h"

#include "forge/pcx/pcx_encoder.h"
#include "imagelib/bgl_convert.h"
#include "imagelib/bgl_jpeg.h"

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

using namespace testsupport;

using JpegTest = ImageTest;

namespace {

// A smooth colour picture, which JPEG keeps closely.
ImagePtr smoothPicture(uint16_t width, uint16_t height) {
    ImagePtr image(bgl_create_image(width, height, 24, 0));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = image->image + (size_t(y) * width + x) * 3;
            p[0] = uint8_t(x * 255 / width);
            p[1] = uint8_t(y * 255 / height);
            p[2] = uint8_t(128 + (x - y) / 4);
        }
    return image;
}

// A one-component JPEG written with libjpeg directly (the library only writes colour).
void writeGrayJpeg(const std::string& path, int width, int height) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(file);
    jpeg_stdio_dest(&info, file);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = 1;
    info.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(width));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) row[size_t(x)] = uint8_t((x + y) * 4);
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&info, &r, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(file);
}

std::vector<uint8_t> asPpm(const bglimage* image) {
    const std::string header =
        "P6\n" + std::to_string(image->width) + " " + std::to_string(image->height) + "\n255\n";
    std::vector<uint8_t> out(header.begin(), header.end());
    const std::vector<uint8_t> body = pixels(image);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

} // namespace

TEST_F(JpegTest, SaveThenLoadStaysWithinTolerance) {
    // Tolerance: at quality 90 no byte of a smooth picture moves by more than 12.
    ImagePtr picture = smoothPicture(64, 48);
    const std::string path = scratchPath("round.jpg");
    bgl_set_jpeg_quality(90);
    ASSERT_EQ(bgl_save_jpg(path.c_str(), picture.get()), 1) << bgl_last_error();
    bgl_set_jpeg_quality(75);

    ::testing::internal::CaptureStdout();
    bgl_verbose_on();
    ImagePtr loaded(bgl_load_jpg(path.c_str()));
    bgl_verbose_off();
    const std::string log = ::testing::internal::GetCapturedStdout();
    ASSERT_TRUE(loaded) << bgl_last_error();
    EXPECT_NE(log.find("JPG: dimensions: 64x48x24bit\n"), std::string::npos) << log;
    EXPECT_EQ(loaded->bits_per_pixel, 24);
    EXPECT_EQ(loaded->palette_size, 0);
    const std::vector<uint8_t> a = pixels(picture.get()), b = pixels(loaded.get());
    ASSERT_EQ(a.size(), b.size());
    int worst = 0;
    for (size_t i = 0; i < a.size(); ++i) worst = std::max(worst, std::abs(a[i] - b[i]));
    EXPECT_LE(worst, 12);
}

TEST_F(JpegTest, ThirtyTwoBitSavesLikeItsTwentyFourBitConversion) {
    ImagePtr rgb = smoothPicture(33, 17);
    ImagePtr wide(bgl_duplicate_image(rgb.get()));
    ASSERT_EQ(bgl_convert_to_32bit(wide.get()), 1);
    for (uint64_t i = 0; i < bgl_image_bytes(wide.get()); i += 4) wide->image[i] = 0x5A; // unused byte
    const std::string a = scratchPath("a24.jpg"), b = scratchPath("b32.jpg");
    ASSERT_EQ(bgl_save_jpg(a.c_str(), rgb.get()), 1);
    ASSERT_EQ(bgl_save_jpg(b.c_str(), wide.get()), 1);
    EXPECT_EQ(readBytes(a), readBytes(b));
}

TEST_F(JpegTest, ColourDecodeMatchesDjpegByteForByte) {
    if (!haveProgram("djpeg")) GTEST_SKIP() << "djpeg (libjpeg-turbo-progs) not installed";
    ImagePtr picture = smoothPicture(101, 67); // odd sizes exercise the chroma edges
    const std::string jpg = scratchPath("djpeg.jpg"), ppm = scratchPath("djpeg.ppm");
    ASSERT_EQ(bgl_save_jpg(jpg.c_str(), picture.get()), 1);
    ASSERT_EQ(runShell("djpeg -ppm -outfile " + ppm + " " + jpg), 0);
    ImagePtr loaded(bgl_load_jpg(jpg.c_str()));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(asPpm(loaded.get()), readBytes(ppm));
}

TEST_F(JpegTest, GreyscaleGivesEightBitsWithGreyRamp) {
    const std::string path = scratchPath("gray.jpg");
    writeGrayJpeg(path, 24, 16);
    ImagePtr image(bgl_load_jpg(path.c_str()));
    ASSERT_TRUE(image) << bgl_last_error();
    EXPECT_EQ(image->bits_per_pixel, 8);
    ASSERT_EQ(image->palette_size, 256);
    for (int i : {0, 1, 128, 255}) {
        EXPECT_EQ(image->palette[i * 3], i);
        EXPECT_EQ(image->palette[i * 3 + 2], i);
    }
    EXPECT_NEAR(image->image[size_t(15) * 24 + 23], (15 + 23) * 4, 6);
}

TEST_F(JpegTest, BrokenFilesFailCleanly) {
    // Not a JPEG (a PCX under a .jpg name), a cut-off header, an empty file and a missing file.
    const std::string pcx = scratchPath("really.jpg");
    const std::vector<uint8_t> rgb(16 * 3, 7);
    writeBytes(pcx, forge::encodePcx24(4, 4, rgb.data()));
    EXPECT_FALSE(ImagePtr(bgl_load_jpg(pcx.c_str())));
    EXPECT_STREQ(bgl_last_error(), "JPG: Unsupported file format");

    const std::string good = scratchPath("whole.jpg"), cut = scratchPath("cut.jpg");
    ImagePtr picture = smoothPicture(16, 16);
    ASSERT_EQ(bgl_save_jpg(good.c_str(), picture.get()), 1);
    std::vector<uint8_t> bytes = readBytes(good);
    bytes.resize(100);
    writeBytes(cut, bytes);
    bgl_clear_errors();
    EXPECT_FALSE(ImagePtr(bgl_load_jpg(cut.c_str())));
    EXPECT_STREQ(bgl_last_error(), "JPG: Unsupported file format");

    bgl_clear_errors();
    EXPECT_FALSE(ImagePtr(bgl_decode_jpg(bytes.data(), 0)));
    EXPECT_STREQ(bgl_last_error(), "JPG: Unsupported file format");

    EXPECT_FALSE(ImagePtr(bgl_load_jpg(scratchPath("missing.jpg").c_str())));
    EXPECT_STREQ(bgl_last_error(), "JPG: File not found");
}

TEST_F(JpegTest, DecoderRefusesPicturesBeyondItsLimits) {
    const std::string path = scratchPath("limits.jpg");
    ImagePtr picture = smoothPicture(40, 30);
    ASSERT_EQ(bgl_save_jpg(path.c_str(), picture.get()), 1);
    const std::vector<uint8_t> bytes = readBytes(path);
    BglReadLimits limits;
    limits.maxSide = 32;
    EXPECT_FALSE(ImagePtr(bgl_decode_jpg(bytes.data(), bytes.size(), limits)));
    EXPECT_STREQ(bgl_last_error(), "JPG: Image too large");
    EXPECT_TRUE(ImagePtr(bgl_decode_jpg(bytes.data(), bytes.size())));
}

TEST_F(JpegTest, WriterRefusesDepthsItCannotStoreWithoutCreatingAFile) {
    const std::string path = scratchPath("refused.jpg");
    ImagePtr sixteen(bgl_create_image(4, 4, 16, 0));
    EXPECT_EQ(bgl_save_jpg(path.c_str(), sixteen.get()), 0);
    EXPECT_STREQ(bgl_last_error(), "JPG: Unknown image type");
    ImagePtr indexed(bgl_create_image(4, 4, 8, 2));
    EXPECT_EQ(bgl_save_jpg(path.c_str(), indexed.get()), 0);
    EXPECT_STREQ(bgl_last_error(), "JPG: Indexed color images not supported");
    EXPECT_FALSE(std::filesystem::exists(path));

    ImagePtr rgb = smoothPicture(4, 4);
    EXPECT_EQ(bgl_save_jpg(scratchPath("no/such/folder.jpg").c_str(), rgb.get()), 0);
    EXPECT_STREQ(bgl_last_error(), "JPG: Cannot open file for writing");
}

TEST_F(JpegTest, WriteFailureIsReportedNotFatal) {
    // A full device: libjpeg's write error comes back as a failed save instead of ending the process.
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    ImagePtr picture = smoothPicture(256, 256);
    EXPECT_EQ(bgl_save_jpg("/dev/full", picture.get()), 0);
    EXPECT_STREQ(bgl_last_error(), "JPG: Could not write file");
}
