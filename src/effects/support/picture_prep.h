#pragma once
// Preparing pictures for drawing. Every step runs one picture-library operation and ends the show
// through the "BGL error!" box when it fails, so no effect ever draws from a missing buffer.
#include <cstdint>
#include <memory>
#include <string>

struct bglimage;

// A picture of the effect's own (not from the cache), freed when dropped.
struct PictureDeleter {
    void operator()(bglimage* picture) const;
};
using OwnedPicture = std::unique_ptr<bglimage, PictureDeleter>;

// Where the show's file `name` lies: "data/" and the name.
std::string dataPath(const char* name);
// Ends the show with the picture library's "BGL error!" box showing `text`.
[[noreturn]] void failLoading(const std::string& text);

// The shared picture `name` under "data/" from the image cache; never null.
bglimage* fetchPicture(const char* name);
// Reads a JPEG picture of the effect's own under "data/" (not shared through the cache); never
// null.
OwnedPicture readOwnJpeg(const char* name);

// A picture that is not 32 bits deep yet is converted and brought into the framebuffer's byte
// order; one that is (shared and already prepared by another effect) is left alone.
void prepareForScreen(bglimage* picture);
// fetchPicture, then prepareForScreen.
bglimage* fetchScreenPicture(const char* name);

// The order of a texture recipe's first two steps: it decides how the picture's colours are
// sampled by the scaling.
enum class TextureOrder { ScaleThenConvert, ConvertThenScale };
// A texture softened with a blur after tiling, or left sharp.
enum class TextureSoftening { None, Blur };

struct TextureRecipe {
    TextureOrder order = TextureOrder::ScaleThenConvert;
    TextureSoftening softening = TextureSoftening::None;
};

// The picture `name` from the image cache as a 256x256, 32-bit, tileable texture in framebuffer
// order. Unless it is already 32 bits deep (prepared by an earlier effect that shares it): scaled
// to 256x256 and converted to 32 bits in the recipe's order, made tileable, softened when asked,
// and brought into framebuffer order.
bglimage* prepareTexture(const char* name, TextureRecipe recipe = {});

// A texture the 3D fillers read as 256x256 32-bit texels; anything else would be read past its
// end, so the show ends with a message naming the file instead.
void requireTexture(const bglimage* picture, const char* name);

void convertTo32Bits(bglimage* picture);
void scalePicture(bglimage* picture, std::uint16_t width, std::uint16_t height);
void tilePicture(bglimage* picture);
void blurPicture(bglimage* picture);
void blurPictureMore(bglimage* picture);
