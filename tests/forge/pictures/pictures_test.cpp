#include "forge/pictures/picture_set.h"
#include "forge/test_files.h"
#include "imagelib/bgl_image.h"
#include "imagelib/bgl_jpeg.h"
#include "imagelib/bgl_pcx.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

struct ImageDeleter {
    void operator()(bglimage* image) const { bgl_free_image(image); }
};
using Image = std::unique_ptr<bglimage, ImageDeleter>;

bool isPcx(const std::string& name) {
    return name.size() > 4 && name.substr(name.size() - 4) == ".pcx";
}

Image load(const std::string& name) {
    const std::string path = forge_test::kDataDir + "/" + name;
    return Image(isPcx(name) ? bgl_load_pcx(path.c_str()) : bgl_load_jpg(path.c_str()));
}

// What each picture's role needs of its file.
struct Role {
    const char* name;
    int bitsPerPixel; // as the show's reader returns it
    int minWidth, maxWidth, minHeight, maxHeight;
};

constexpr int kAny = 4096;
const Role kRoles[] = {
    {"320girl2.jpg", 24, 320, 320, 200, 200}, {"corpse2.jpg", 24, 320, 320, 200, 200},
    {"corpse.pcx", 8, 320, 320, 200, 200},    {"zoom01t.jpg", 24, 512, 512, 512, 512},
    {"zoom2t.jpg", 8, 512, 512, 512, 512},    {"zoom3x.jpg", 24, 512, 512, 512, 512},
    {"hubsu2.jpg", 24, 64, kAny, 64, kAny},   {"galak2k.jpg", 24, 64, kAny, 64, kAny},
    {"pleisu2.jpg", 24, 64, kAny, 64, kAny},  {"spirsu2.jpg", 24, 64, kAny, 64, kAny},
    {"galakse.jpg", 24, 64, kAny, 64, kAny},  {"galak2.jpg", 24, 320, 320, 200, 200},
    {"test3.pcx", 24, 1, 130, 1, 200},        {"schap4.jpg", 24, 64, kAny, 64, kAny},
    {"bonnmcga.jpg", 24, 64, kAny, 64, kAny}, {"goldmap.jpg", 24, 64, kAny, 64, kAny},
    {"pleisu2m.jpg", 24, 64, kAny, 64, kAny}, {"sprayb3.pcx", 24, 320, 320, 200, 200},
    {"orion2.jpg", 24, 640, 640, 382, kAny},  {"orion5.jpg", 24, 640, 640, 382, kAny},
    {"flare.jpg", 24, 256, kAny, 256, kAny},  {"orion.jpg", 24, 64, kAny, 64, kAny},
    {"zklogo.pcx", 8, 1, 90, 1, 28},
};

// Width and height from a PNM header written by an outside decoder, or 0 x 0.
std::pair<int, int> decodeWith(const std::string& command) {
    std::FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe) return {0, 0};
    char magic[3] = {};
    int width = 0, height = 0;
    if (std::fscanf(pipe, "%2s %d %d", magic, &width, &height) != 3) width = height = 0;
    char sink[4096];
    while (std::fread(sink, 1, sizeof sink, pipe) > 0) {}
    const int status = pclose(pipe);
    return status == 0 ? std::make_pair(width, height) : std::make_pair(0, 0);
}

bool haveTool(const char* tool) {
    return std::system((std::string("command -v ") + tool + " >/dev/null").c_str()) == 0;
}

// Red, green, blue of pixel (x, y) of a 24-bit picture, or the palette colour of an 8-bit one.
const uint8_t* colourAt(const bglimage* image, int x, int y) {
    static uint8_t grey[3];
    const size_t i = size_t(y) * image->width + size_t(x);
    if (image->bits_per_pixel == 24) return image->image + i * 3;
    return image->palette_size ? image->palette + size_t(image->image[i]) * 3
                               : (grey[0] = grey[1] = grey[2] = image->image[i], grey);
}

int brightest(const bglimage* image, int x0, int y0, int x1, int y1) {
    int most = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const uint8_t* c = colourAt(image, x, y);
            most = std::max({most, int(c[0]), int(c[1]), int(c[2])});
        }
    return most;
}

