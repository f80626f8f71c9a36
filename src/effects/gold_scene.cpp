#include "effects/gold_scene.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/portable_math.h"
#include "core/screen.h"
#include "effects/show_state.h"
#include "effects/support/logo.h"
#include "effects/support/picture_prep.h"
#include "effects/support/show_math.h"
#include "engine3d/draw_list.h"
#include "engine3d/keyframes.h"
#include "engine3d/transform.h"
#include "engine3d/world_load.h"
#include "engine3d/world_memory.h"
#include "engine3d/world_textures.h"
#include "imagelib/bgl.h"
#include "platform/surface.h"
#include "resources/fatal_error.h"

namespace {

constexpr const char* kTunnelTextureName = "bonnmcga.jpg";
constexpr const char* kGoldMapName = "goldmap.jpg";
constexpr const char* kScenePath = "data/zelka2.3ds";
constexpr int kSceneBuckets = 30000;

// The tunnel: two cylinders of radius 800 about (0, -600) and (0, 600), three coloured lights.
constexpr float kCylinderOffset = 600.0f;
constexpr float kCylinderRadius = 800.0f;
struct TunnelLight {
    float red, green, blue, exponent;
};
constexpr TunnelLight kTunnelLights[] = {
    {0.8f, 0.3f, 1.0f, 1.2f},
    {0.7f, 1.0f, 0.3f, 1.4f},
    {1.0f, 0.5f, 0.3f, 1.1f},
};

// The object's glowing edges: blue, green and red added per pixel.
constexpr int kWireBlue = 8;
constexpr int kWireGreen = 16;
constexpr int kWireRed = 2;

// The trails: every pixel mixed half and half with a sample 3.5 pixels (16.16) nearer the centre.
constexpr int kSmearCentreX = 160;
constexpr int kSmearCentreY = 100;
constexpr int kSmearDistance = 229376;
constexpr int kSmearWeight = 128;

constexpr int kLogoX = 10;
constexpr int kLogoY = 10;

// Key frames advance one per 3 hundredths of a second, about 33 a second.
constexpr float kHundredthsPerKeyFrame = 3.0f;

} // namespace

GoldScene::~GoldScene() {
    world_free(&world);
}

void GoldScene::load() {
    tunnelTexture = prepareTexture(kTunnelTextureName);
    grid = std::make_unique<TwinTunnelGrid>(tunnelTexture, 0.0f, -kCylinderOffset, kCylinderRadius, 0.0f,
                                            kCylinderOffset, kCylinderRadius);
    for (const TunnelLight& l : kTunnelLights)
        grid->addLight(0.0f, 0.0f, 0.0f, l.red, l.green, l.blue, l.exponent);

    world_free(&world);
    world_load(&world, kScenePath, kSceneBuckets);
    world_load_textures(&world, imageCache);

    // Converted before scaling, unlike the tunnel's texture.
    goldMap = prepareTexture(kGoldMapName, {TextureOrder::ConvertThenScale});
    requireTexture(goldMap, kGoldMapName);

    trailBuffer.assign(size_t(kScreenWidth) * kScreenHeight, 0);
    trail = Bitmap(trailBuffer.data(), kScreenWidth, kScreenHeight);

    smear.buildOffsets(kSmearCentreX, kSmearCentreY, kSmearDistance);
    smear.setWeights(kSmearWeight, kSmearWeight);
    smear.setBounds(0, 0, kScreenWidth, kScreenHeight);
}

void GoldScene::start() {
    startTime = static_cast<int>(showTime);
    phase = 0;
    trails.reset();
}

void GoldScene::followSync() {
    if (trails.arrived()) ++phase;
}

void GoldScene::drawFrame(Pixel* screen) {
    if (!grid || !goldMap) return; // not loaded
    const float d = showTime - static_cast<float>(startTime);
    const float b = d;

    grid->setPosition(pmath::sin(0.0125f * b) * 20.0f + 10.0f, 0.0f, 10.0f * d);
    grid->setAngles(0.0f, pmath::cos(0.00625f * b - 0.2f) * 0.1f, 0.0f);
    grid->lights[0]->z = 10.0f * b + 1000.0f * pmath::sin(0.025f * b);
    grid->lights[1]->z = 10.0f * b + 1000.0f * pmath::cos(b / 30.0f);
    grid->lights[2]->z = 10.0f * b + 1000.0f * pmath::sin(b / 60.0f);
    grid->compute();
    grid->drawLit(screen);

    // No lighting pass: the gold map alone colours the object.
    world_animate(&world, keyFrameAt(b, kHundredthsPerKeyFrame));
    world_transform(&world);
    world_sort(&world);

    const uint32_t* gold = reinterpret_cast<const uint32_t*>(goldMap->image);
    if (phase == 0) {
        world_draw_envmapped(&world, screen, gold);
        world_draw_wire(&world, screen, kWireBlue, kWireGreen, kWireRed);
    } else if (phase == 1) {
        // The layer is never cleared: each frame's object lands on the smeared remains of the last.
        world_draw_envmapped(&world, trailBuffer.data(), gold);
        world_draw_wire(&world, trailBuffer.data(), kWireBlue, kWireGreen, kWireRed);
        smear.apply(trailBuffer.data());
        trail.drawAdd(screen, kScreenWidth, kScreenHeight, 0, 0);
    }
    logo.drawAdd(screen, kLogoX, kLogoY);
}

void GoldScene::render() {
    followSync();
    auto* screen = static_cast<Pixel*>(backSurface->lock());
    drawFrame(screen);
    backSurface->unlock();
}
