#include "engine3d/draw_list.h"

#include "engine3d/outline.h"
#include "engine3d/poly_fillers.h"

#include <algorithm>
#include <cmath>

namespace {

// Depths are offset so that polys a little behind the eye still get a bucket above 0.
constexpr double kSortKeyOffset = 1000.0;

// How render_type selects the drawing of a poly (5 and unknown values: outline only).
constexpr int kOutlineOnly = 0;
constexpr int kTextured = 1;
constexpr int kEnvironmentMapped = 2;
constexpr int kTexturedLit = 3;
constexpr int kTexturedEnvironment = 4;
constexpr int kTexturedLitOutlined = 6;
constexpr int kTexturedEnvironmentOutlined = 7;
constexpr int kEnvironmentMappedOutlined = 8;

// Far to near: the highest bucket first, bucket 0 never; within a bucket from its head.
template <class DrawPoly> void forEachFiledPoly(World* world, DrawPoly draw) {
    if (!world->sorted_polys) return;
    for (int32_t bucket = world->sorted_poly_count - 1; bucket > 0; --bucket)
        for (Poly* p = world->sorted_polys[bucket]; p; p = p->next) draw(p);
}

void drawPoly(World* world, Poly* poly, uint32_t* pixels, const uint32_t* environment) {
    const int type = poly->material ? poly->material->render_type : kOutlineOnly;
    switch (type) {
        case kTextured:
            fill_textured(world, poly, pixels, environment);
            break;
        case kEnvironmentMapped:
            fill_envmapped(world, poly, pixels, environment);
            break;
        case kTexturedLit:
            fill_textured_lit(world, poly, pixels, environment);
            break;
        case kTexturedEnvironment:
            fill_textured_env(world, poly, pixels, environment, environment);
            break;
        case kTexturedLitOutlined:
            fill_textured_lit(world, poly, pixels, environment);
            draw_poly_outline(world, poly, pixels, kOutlineBlue, kOutlineGreen, kOutlineRed);
            break;
        case kTexturedEnvironmentOutlined:
            fill_textured_env(world, poly, pixels, environment, environment);
            draw_poly_outline(world, poly, pixels, kOutlineBlue, kOutlineGreen, kOutlineRed);
            break;
        case kEnvironmentMappedOutlined:
            fill_envmapped(world, poly, pixels, environment);
            draw_poly_outline(world, poly, pixels, kEnvOutlineBlue, kOutlineGreen, kOutlineRed);
            break;
        default:
            draw_poly_outline(world, poly, pixels, kOutlineBlue, kOutlineGreen, kOutlineRed);
            break;
    }
}

} // namespace

bool poly_sort_key(const Poly* poly, int32_t bucket_count, int32_t* key) {
    const double depth = double(poly->a->cz) + double(poly->b->cz) + double(poly->c->cz);
    // Tested in double before the conversion: far or broken depths must not overflow an int.
    const double k = std::trunc(depth) + kSortKeyOffset;
    if (!(k > 0.0 && k < double(bucket_count))) return false;
    *key = int32_t(k);
    return true;
}

void world_sort(World* world) {
    if (!world->sorted_polys || world->sorted_poly_count <= 0) return;
    std::fill(world->sorted_polys, world->sorted_polys + world->sorted_poly_count, nullptr);
    for (Object* o = world->objects; o; o = o->next) {
        if (o->visible != 1) continue;
        for (int32_t i = 0; i < o->poly_count; ++i) {
            Poly* p = &o->polys[i];
            int32_t key;
            if (p->hidden != 0 || !poly_sort_key(p, world->sorted_poly_count, &key)) continue;
            p->next = world->sorted_polys[key];
            world->sorted_polys[key] = p;
        }
    }
}

void world_draw(uint32_t* pixels, World* world, const uint32_t* environment) {
    forEachFiledPoly(world, [&](Poly* p) { drawPoly(world, p, pixels, environment); });
}

void world_draw_envmapped(World* world, uint32_t* pixels, const uint32_t* environment) {
    forEachFiledPoly(world, [&](Poly* p) { fill_envmapped(world, p, pixels, environment); });
}

void world_draw_wire(World* world, uint32_t* pixels, int blue, int green, int red) {
    forEachFiledPoly(world, [&](Poly* p) { draw_poly_outline(world, p, pixels, blue, green, red); });
}
