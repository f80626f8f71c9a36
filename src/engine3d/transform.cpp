#include "engine3d/transform.h"

#include "engine3d/keyframes.h"
#include "engine3d/matrix.h"
#include "engine3d/vector.h"

#include <cmath>
#include <new>
#include <utility>
#include <vector>

namespace {

constexpr int kBoxCorners = 8;

// Farthest a projected point may land from the screen centre, in pixels. Far beyond any
// edge, yet small enough that differences and products of screen values stay exact.
constexpr double kMaxProjectedOffset = double(1 << 20);

int32_t clamp_to_screen_range(double value) {
    if (std::isnan(value)) return 0;
    if (value > kMaxProjectedOffset) value = kMaxProjectedOffset;
    if (value < -kMaxProjectedOffset) value = -kMaxProjectedOffset;
    return int32_t(value); // truncates toward zero
}

Vector3 sub(const Vector3& a, const Vector3& b) {
    return Vector3{a.x - b.x, a.y - b.y, a.z - b.z};
}

Vector3 point_position(const Point* p) {
    return Vector3{p->x, p->y, p->z};
}

void to_camera_space(Point* p, const float m[kMatrixSize]) {
    const Vector3 c = matrix_transform_point(m, p->x, p->y, p->z);
    p->cx = c.x;
    p->cy = c.y;
    p->cz = c.z;
}

// Moves the mesh out of its file placement into its own frame around the pivot.
void object_to_local_space(Object* o) {
    const float* m = o->matrix;
    for (int32_t i = 0; i < o->point_count; ++i) {
        Point& p = o->points[i];
        const float x = p.x - m[12], y = p.y - m[13], z = p.z - m[14];
        // Multiply by the transpose of the axes: each new coordinate is the dot product with one axis.
        p.x = float(double(x) * m[0] + double(y) * m[1] + double(z) * m[2]) - o->pivot.x;
        p.y = float(double(x) * m[4] + double(y) * m[5] + double(z) * m[6]) - o->pivot.y;
        p.z = float(double(x) * m[8] + double(y) * m[9] + double(z) * m[10]) - o->pivot.z;
    }
    matrix_identity(o->position_matrix);
    matrix_identity(o->rotation_matrix);
}

void swap_yz(float* y, float* z) {
    std::swap(*y, *z);
}
void swap_yz(Vector3* v) {
    swap_yz(&v->y, &v->z);
}
void swap_yz(PositionKey* keys, int32_t count) {
    for (int32_t i = 0; i < count; ++i) swap_yz(&keys[i].y, &keys[i].z);
}

// The file is right-handed with z up; the engine is left-handed with y up.
void file_axes_to_engine_axes(World* world) {
    for (Object* o = world->objects; o; o = o->next) {
        for (int32_t i = 0; i < o->point_count; ++i) swap_yz(&o->points[i].y, &o->points[i].z);
        swap_yz(o->position_keys, o->position_key_count);
        for (int32_t i = 0; i < o->rotation_key_count; ++i)
            swap_yz(&o->rotation_keys[i].y, &o->rotation_keys[i].z);
    }
    for (Camera* c = world->cameras; c; c = c->next) {
        swap_yz(&c->position);
        swap_yz(&c->target);
        swap_yz(c->position_keys, c->position_key_count);
        swap_yz(c->target_keys, c->target_key_count);
    }
    for (Light* l = world->lights; l; l = l->next) {
        swap_yz(&l->position);
        swap_yz(l->position_keys, l->position_key_count);
    }
}

} // namespace

void world_prepare(World* world) {
    for (Object* o = world->objects; o; o = o->next) object_to_local_space(o);
    file_axes_to_engine_axes(world);
    // The file gives the bank in degrees; the engine works in radians (a roll track, when it
    // covers the frame, overwrites it with radians too).
    for (Camera* c = world->cameras; c; c = c->next) c->bank *= kDegreesToRadians;
    world_prepare_keys(world);
    for (Object* o = world->objects; o; o = o->next) {
        matrix_identity(o->position_matrix);
        if (o->position_key_count > 0) {
            o->position_matrix[12] = o->position_keys[0].x;
            o->position_matrix[13] = o->position_keys[0].y;
            o->position_matrix[14] = o->position_keys[0].z;
        }
    }
}

