#include "engine3d/world_memory.h"

namespace {

template <class Record, class Release> void free_list(Record* head, Release release) {
    while (head) {
        Record* next = head->next;
        release(head);
        delete head;
        head = next;
    }
}

} // namespace

void object_free_mesh(Object* object) {
    delete[] object->points;
    delete[] object->polys;
    delete[] object->poly_normals;
    delete[] object->point_normals;
    delete[] object->texture_coordinates;
    delete[] object->bounding_box;
    object->points = nullptr;
    object->polys = nullptr;
    object->poly_normals = nullptr;
    object->point_normals = nullptr;
    object->texture_coordinates = nullptr;
    object->bounding_box = nullptr;
    object->point_count = 0;
    object->poly_count = 0;
}

void world_free(World* world) {
    free_list(world->materials, [](Material* m) { delete[] m->texture_name; });
    free_list(world->objects, [](Object* o) {
        object_free_mesh(o);
        delete[] o->position_keys;
        delete[] o->rotation_keys;
    });
    free_list(world->lights, [](Light* l) { delete[] l->position_keys; });
    free_list(world->cameras, [](Camera* c) {
        delete[] c->position_keys;
        delete[] c->target_keys;
        delete[] c->roll_keys;
    });
    delete[] world->sorted_polys;
    *world = World{};
}