// Mean luminance (0..255) of a rectangle, and the share of its pixels darker than `dark`.
struct Brightness {
    double mean = 0, darkShare = 0;
};
Brightness brightness(const bglimage* image, int x0, int y0, int x1, int y1, int dark = 30) {
    double sum = 0;
    long darkPixels = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const uint8_t* c = colourAt(image, x, y);
            const double l = 0.299 * c[0] + 0.587 * c[1] + 0.114 * c[2];
            sum += l;
            darkPixels += l < dark;
        }
    const double count = double(x1 - x0) * double(y1 - y0);
    return {sum / count, darkPixels / count};
}

} // namespace

TEST(Pictures, EveryRoleHasItsFileInTheRightFormatDepthAndSize) {
    ASSERT_EQ(std::size(kRoles), forge::pictureRecipes().size());
    for (const Role& role : kRoles) {
        SCOPED_TRACE(role.name);
        const Image image = load(role.name);
        ASSERT_TRUE(image) << (bgl_last_error() ? bgl_last_error() : "");
        EXPECT_EQ(image->bits_per_pixel, role.bitsPerPixel);
        EXPECT_GE(image->width, role.minWidth);
        EXPECT_LE(image->width, role.maxWidth);
        EXPECT_GE(image->height, role.minHeight);
        EXPECT_LE(image->height, role.maxHeight);
        if (isPcx(role.name) && role.bitsPerPixel == 8) {
            EXPECT_EQ(image->palette_size, 256);
        }
    }
}

TEST(Pictures, OutsideDecodersReadEveryFileAtTheSameSize) {
    const bool djpeg = haveTool("djpeg"), pcxtoppm = haveTool("pcxtoppm");
    if (!djpeg || !pcxtoppm) GTEST_SKIP() << "djpeg or pcxtoppm is not installed";
    for (const Role& role : kRoles) {
        SCOPED_TRACE(role.name);
        const std::string path = forge_test::kDataDir + "/" + role.name;
        const auto size = decodeWith((isPcx(role.name) ? "pcxtoppm " : "djpeg -pnm ") + path);
        const Image image = load(role.name);
        ASSERT_TRUE(image);
        EXPECT_EQ(size.first, image->width);
        EXPECT_EQ(size.second, image->height);
    }
}

// Black means "nothing" in the overlays: it must be pure black exactly where nothing is meant.
TEST(Pictures, OverlaysAreLightOnPureBlackWhereTheirRolesNeedIt) {
    const Image figure = load("corpse.pcx");
    ASSERT_TRUE(figure);
    EXPECT_EQ(brightest(figure.get(), 140, 0, 320, 200), 0) << "the figure strays right of column 140";
    EXPECT_GT(brightest(figure.get(), 0, 0, 140, 200), 200);
    for (int entry = 1; entry < 256; ++entry)
        EXPECT_NE(figure->palette[entry * 3 + 2], 0) << "entry " << entry;

    const Image spray = load("sprayb3.pcx");
    ASSERT_TRUE(spray);
    EXPECT_EQ(brightest(spray.get(), 0, 0, 30, 200), 0);
    EXPECT_GT(brightest(spray.get(), 30, 0, 320, 200), 200);

    const Image moons = load("test3.pcx");
    ASSERT_TRUE(moons);
    EXPECT_EQ(brightest(moons.get(), 0, 0, 8, 8), 0);
    EXPECT_GT(brightest(moons.get(), 0, 0, moons->width, moons->height), 150);

    const Image logo = load("zklogo.pcx");
    ASSERT_TRUE(logo);
    EXPECT_LE(brightest(logo.get(), 0, 0, logo->width, 1), 16);
    EXPECT_GT(brightest(logo.get(), 0, 0, logo->width, logo->height), 200);
}

// Additive sprites must fade to black before their edges, or their square outline shows.
TEST(Pictures, AdditiveSpritesAreDarkAtTheirEdgesAndBrightInside) {
    for (const char* name : {"zoom01t.jpg", "zoom2t.jpg", "zoom3x.jpg", "hubsu2.jpg", "galak2k.jpg",
                             "pleisu2.jpg", "spirsu2.jpg", "flare.jpg"}) {
        SCOPED_TRACE(name);
        const Image image = load(name);
        ASSERT_TRUE(image);
        const int w = image->width, h = image->height, border = 4;
        // JPEG ringing may leave a level or two.
        EXPECT_LE(brightest(image.get(), 0, 0, w, border), 6);
        EXPECT_LE(brightest(image.get(), 0, h - border, w, h), 6);
        EXPECT_LE(brightest(image.get(), 0, 0, border, h), 6);
        EXPECT_LE(brightest(image.get(), w - border, 0, w, h), 6);
        EXPECT_GT(brightest(image.get(), w / 4, h / 4, w * 3 / 4, h * 3 / 4), 180);
    }
}