void camera_update(Camera* camera) {
    Vector3 d = sub(camera->target, camera->position);
    vector_normalize(&d);
    // World up made perpendicular to the view direction.
    Vector3 u{-d.y * d.x, 1.0f - d.y * d.y, -d.y * d.z};
    vector_normalize(&u);
    Vector3 r;
    vector_cross(&r, &u, &d);
    vector_normalize(&r);
    Vector3 up;
    vector_cross(&up, &d, &r);
    vector_normalize(&up);

    float rotation[kMatrixSize];
    matrix_identity(rotation);
    const Vector3 columns[3] = {r, up, d};
    for (int col = 0; col < 3; ++col) {
        rotation[0 * 4 + col] = columns[col].x;
        rotation[1 * 4 + col] = columns[col].y;
        rotation[2 * 4 + col] = columns[col].z;
    }
    float translation[kMatrixSize];
    matrix_identity(translation);
    translation[12] = -camera->position.x;
    translation[13] = -camera->position.y;
    translation[14] = -camera->position.z;

    matrix_multiply(camera->matrix, translation, rotation);
    matrix_rotate(camera->matrix, camera->matrix, 0.0f, 0.0f, -camera->bank);
}

void camera_set_viewport(Camera* camera, int near_z, int left, int right, int top, int bottom, int center_x,
                         int center_y) {
    camera->near_z = near_z;
    camera->left = left;
    camera->right = right;
    camera->top = top;
    camera->bottom = bottom;
    camera->center_x = center_x;
    camera->center_y = center_y;
}

void compute_outcode(Point* point, const Camera* camera) {
    uint32_t clip = 0;
    if (point->cz < float(camera->near_z)) clip |= kClipNear;
    if (point->sx < camera->left) clip |= kClipLeft;
    if (point->sx > camera->right) clip |= kClipRight;
    if (point->sy < camera->top) clip |= kClipTop;
    if (point->sy > camera->bottom) clip |= kClipBottom;
    point->clip = clip;
}

void camera_project(const Camera* camera, Point* point) {
    const double f = camera->projection_factor;
    // x truncates the sum with the centre, y only the quotient.
    point->sx = clamp_to_screen_range(f * point->cx / point->cz + camera->center_x);
    point->sy = camera->center_y - clamp_to_screen_range(f * point->cy / point->cz);
}

void object_compute_normals(Object* object) {
    for (int32_t i = 0; i < object->poly_count; ++i) {
        Poly& poly = object->polys[i];
        const Vector3 b = point_position(poly.b);
        const Vector3 ba = sub(b, point_position(poly.a));
        const Vector3 bc = sub(b, point_position(poly.c));
        Vector3 n;
        vector_cross(&n, &ba, &bc);
        vector_normalize(&n);
        PolyNormal& pn = object->poly_normals[i];
        pn = PolyNormal{n.x, n.y, n.z};
        poly.normal = &pn;
    }
    // Average the normals of the polys around each point: one pass over the polys, adding
    // each poly once to each distinct corner, in poly order.
    std::vector<int32_t> uses(size_t(object->point_count), 0);
    for (int32_t i = 0; i < object->point_count; ++i) {
        object->point_normals[i] = PointNormal{};
        object->points[i].normal = &object->point_normals[i];
    }
    for (int32_t i = 0; i < object->poly_count; ++i) {
        const Poly& poly = object->polys[i];
        const PolyNormal& n = object->poly_normals[i];
        Point* corners[3] = {poly.a, poly.b, poly.c};
        for (int k = 0; k < 3; ++k) {
            if ((k > 0 && corners[k] == corners[0]) || (k > 1 && corners[k] == corners[1])) continue;
            const size_t index = size_t(corners[k] - object->points);
            PointNormal& sum = object->point_normals[index];
            sum.nx += n.nx;
            sum.ny += n.ny;
            sum.nz += n.nz;
            ++uses[index];
        }
    }
    for (int32_t i = 0; i < object->point_count; ++i) {
        if (uses[size_t(i)] == 0) continue; // a point no poly uses keeps a zero normal
        PointNormal& n = object->point_normals[i];
        const float count = float(uses[size_t(i)]);
        n.nx /= count;
        n.ny /= count;
        n.nz /= count;
    }
}

