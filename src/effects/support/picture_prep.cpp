#include "effects/support/picture_prep.h"

#include <string>

#include "core/screen.h"
#include "effects/show_state.h"
#include "imagelib/bgl.h"
#include "resources/fatal_error.h"
#include "resources/image_cache.h"

namespace {

constexpr const char* kDataFolder = "data/";
constexpr const char* kErrorTitle = "BGL error!";

// A library operation's result: 0 is a failure with its message on the error stack.
void check(int result) {
    if (result == 0) bglErrorBox();
}

} // namespace

std::string dataPath(const char* name) {
    return std::string(kDataFolder) + name;
}

void failLoading(const std::string& text) {
    showFatalError(kErrorTitle, text.c_str());
}

bglimage* fetchPicture(const char* name) {
    bglimage* picture = imageCache != nullptr ? imageCache->get(name, kDataFolder) : nullptr;
    if (picture == nullptr) failLoading("could not load " + dataPath(name));
    return picture;
}

void PictureDeleter::operator()(bglimage* picture) const {
    bgl_free_image(picture);
}

OwnedPicture readOwnJpeg(const char* name) {
    const std::string path = dataPath(name);
    OwnedPicture picture(bgl_load_jpg(path.c_str()));
    if (!picture) bglErrorBox();
    return picture;
}

void prepareForScreen(bglimage* picture) {
    if (picture->bits_per_pixel == kScreenDepth) return;
    convertTo32Bits(picture);
    toScreenOrder(picture);
}

bglimage* fetchScreenPicture(const char* name) {
    bglimage* picture = fetchPicture(name);
    prepareForScreen(picture);
    return picture;
}

void requireTexture(const bglimage* picture, const char* name) {
    if (picture->width == kTextureSide && picture->height == kTextureSide &&
        picture->bits_per_pixel == kScreenDepth)
        return;
    failLoading(dataPath(name) + " must be a 256x256 picture here");
}

bglimage* prepareTexture(const char* name, TextureRecipe recipe) {
    bglimage* texture = fetchPicture(name);
    if (texture->bits_per_pixel == kScreenDepth) return texture;
    if (recipe.order == TextureOrder::ScaleThenConvert) {
        scalePicture(texture, kTextureSide, kTextureSide);
        convertTo32Bits(texture);
    } else {
        convertTo32Bits(texture);
        scalePicture(texture, kTextureSide, kTextureSide);
    }
    tilePicture(texture);
    if (recipe.softening == TextureSoftening::Blur) blurPicture(texture);
    toScreenOrder(texture);
    return texture;
}

void convertTo32Bits(bglimage* picture) {
    check(bgl_convert_to_32bit(picture));
}
void scalePicture(bglimage* picture, std::uint16_t width, std::uint16_t height) {
    check(bgl_scale_size(width, height, picture));
}
void tilePicture(bglimage* picture) {
    check(bgl_tiler(picture));
}
void blurPicture(bglimage* picture) {
    check(bgl_blur(picture));
}
void blurPictureMore(bglimage* picture) {
    check(bgl_blur_more(picture));
}
