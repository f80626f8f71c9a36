#include "engine3d/lighting.h"

#include "core/portable_math.h"
#include "engine3d/vector.h"

#include <cmath>

namespace {

constexpr float kAmbient = 0.1f;
constexpr float kCosineExponent = 2.0f;
constexpr float kChannelScale = 255.0f;

float toChannel(float sum) {
    const float c = sum + kAmbient;
    return c >= 1.0f ? kChannelScale : c * kChannelScale;
}

} // namespace

void world_light(World* world) {
    for (Object* o = world->objects; o; o = o->next) {
        if (o->visible == 0) continue;
        for (int32_t i = 0; i < o->point_count; ++i) {
            Point& p = o->points[i];
            float r = 0.0f, g = 0.0f, b = 0.0f;
            if (p.normal) {
                const PointNormal& n = *p.normal;
                for (const Light* l = world->lights; l; l = l->next) {
                    Vector3 toLight{l->view_position.x - p.cx, l->view_position.y - p.cy,
                                    l->view_position.z - p.cz};
                    vector_normalize(&toLight);
                    float d =
                        float(double(n.vx) * toLight.x + double(n.vy) * toLight.y + double(n.vz) * toLight.z);
                    if (d < 0.0f) d = 0.0f;
                    d = float(pmath::pow(d, kCosineExponent));
                    r += d * l->color.r;
                    g += d * l->color.g;
                    b += d * l->color.b;
                }
            }
            p.r = toChannel(r);
            p.g = toChannel(g);
            p.b = toChannel(b);
        }
    }
}