void object_compute_bounds(Object* object) {
    if (!object->bounding_box) {
        object->bounding_box = new (std::nothrow) Point[kBoxCorners]();
        if (!object->bounding_box) return; // without a box the object is culled
    }
    Vector3 lo{0.0f, 0.0f, 0.0f}, hi{0.0f, 0.0f, 0.0f};
    if (object->point_count > 0) {
        lo = hi = point_position(&object->points[0]);
        for (int32_t i = 1; i < object->point_count; ++i) {
            const Point& p = object->points[i];
            if (p.x < lo.x) lo.x = p.x;
            if (p.x > hi.x) hi.x = p.x;
            if (p.y < lo.y) lo.y = p.y;
            if (p.y > hi.y) hi.y = p.y;
            if (p.z < lo.z) lo.z = p.z;
            if (p.z > hi.z) hi.z = p.z;
        }
    }
    const Vector3 corners[kBoxCorners] = {{lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z},
                                          {lo.x, hi.y, lo.z}, {lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z},
                                          {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}};
    for (int i = 0; i < kBoxCorners; ++i) {
        object->bounding_box[i].x = corners[i].x;
        object->bounding_box[i].y = corners[i].y;
        object->bounding_box[i].z = corners[i].z;
    }
}

namespace {

// Culls the object by its box corners: visible when not all of them lie beyond one edge or
// nearer than the near plane. The polys of a visible object get the OR of the outcodes.
void cull_object(Object* o, const Camera* camera) {
    if (!o->bounding_box) {
        o->visible = 0;
        return;
    }
    uint32_t all = ~0u, any = 0;
    for (int i = 0; i < kBoxCorners; ++i) {
        Point* corner = &o->bounding_box[i];
        to_camera_space(corner, o->view_matrix);
        camera_project(camera, corner);
        compute_outcode(corner, camera);
        all &= corner->clip;
        any |= corner->clip;
    }
    if (all != 0) {
        o->visible = 0;
        return;
    }
    for (int32_t i = 0; i < o->poly_count; ++i) o->polys[i].clip = any;
    o->visible = 1;
}

void transform_visible_object(Object* o, const Camera* camera) {
    for (int32_t i = 0; i < o->point_count; ++i) to_camera_space(&o->points[i], o->view_matrix);
    for (int32_t i = 0; i < o->point_count; ++i) {
        PointNormal& n = o->point_normals[i];
        const Vector3 v = matrix_rotate_vector(o->view_matrix, n.nx, n.ny, n.nz);
        n.vx = v.x;
        n.vy = v.y;
        n.vz = v.z;
    }
    for (int32_t i = 0; i < o->point_count; ++i) camera_project(camera, &o->points[i]);
    // Counter-clockwise corners on screen (k < 0) face the viewer; zero-area polys are hidden.
    // 64 bits: the screen values of points near the eye can be far off screen.
    for (int32_t i = 0; i < o->poly_count; ++i) {
        Poly& p = o->polys[i];
        const int64_t k = (int64_t(p.b->sx) - p.a->sx) * (int64_t(p.c->sy) - p.a->sy) -
                          (int64_t(p.b->sy) - p.a->sy) * (int64_t(p.c->sx) - p.a->sx);
        p.hidden = k >= 0 ? 1 : 0;
    }
}

} // namespace

void world_transform(World* world) {
    Camera* camera = world->current_camera;
    if (!camera) {
        for (Object* o = world->objects; o; o = o->next) o->visible = 0;
        return;
    }
    camera_update(camera);
    for (Light* l = world->lights; l; l = l->next) {
        matrix_copy(l->view_matrix, camera->matrix);
        l->view_position =
            matrix_transform_point(l->view_matrix, l->position.x, l->position.y, l->position.z);
    }
    for (Object* o = world->objects; o; o = o->next) {
        // Rotation about the object's own pivot first, then the translation.
        matrix_multiply(o->matrix, o->rotation_matrix, o->position_matrix);
        matrix_multiply(o->view_matrix, o->matrix, camera->matrix);
        cull_object(o, camera);
        if (o->visible == 1) transform_visible_object(o, camera);
    }
}
