#pragma once
// The metaball scene (sync value 52): a blobby, environment-mapped surface floats in front of a
// background picture. Eight fixed charges at the corners of a cube and two wandering ones make a
// field on the marching-cubes grid; the surface is rebuilt from it every frame, turned by an
// extra rotation, and drawn through the normal 3D pipeline. A picture is overlaid at the right.
#include <array>
#include <vector>

#include "effects/effect.h"
#include "engine3d/engine_error.h"
#include "engine3d/world.h"
#include "render2d/bitmap.h"

struct bglimage;

inline constexpr char kMsgNoSurfaceObject[] = "the metaball scene has no object to carry the surface";

class MetaballScene : public Effect {
public:
    struct Charge {
        float x, y, z;
        float contribution; // the last value computed for it
    };
    static constexpr int kFixedCharges = 8;

    MetaballScene() = default;
    ~MetaballScene();

    // "data/metaxp4.3ds", "galakse.jpg", the surface, the fixed field, "galak2.jpg", "test3.pcx".
    void load();
    void start();
    void render() override;

    // Loads the scene and sets its first object up as the surface; the message when the file
    // cannot be read, has no object, or memory runs out.
    EngineError loadWorld(const char* path);
    // The eight fixed charges' field at every grid point, summed once at load.
    void computeStaticField();
    // The grid's values at effect time t: the fixed field plus the two wandering charges.
    void updateField(float t);
    // updateField, the new surface, the keyframes, the extra rotation and the 3D passes.
    void updateScene(float t);
    // Draws one frame at the current showTime into a 320x200 buffer.
    void drawFrame(Pixel* screen);

    World world{};
    int startTime = 0;
    bglimage* envMap = nullptr; // borrowed: 256x256, framebuffer order, tileable
    std::array<Charge, kFixedCharges> charges{};
    Material surfaceMaterial{};
    std::vector<float> staticField;
    bglimage* backgroundPicture = nullptr; // borrowed
    Bitmap background;
    bglimage* overlayPicture = nullptr; // borrowed
    Bitmap overlay;
};
