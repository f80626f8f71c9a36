// 3dsinfo FILE: prints what the scene reader keeps of a .3ds file.
#include "core/command_line.h"
#include "engine3d/read_3ds.h"
#include "engine3d/world_memory.h"

#include <cstdio>
#include <string>

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
    std::string path;
    CommandLine line("3dsinfo", "FILE",
                     "Prints what the scene reader keeps of a .3ds file: segment, materials, objects,\n"
                     "lights, cameras and their key counts.");
    line.operand("FILE", path);
    if (const int code = line.parse(argc, argv); code != CommandLine::kGoOn) return code;
    if (const std::string problem = inputFileProblem(path); !problem.empty())
        return line.failure(path + ": " + problem);

    World world{};
    // The reader's own message, with the file's name before it.
    if (const EngineError error = read_3ds_file(path.c_str(), &world)) {
        std::string message = error;
        if (!message.empty() && message.back() == '\n') message.pop_back();
        return line.failure(path + ": " + message);
    }
    print_world(world);
    world_free(&world);
    return 0;
}
