#include "render2d/lit_grid.h"

#include "render2d/grid_blocks_wide.h"

namespace {

const std::array<Pixel, kTextureTexels> kBlackTexture{};

} // namespace

LitGrid::LitGrid(bglimage* picture_) : picture(picture_) {}

LitGrid::~LitGrid() = default;

int LitGrid::addLight(float x, float y, float z, float red, float green, float blue, float exponent) {
    if (lightCount >= kMaxGridLights) return 0;
    lights[lightCount] = std::make_unique<GridLight>(GridLight{x, y, z, red, green, blue, exponent});
    return ++lightCount;
}

const Pixel* LitGrid::texels() const {
    if (!picture || !picture->image || picture->bits_per_pixel != kScreenDepth ||
        static_cast<long>(picture->width) * picture->height < kTextureTexels)
        return kBlackTexture.data();
    return reinterpret_cast<const Pixel*>(picture->image);
}

void LitGrid::drawLit(Pixel* dst) const {
    walkGridBlocksWide(corners, texels(), dst, LitWrite{}, LitWriteWide{});
}

void LitGrid::drawLitAdd(Pixel* dst) const {
    walkGridBlocksWide(corners, texels(), dst, LitAddWrite{}, LitAddWriteWide{});
}

void LitGrid::drawLitMasked(Pixel* dst, const Pixel* background) const {
    walkGridBlocksWide(corners, texels(), dst, LitMaskedWrite{background}, LitMaskedWriteWide{background});
}
