// Hand-made screen polys for the drawing tests: a world with one camera and the usual
// viewport, points placed straight in screen space, and a 320x200 frame with guard rows.
#pragma once

#include "engine3d/raster.h"
#include "engine3d/transform.h"
#include "engine3d/world.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

struct ScreenWorld {
    World w{};
    Camera camera{};
    ScreenWorld() {
        camera_set_viewport(&camera, kViewportNearZ, kViewportLeft, kViewportRight, kViewportTop,
                            kViewportBottom, kViewportCenterX, kViewportCenterY);
        camera.projection_factor = kProjectionFactor;
        w.cameras = &camera;
        w.current_camera = &camera;
    }
    World* get() { return &w; }
};

inline Point screenPoint(int sx, int sy, float cz = 10.0f) {
    Point p{};
    p.sx = sx;
    p.sy = sy;
    p.cz = cz;
    return p;
}

// Outcode bits of every screen edge: the clipping stage tests each corner.
constexpr uint32_t kAllScreenEdges = kClipLeft | kClipRight | kClipTop | kClipBottom;

inline Poly polyOf(Point* a, Point* b, Point* c, uint32_t clip = kAllScreenEdges,
                   Material* material = nullptr) {
    Poly p{};
    p.a = a;
    p.b = b;
    p.c = c;
    p.clip = clip;
    p.material = material;
    return p;
}

// A 320x200 frame between two guard bands that no drawing may touch.
class GuardedFrame {
public:
    static constexpr size_t kGuard = 4096;
    static constexpr uint32_t kGuardValue = 0xDEADBEEF;

    explicit GuardedFrame(uint32_t fill = 0)
        : store(kGuard + size_t(kScreenWidth) * kScreenHeight + kGuard, kGuardValue) {
        std::fill(pixels(), pixels() + size_t(kScreenWidth) * kScreenHeight, fill);
    }
    uint32_t* pixels() { return store.data() + kGuard; }
    uint32_t at(int x, int y) const { return store[kGuard + size_t(y) * kScreenWidth + x]; }
    bool guardsIntact() const {
        for (size_t i = 0; i < kGuard; ++i)
            if (store[i] != kGuardValue || store[store.size() - 1 - i] != kGuardValue) return false;
        return true;
    }
    // Pixels that differ from the fill value.
    int changed(uint32_t fill = 0) const {
        int n = 0;
        for (size_t i = kGuard; i < store.size() - kGuard; ++i) n += store[i] != fill;
        return n;
    }

private:
    std::vector<uint32_t> store;
};

// A texture whose texel at (column c, row r) holds r * 256 + c, so a pixel tells where it was read.
inline std::vector<uint32_t> addressTexture() {
    std::vector<uint32_t> t(kTextureTexels);
    for (int i = 0; i < kTextureTexels; ++i) t[size_t(i)] = uint32_t(i);
    return t;
}
