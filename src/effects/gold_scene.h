#pragma once
// The gold 3D scene (sync value 48): a keyframed object turns in front of a lit two-cylinder
// tunnel, environment-mapped in gold with glowing edges. The first sync event of value 50 moves
// the object onto a layer that is smeared outward every frame and added over the tunnel, so it
// leaves light trails; the second one removes the object.
#include <memory>
#include <vector>

#include "effects/effect.h"
#include "effects/support/sync_watch.h"
#include "engine3d/world.h"
#include "render2d/bitmap.h"
#include "render2d/radial_smear.h"
#include "render2d/twin_tunnel_grid.h"

struct bglimage;

class GoldScene : public Effect {
public:
    static constexpr int kTrailSyncValue = 50;

    GoldScene() = default;
    ~GoldScene();

    // "bonnmcga.jpg" and its tunnel, "data/zelka2.3ds", "goldmap.jpg", the trail layer and the smear.
    void load();
    void start();
    void render() override;

    // Counts a new sync event of value 50; other values are looked at again next frame.
    void followSync();
    // Draws one frame at the current showTime into a 320x200 buffer.
    void drawFrame(Pixel* screen);

    bglimage* tunnelTexture = nullptr; // borrowed from the image cache
    std::unique_ptr<TwinTunnelGrid> grid;
    int startTime = 0;
    int phase = 0; // sync-50 events since start()
    SyncWatch trails{kTrailSyncValue};
    World world{};
    bglimage* goldMap = nullptr; // borrowed: 256x256, framebuffer order, tileable
    std::vector<Pixel> trailBuffer;
    Bitmap trail;
    RadialSmear smear;
};
