// 3dsinfo FILE: prints what the scene reader keeps of a .3ds file.
#include "engine3d/read_3ds.h"
#include "engine3d/world_memory.h"

#include <cstdio>

namespace {

void print_world(const World& w) {
    std::printf("segment: frames %d to %d\n", w.first_frame, w.last_frame);
    for (const Material* m = w.materials; m; m = m->next)
        std::printf("material \"%s\": texture %s%s%s, render type %d\n", m->name, m->texture_name ? "\"" : "",
                    m->texture_name ? m->texture_name : "none", m->texture_name ? "\"" : "", m->render_type);
    for (const Object* o = w.objects; o; o = o->next)
        std::printf("object \"%s\": %d points, %d polys, %s, %d position keys, %d rotation keys\n", o->name,
                    o->point_count, o->poly_count,
                    o->texture_coordinates ? "mapping coordinates" : "no mapping", o->position_key_count,
                    o->rotation_key_count);
    for (const Light* l = w.lights; l; l = l->next)
        std::printf("light \"%s\": %d position keys\n", l->name, l->position_key_count);
    for (const Camera* c = w.cameras; c; c = c->next)
        std::printf("camera \"%s\": %d position keys, %d target keys, %d roll keys\n", c->name,
                    c->position_key_count, c->target_key_count, c->roll_key_count);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: 3dsinfo FILE\n");
        return 2;
    }
    World world{};
    load_3ds(argv[1], &world); // prints the reader's message and exits 1 on failure
    print_world(world);
    world_free(&world);
    return 0;
}
