#include "effects/tunnel_effect.h"

#include <string>

#include "core/screen.h"
#include "effects/show_state.h"
#include "effects/support/logo.h"
#include "effects/support/picture_prep.h"
#include "effects/support/zoom_pair.h"
#include "imagelib/bgl.h"
#include "platform/surface.h"
#include "render2d/tunnel_kernel.h"
#include "render2d/tunnel_table.h"

TunnelEffect tunnel;

namespace {

constexpr const char* kTablePath = "data/wormtab.dat";
constexpr const char* kFlareName = "flare.jpg";
constexpr const char* kTextureName = "orion.jpg";
constexpr unsigned kTexelMask = kTextureTexels - 1;

// The logo sits at the top right, then slides left by 6 pixels per hundredth of a second.
constexpr float kLogoSlideSpeed = 6.0f;
constexpr float kLogoFarOff = -1.0e6f; // well off screen, well inside an int

struct FlareStart {
    float radius, angle, sink;
};
constexpr FlareStart kFlareStarts[TunnelEffect::kFlareCount] = {
    {333, 1.5f, 200},  {300, 2.5f, 260},  {280, 4.5f, -300},  {260, 2.0f, -260}, {290, -2.5f, -220},
    {250, 3.5f, -180}, {290, 0.5f, -140}, {340, 0.15f, -100}, {320, 3.15f, -60}, {220, 3.15f, -20},
};

// The top-left 256x256 block of a converted 32-bit picture, whose pixels are the bytes
// (unused, red, green, blue), in framebuffer order with a fourth byte of 0. A picture smaller
// than the block ends the show instead of being read past its end.
void copyBlock(const bglimage* picture, const char* name, std::vector<Pixel>& block) {
    if (picture->width < kTextureSide || picture->height < kTextureSide)
        failLoading(dataPath(name) + " is " + std::to_string(picture->width) + "x" +
                    std::to_string(picture->height) + " pixels; it must be at least 256x256");
    constexpr int kBytesPerPixel = 4;
    block.resize(kTextureTexels);
    for (int y = 0; y < kTextureSide; ++y) {
        const std::uint8_t* bytes =
            picture->image + static_cast<std::size_t>(y) * picture->width * kBytesPerPixel;
        for (int x = 0; x < kTextureSide; ++x, bytes += kBytesPerPixel)
            block[y * kTextureSide + x] = makePixel(bytes[1], bytes[2], bytes[3]);
    }
}

} // namespace

void TunnelEffect::load() {
    if (const std::string problem = readTunnelTable(kTablePath, table); !problem.empty())
        failLoading(problem);

    const OwnedPicture flare = readOwnJpeg(kFlareName);
    convertTo32Bits(flare.get());
    blurPictureMore(flare.get());
    copyBlock(flare.get(), kFlareName, flarePixels);

    const OwnedPicture orion = readOwnJpeg(kTextureName);
    convertTo32Bits(orion.get());
    tilePicture(orion.get());
    scalePicture(orion.get(), kTextureSide, kTextureSide);
    copyBlock(orion.get(), kTextureName, texture);

    frame = 0;
    turn = 0;
    for (int i = 0; i < kFlareCount; ++i)
        flares[i] =
            Flare(kFlareStarts[i].radius, kFlareStarts[i].angle, kFlareStarts[i].sink, flarePixels.data());
}

void TunnelEffect::start() {
    startTime = static_cast<int>(showTime);
    phase = 0;
    logoSlide.reset();
}

bool TunnelEffect::logoColumn(int& x) const {
    if (phase == 0) {
        x = kTopLogoX;
        return true;
    }
    if (phase == 1) {
        const float slid =
            static_cast<float>(kTopLogoX) - (showTime - static_cast<float>(phaseStartTime)) * kLogoSlideSpeed;
        x = static_cast<int>(std::max(slid, kLogoFarOff));
        return true;
    }
    return false;
}

void TunnelEffect::drawFrame(Pixel* screen) {
    if (table.size() != static_cast<std::size_t>(kScreenPixels) ||
        texture.size() != static_cast<std::size_t>(kTextureTexels))
        return; // not loaded
    frame = (frame + 1) & kTexelMask;
    turn = (turn - 1) & kTexelMask;
    drawTunnelBackground(screen, table.data(), texture.data(), frame * kTunnelRowStep + turn);
    for (Flare& flare : flares) flare.step(screen);

    drawReliefCorner(screen);

    int logoX = 0;
    if (logoColumn(logoX)) logo.drawAdd(screen, logoX, kTopLogoY);
}

void TunnelEffect::render() {
    if (logoSlide.arrived()) {
        ++phase;
        phaseStartTime = static_cast<int>(showTime);
    }
    auto* screen = static_cast<Pixel*>(backSurface->lock());
    drawFrame(screen);
    backSurface->unlock();
}
