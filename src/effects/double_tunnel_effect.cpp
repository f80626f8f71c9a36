#include "effects/double_tunnel_effect.h"

#include <cmath>

#include "core/portable_math.h"
#include "effects/show_state.h"
#include "effects/support/logo.h"
#include "effects/support/picture_prep.h"
#include "platform/surface.h"

namespace {

constexpr float kInnerRadius = 100.0f;
constexpr float kOuterRadius = 200.0f;
constexpr float kInnerSpeed = 6.0f; // z units per hundredth of a second
constexpr float kOuterSpeed = 4.0f;
constexpr float kLeadLightXY = -100.0f;
constexpr int kLogoX = 10;
constexpr int kLogoY = 10;

// The lights run ahead of and behind the camera along the axis.
void placeLights(TunnelGrid& grid, float t, float speed) {
    grid.lights[0]->x = kLeadLightXY;
    grid.lights[0]->y = kLeadLightXY;
    grid.lights[0]->z = speed * t + 1000.0f * pmath::sin(0.005f * t);
    grid.lights[1]->z = speed * t + 1000.0f * pmath::cos(t / 180.0f);
    grid.lights[2]->z = speed * t + 1000.0f * pmath::sin(t / 220.0f + 0.4f);
}

} // namespace

void DoubleTunnelEffect::load() {
    bglimage* inner = prepareTexture("galakse.jpg");
    bglimage* outer = prepareTexture("schap4.jpg", {TextureOrder::ScaleThenConvert, TextureSoftening::Blur});
    build(inner, outer);
}

void DoubleTunnelEffect::build(bglimage* innerTexture_, bglimage* outerTexture_) {
    innerTexture = innerTexture_;
    outerTexture = outerTexture_;
    innerGrid = std::make_unique<TunnelGrid>(innerTexture, kInnerRadius);
    innerGrid->addLight(0, 0, 0, 1.0f, 0.4f, 0.7f, 1.0f);
    innerGrid->addLight(0, 0, 0, 0.0f, 1.0f, 0.5f, 1.0f);
    innerGrid->addLight(0, 0, 0, 0.6f, 0.0f, 1.0f, 1.0f);
    outerGrid = std::make_unique<TunnelGrid>(outerTexture, kOuterRadius);
    outerGrid->addLight(0, 0, 0, 1.0f, 0.4f, 0.7f, 0.8f);
    outerGrid->addLight(0, 0, 0, 0.0f, 1.0f, 0.5f, 1.0f);
    outerGrid->addLight(0, 0, 0, 0.6f, 0.0f, 1.0f, 1.0f);
}

void DoubleTunnelEffect::start() {
    startTime = static_cast<int>(showTime);
}

void DoubleTunnelEffect::drawFrame(Pixel* screen, float t) {
    const float a1 = pmath::cos(0.005f * t) * 0.3f - 0.15f;
    const float a2 = pmath::sin(t / 240.0f) * 0.5f;

    innerGrid->setPosition(0.0f, 0.0f, kInnerSpeed * t);
    innerGrid->setAngles(a1, a2, pmath::sin(0.00625f * t) * 3.14f);
    placeLights(*innerGrid, t, kInnerSpeed);
    innerGrid->compute();

    outerGrid->setPosition(0.0f, 0.0f, kOuterSpeed * t);
    outerGrid->setAngles(a1, a2, 0.0f);
    placeLights(*outerGrid, t, kOuterSpeed);
    outerGrid->compute();

    innerGrid->drawLit(screen);
    outerGrid->drawLitAdd(screen);
    logo.drawAdd(screen, kLogoX, kLogoY);
}

void DoubleTunnelEffect::render() {
    const float t = showTime - static_cast<float>(startTime);
    auto* screen = static_cast<Pixel*>(backSurface->lock());
    drawFrame(screen, t);
    backSurface->unlock();
}
