#include "effects/metaball_scene.h"

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
#include "engine3d/lighting.h"
#include "engine3d/matrix.h"
#include "engine3d/metaball.h"
#include "engine3d/transform.h"
#include "engine3d/world_load.h"
#include "engine3d/world_memory.h"
#include "engine3d/world_textures.h"
#include "imagelib/bgl.h"
#include "platform/surface.h"
#include "resources/fatal_error.h"

namespace {

constexpr const char* kScenePath = "data/metaxp4.3ds";
constexpr const char* kEnvMapName = "galakse.jpg";
constexpr const char* kBackgroundName = "galak2.jpg";
constexpr const char* kOverlayName = "test3.pcx";
constexpr int kSceneBuckets = 20000;
constexpr int kSurfaceRenderType = 2; // environment-mapped
constexpr float kSurfaceScale = 5.0f;

// The fixed charges sit at the corners of a cube of side 10.
constexpr MetaballScene::Charge kCubeCharges[MetaballScene::kFixedCharges] = {
    {-5, -5, -5, 0}, {5, -5, -5, 0}, {5, 5, -5, 0},  {5, -5, 5, 0},
    {-5, 5, 5, 0},   {-5, -5, 5, 0}, {-5, 5, -5, 0}, {5, 5, 5, 0},
};
constexpr float kFixedStrength = 3.0f;
constexpr float kMovingStrength = 2.0f;
// Keeps a grid point at a charge's own position finite.
constexpr float kNearCharge = 0.0001f;
// The surface lies where the charges together reach this.
constexpr float kSurfaceLevel = 0.6f;
// Along x the wandering charges count a tenth: they are stretched into rods.
constexpr float kStretchX = 0.1f;
constexpr float kFieldScale = 255.0f;
constexpr float kFieldLimit = 255.0f;

constexpr int kOverlayX = 190;
constexpr int kOverlayY = 0;
constexpr int kLogoX = 10;
constexpr int kLogoY = 10;

// Key frames advance one per 6 hundredths of a second.
constexpr float kHundredthsPerKeyFrame = 6.0f;

// Grid positions are used truncated: -1.5 counts as -1, 1.5 as 1.
float truncated(float coordinate) {
    return std::trunc(coordinate);
}

float squared(float v) {
    return v * v;
}

Bitmap screenBitmap(bglimage* picture) {
    return Bitmap(reinterpret_cast<Pixel*>(picture->image), picture->width, picture->height);
}

} // namespace

MetaballScene::~MetaballScene() {
    world_free(&world);
}

EngineError MetaballScene::loadWorld(const char* path) {
    world_free(&world);
    if (EngineError error = world_try_load(&world, path, kSceneBuckets)) return error;
    if (!world.objects) {
        world_free(&world);
        return kMsgNoSurfaceObject;
    }
    surfaceMaterial = Material{};
    surfaceMaterial.render_type = kSurfaceRenderType;
    return nullptr;
}

void MetaballScene::load() {
    if (EngineError error = loadWorld(kScenePath)) engine_fail(error);
    world_load_textures(&world, imageCache);

    envMap = prepareTexture(kEnvMapName, {TextureOrder::ConvertThenScale});
    requireTexture(envMap, kEnvMapName);

    if (EngineError error = metaball_setup(world.objects, &surfaceMaterial)) engine_fail(error);
    computeStaticField();

    backgroundPicture = fetchScreenPicture(kBackgroundName);
    background = screenBitmap(backgroundPicture);
    overlayPicture = fetchScreenPicture(kOverlayName);
    overlay = screenBitmap(overlayPicture);
}

void MetaballScene::computeStaticField() {
    std::copy(std::begin(kCubeCharges), std::end(kCubeCharges), charges.begin());
    staticField.assign(kMetaballGridPoints, 0.0f);
    for (int i = 0; i < kMetaballGridPoints; ++i) {
        const GridPoint& p = metaball_grid[i];
        const float x = truncated(p.x), y = truncated(p.y), z = truncated(p.z);
        float sum = 0.0f;
        for (Charge& c : charges) {
            c.contribution =
                kFixedStrength / (squared(x - c.x) + squared(y - c.y) + squared(z - c.z) + kNearCharge);
            sum += c.contribution;
        }
        staticField[i] = sum - kSurfaceLevel;
    }
}

void MetaballScene::start() {
    metaball_reset();
    startTime = static_cast<int>(showTime);
}

void MetaballScene::updateField(float t) {
    if (staticField.size() != size_t(kMetaballGridPoints)) return; // not loaded
    // The first two charge records carry the wandering charges while rendering.
    Charge& a = charges[0];
    Charge& b = charges[1];
    a = Charge{0.0f, 6.0f * pmath::cos(t / 90.0f), 6.0f * pmath::sin(t / 130.0f), 0.0f};
    b = Charge{0.0f, 4.0f * pmath::cos(t / 170.0f + 0.6f), 4.0f * pmath::sin(t / 70.0f + 0.4f), 0.0f};
    for (int i = 0; i < kMetaballGridPoints; ++i) {
        GridPoint& p = metaball_grid[i];
        const float x = truncated(p.x), y = truncated(p.y), z = truncated(p.z);
        a.contribution = kMovingStrength /
                         (squared(y - a.y) + squared(z - a.z) + kStretchX * squared(x - a.x) + kNearCharge);
        b.contribution = kMovingStrength /
                         (squared(y - b.y) + squared(z - b.z) + kStretchX * squared(x - b.x) + kNearCharge);
        // Limited from above only: far from every charge the field sinks towards -0.6 * 255.
        p.value = std::min((a.contribution + b.contribution + staticField[i]) * kFieldScale, kFieldLimit);
    }
}

void MetaballScene::updateScene(float t) {
    if (!world.objects || staticField.size() != size_t(kMetaballGridPoints)) return; // not loaded
    updateField(t);
    Object* surface = world.objects;
    metaball_polygonise(surface, kSurfaceScale);
    world_animate(&world, keyFrameAt(t, kHundredthsPerKeyFrame));
    // Where the rotation track does not reach, this builds on the last frame's orientation.
    matrix_rotate(surface->rotation_matrix, surface->rotation_matrix, pmath::sin(t / 300.0f) * 4.0f,
                  pmath::cos(0.0025f * t) * 2.0f, 0.0f);
    world_transform(&world);
    world_sort(&world);
    world_light(&world);
}

void MetaballScene::drawFrame(Pixel* screen) {
    if (!envMap) return; // not loaded
    updateScene(showTime - static_cast<float>(startTime));
    background.draw(screen, kScreenWidth, kScreenHeight, 0, 0);
    world_draw(screen, &world, reinterpret_cast<const uint32_t*>(envMap->image));
    overlay.drawTransparent(screen, kScreenWidth, kScreenHeight, kOverlayX, kOverlayY);
    logo.drawAdd(screen, kLogoX, kLogoY);
}

void MetaballScene::render() {
    auto* screen = static_cast<Pixel*>(backSurface->lock());
    drawFrame(screen);
    backSurface->unlock();
}
