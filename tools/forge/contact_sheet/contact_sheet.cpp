#include "forge/contact_sheet/contact_sheet.h"

#include "capture/still_picture.h"

#include "forge/pictures/picture_set.h"
#include "imagelib/bgl_convert.h"
#include "imagelib/bgl_image.h"
#include "imagelib/bgl_jpeg.h"
#include "imagelib/bgl_pcx.h"
#include "resources/bitmap_font.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace forge {

namespace {

constexpr int kColumns = 5;
constexpr int kCellWidth = 220;
constexpr int kPictureHeight = 150;
constexpr int kLabelHeight = 22;
constexpr int kCellHeight = kPictureHeight + kLabelHeight;
constexpr int kGap = 8;
constexpr int kSheetQuality = 90;
constexpr uint8_t kBackground[3] = {22, 22, 30};
constexpr uint8_t kFrame[3] = {70, 70, 90};
constexpr int kTextureSide = 256;

// The sheet as red, green, blue bytes.
struct Sheet {
    int width, height;
    std::vector<uint8_t> rgb;
    uint8_t* at(int x, int y) { return &rgb[(size_t(y) * size_t(width) + size_t(x)) * 3]; }
};

// A picture read back as red, green, blue rows.
struct Rgb {
    int width = 0, height = 0;
    std::vector<uint8_t> pixels;
};

std::string loadPicture(const std::string& path, Rgb* out) {
    const bool pcx = path.size() > 4 && path.compare(path.size() - 4, 4, ".pcx") == 0;
    bglimage* image = pcx ? bgl_load_pcx(path.c_str()) : bgl_load_jpg(path.c_str());
    if (!image) return path + ": " + (bgl_last_error() ? bgl_last_error() : "cannot read");
    if (!bgl_convert_to_32bit(image)) {
        bgl_free_image(image);
        return path + ": " + bgl_last_error();
    }
    out->width = image->width;
    out->height = image->height;
    out->pixels.resize(size_t(out->width) * size_t(out->height) * 3);
    // 32-bit library order: an unused byte, then red, green, blue.
    for (size_t i = 0; i < size_t(out->width) * size_t(out->height); ++i)
        for (int c = 0; c < 3; ++c) out->pixels[i * 3 + size_t(c)] = image->image[i * 4 + 1 + size_t(c)];
    bgl_free_image(image);
    return {};
}

// Box-filtered reduction of a picture into a w x h area of the sheet at (x, y).
void drawScaled(Sheet& sheet, const Rgb& picture, int x, int y, int w, int h) {
    for (int ty = 0; ty < h; ++ty)
        for (int tx = 0; tx < w; ++tx) {
            const int sx0 = tx * picture.width / w, sx1 = std::max(sx0 + 1, (tx + 1) * picture.width / w);
            const int sy0 = ty * picture.height / h, sy1 = std::max(sy0 + 1, (ty + 1) * picture.height / h);
            unsigned sum[3] = {0, 0, 0}, count = 0;
            for (int sy = sy0; sy < sy1; ++sy)
                for (int sx = sx0; sx < sx1; ++sx, ++count)
                    for (int c = 0; c < 3; ++c)
                        sum[c] +=
                            picture.pixels[(size_t(sy) * size_t(picture.width) + size_t(sx)) * 3 + size_t(c)];
            uint8_t* out = sheet.at(x + tx, y + ty);
            for (int c = 0; c < 3; ++c) out[c] = uint8_t((sum[c] + count / 2) / count);
        }
}

void drawFrame(Sheet& sheet, int x, int y, int w, int h) {
    for (int i = -1; i <= w; ++i) {
        std::copy_n(kFrame, 3, sheet.at(x + i, y - 1));
        std::copy_n(kFrame, 3, sheet.at(x + i, y + h));
    }
    for (int j = -1; j <= h; ++j) {
        std::copy_n(kFrame, 3, sheet.at(x - 1, y + j));
        std::copy_n(kFrame, 3, sheet.at(x + w, y + j));
    }
}

// The label at half the font's size: each 2x2 block of the text picture averaged.
void drawLabel(Sheet& sheet, const BitmapFont& font, const std::string& text, int x, int y, int maxWidth) {
    bglimage* image = font.makeTextImage(text.c_str());
    if (!image) return;
    const int w = std::min(image->width / 2, maxWidth), h = image->height / 2;
    for (int ty = 0; ty < h; ++ty)
        for (int tx = 0; tx < w; ++tx) {
            unsigned sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += image->image[((size_t(ty) * 2 + size_t(k / 2)) * image->width + size_t(tx) * 2 +
                                     size_t(k % 2)) *
                                    4];
            uint8_t* out = sheet.at(x + tx, y + ty);
            const unsigned level = sum / 4;
            for (int c = 0; c < 3; ++c) out[c] = uint8_t(std::max<unsigned>(out[c], level));
        }
    bgl_free_image(image);
}

// What the tunnel table makes of the tunnel texture: each screen pixel's texel.
std::string tunnelPreview(const std::string& dataDir, Rgb* out) {
    std::ifstream in(dataDir + "/wormtab.dat", std::ios::binary);
    const std::vector<uint8_t> table((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    constexpr int kWidth = 320, kHeight = 200;
    if (table.size() != size_t(kWidth) * kHeight * 2) return dataDir + "/wormtab.dat: not 128000 bytes";
    Rgb texture;
    if (std::string error = loadPicture(dataDir + "/orion.jpg", &texture); !error.empty()) return error;
    out->width = kWidth;
    out->height = kHeight;
    out->pixels.resize(size_t(kWidth) * kHeight * 3);
    for (size_t i = 0; i < size_t(kWidth) * kHeight; ++i) {
        const int texel = table[2 * i] | (table[2 * i + 1] << 8);
        const int tx = (texel & 0xFF) * texture.width / kTextureSide,
                  ty = (texel >> 8) * texture.height / kTextureSide;
        for (int c = 0; c < 3; ++c)
            out->pixels[i * 3 + size_t(c)] =
                texture.pixels[(size_t(ty) * size_t(texture.width) + size_t(tx)) * 3 + size_t(c)];
    }
    return {};
}

} // namespace

std::string writeContactSheet(const std::string& sheetPath, const std::string& dataDir) {
    const std::string fontPath = dataDir + "/rel2.aff";
    BitmapFont font;
    if (!font.load(fontPath.c_str())) return fontPath + ": cannot read the font";

    struct Entry {
        std::string label;
        Rgb picture;
    };
    std::vector<Entry> entries;
    for (const PictureRecipe& recipe : pictureRecipes()) {
        Entry entry;
        if (std::string error = loadPicture(dataDir + "/" + recipe.name, &entry.picture); !error.empty())
            return error;
        entry.label = std::string(recipe.name) + " " + std::to_string(entry.picture.width) + "x" +
                      std::to_string(entry.picture.height);
        entries.push_back(std::move(entry));
    }
    Entry tunnel;
    if (std::string error = tunnelPreview(dataDir, &tunnel.picture); !error.empty()) return error;
    tunnel.label = "wormtab.dat with orion.jpg";
    entries.push_back(std::move(tunnel));

    const int rows = (int(entries.size()) + kColumns - 1) / kColumns;
    Sheet sheet{kGap + kColumns * (kCellWidth + kGap), kGap + rows * (kCellHeight + kGap), {}};
    sheet.rgb.resize(size_t(sheet.width) * size_t(sheet.height) * 3);
    for (size_t i = 0; i < sheet.rgb.size(); ++i) sheet.rgb[i] = kBackground[i % 3];

    for (size_t i = 0; i < entries.size(); ++i) {
        const Rgb& picture = entries[i].picture;
        const int cellX = kGap + int(i % kColumns) * (kCellWidth + kGap);
        const int cellY = kGap + int(i / kColumns) * (kCellHeight + kGap);
        // Fit inside the cell, never enlarged, keeping the shape.
        int w = std::min(picture.width, kCellWidth - 2), h = picture.height * w / picture.width;
        if (h > kPictureHeight - 2) {
            h = kPictureHeight - 2;
            w = std::max(1, picture.width * h / picture.height);
        }
        const int x = cellX + (kCellWidth - w) / 2, y = cellY + 1 + (kPictureHeight - 2 - h) / 2;
        drawScaled(sheet, picture, x, y, w, h);
        drawFrame(sheet, x, y, w, h);
        drawLabel(sheet, font, entries[i].label, cellX + 2, cellY + kPictureHeight + 4, kCellWidth - 4);
    }

    StillFormat format;
    if (!stillFormatFor(sheetPath, format)) return sheetPath + ": " + kStillEndings;
    std::string error;
    if (!writeStill(sheetPath, format, sheet.rgb.data(), sheet.width, sheet.height, kSheetQuality, error))
        return "cannot write " + sheetPath + ": " + error;
    return {};
}

} // namespace forge
