#include "engine3d/world_load.h"

#include "engine3d/read_3ds.h"
#include "engine3d/transform.h"
#include "engine3d/world_memory.h"

#include <new>

EngineError world_setup(World* world, int bucket_count) {
    world_prepare(world);
    world->current_camera = world->cameras;
    if (world->current_camera) camera_update(world->current_camera);
    for (Camera* c = world->cameras; c; c = c->next) {
        camera_set_viewport(c, kViewportNearZ, kViewportLeft, kViewportRight, kViewportTop, kViewportBottom,
                            kViewportCenterX, kViewportCenterY);
        c->projection_factor = kProjectionFactor;
    }
    for (Object* o = world->objects; o; o = o->next) object_compute_normals(o);

    Poly** buckets = bucket_count > 0 ? new (std::nothrow) Poly*[size_t(bucket_count)]() : nullptr;
    if (!buckets) {
        world_free(world);
        return kMsgNoSortedPolysMemory;
    }
    delete[] world->sorted_polys;
    world->sorted_polys = buckets;
    world->sorted_poly_count = bucket_count;

    for (Object* o = world->objects; o; o = o->next) {
        o->visible = 1;
        for (int32_t i = 0; i < o->poly_count; ++i) o->polys[i].hidden = 0;
    }
    for (Object* o = world->objects; o; o = o->next) object_compute_bounds(o);
    return nullptr;
}

EngineError world_try_load(World* world, const char* path, int bucket_count) {
    if (EngineError error = read_3ds_file(path, world)) return error;
    return world_setup(world, bucket_count);
}

void world_load(World* world, const char* path, int bucket_count) {
    if (EngineError error = world_try_load(world, path, bucket_count)) engine_fail(error);
}