// The tunnel and environment textures repeat: their opposite edges meet without a seam.
TEST(Pictures, TexturesTileWithoutSeams) {
    for (const char* name : {"galakse.jpg", "schap4.jpg", "bonnmcga.jpg", "pleisu2m.jpg", "orion.jpg"}) {
        SCOPED_TRACE(name);
        const Image image = load(name);
        ASSERT_TRUE(image);
        const int w = image->width, h = image->height;
        auto difference = [&](int x0, int y0, int x1, int y1, int dx, int dy, int count) {
            long sum = 0;
            for (int i = 0; i < count; ++i)
                for (int c = 0; c < 3; ++c)
                    sum += std::abs(colourAt(image.get(), x0 + dx * i, y0 + dy * i)[c] -
                                    colourAt(image.get(), x1 + dx * i, y1 + dy * i)[c]);
            return double(sum) / count;
        };
        // The step across the seam (last column to first) is like the step where the two halves
        // meet in the middle; in a picture that does not repeat it is several times larger.
        const double seamX = difference(w - 1, 0, 0, 0, 0, 1, h),
                     middleX = difference(w / 2 - 1, 0, w / 2, 0, 0, 1, h);
        const double seamY = difference(0, h - 1, 0, 0, 1, 0, w),
                     middleY = difference(0, h / 2 - 1, 0, h / 2, 1, 0, w);
        EXPECT_LE(seamX, middleX * 1.6 + 6);
        EXPECT_LE(seamY, middleY * 1.6 + 6);
    }
}

TEST(Pictures, TwoRunsWriteIdenticalBytes) {
    const std::string dir = forge_test::scratchPath(testing::TempDir(), "forge_pictures_again");
    std::filesystem::create_directories(dir);
    ASSERT_EQ(forge::writePictures(dir), "");
    for (const forge::PictureRecipe& recipe : forge::pictureRecipes()) {
        SCOPED_TRACE(recipe.name);
        const std::vector<uint8_t> again = forge_test::readFile(dir + "/" + recipe.name);
        EXPECT_FALSE(again.empty());
        EXPECT_TRUE(again == forge_test::readFile(forge_test::kDataDir + "/" + recipe.name));
    }
    std::filesystem::remove_all(dir);
}

// The grids multiply their textures by coloured lights that rarely reach full strength, the
// rippling surface's labels darken what lies beneath them, and the warps smear their pictures:
// content that looks rich on its own came out nearly black there.
TEST(Pictures, PicturesSeenThroughLightsAndRipplesAreBrightEnough) {
    const struct {
        const char* name;
        double mean;
    } kLit[] = {{"galakse.jpg", 100}, {"pleisu2m.jpg", 70}, {"bonnmcga.jpg", 110}};
    for (const auto& lit : kLit) {
        SCOPED_TRACE(lit.name);
        const Image image = load(lit.name);
        ASSERT_TRUE(image);
        EXPECT_GE(brightness(image.get(), 0, 0, image->width, image->height).mean, lit.mean);
    }
    // The part of the rippled pictures the warps' window wanders over.
    for (const char* name : {"orion2.jpg", "orion5.jpg"}) {
        SCOPED_TRACE(name);
        const Image image = load(name);
        ASSERT_TRUE(image);
        const Brightness window = brightness(image.get(), 110, 50, 610, 350);
        EXPECT_GE(window.mean, 60);
        EXPECT_LE(window.darkShare, 0.25);
    }
}

// The surface takes every spray pixel whose blue is not 0 in place of its own: faint paint drew
// dark rims round the strokes, and paint under the labels hid them.
TEST(Pictures, SprayPaintIsSolidAndLeavesTheLabelsOnTheSurface) {
    const Image spray = load("sprayb3.pcx");
    ASSERT_TRUE(spray);
    int faint = 0, underLabels = 0, painted = 0;
    for (int y = 0; y < spray->height; ++y)
        for (int x = 0; x < spray->width; ++x) {
            const uint8_t* c = colourAt(spray.get(), x, y);
            if (c[2] == 0) continue;
            ++painted;
            faint += std::max({c[0], c[1], c[2]}) < 120;
            underLabels += x >= 195 && x < 280 && y >= 10 && y < 150;
        }
    EXPECT_GT(painted, 2000);
    EXPECT_EQ(faint, 0);
    EXPECT_EQ(underLabels, 0);
}
