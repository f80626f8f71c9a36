#include "engine3d/keyframes.h"

#include "engine3d/matrix.h"
#include "engine3d/quaternion.h"

namespace {

int16_t frame_number(int frame) {
    return int16_t(uint16_t(uint32_t(frame) & 0xFFFFu));
}

Quaternion key_quaternion(const RotationKey& k) {
    return Quaternion{k.x, k.y, k.z, k.w};
}

void store_quaternion(RotationKey* k, const Quaternion& q) {
    k->x = q.x;
    k->y = q.y;
    k->z = q.z;
    k->w = q.w;
}

// Kochanek-Bartels tangents of key k between its neighbours p and n.
void middle_key_tangents(const PositionKey& p, PositionKey* k, const PositionKey& n) {
    const float half = float(n.frame - p.frame) * 0.5f;
    if (half == 0.0f) {
        // Keys on one frame: no slope rather than a division by zero.
        k->in_tangent = Vector3{0.0f, 0.0f, 0.0f};
        k->out_tangent = Vector3{0.0f, 0.0f, 0.0f};
        return;
    }
    float adjIn = float(k->frame - p.frame) / half;
    float adjOut = float(n.frame - k->frame) / half;
    const float c = k->continuity < 0.0f ? -k->continuity : k->continuity;
    adjIn = adjIn + c - c * adjIn;
    adjOut = adjOut + c - c * adjOut;
    const float T = k->tension, C = k->continuity, B = k->bias;
    const float halfTension = (1.0f - T) / 2.0f;
    const float inA = halfTension * (1.0f - C) * (1.0f + B), inB = halfTension * (1.0f + C) * (1.0f - B);
    const float outA = halfTension * (1.0f + C) * (1.0f + B), outB = halfTension * (1.0f - C) * (1.0f - B);
    auto tangent = [&](float adj, float a, float b, float kv, float pv, float nv) {
        return adj * (a * (kv - pv) + b * (nv - kv));
    };
    k->in_tangent =
        Vector3{tangent(adjIn, inA, inB, k->x, p.x, n.x), tangent(adjIn, inA, inB, k->y, p.y, n.y),
                tangent(adjIn, inA, inB, k->z, p.z, n.z)};
    k->out_tangent =
        Vector3{tangent(adjOut, outA, outB, k->x, p.x, n.x), tangent(adjOut, outA, outB, k->y, p.y, n.y),
                tangent(adjOut, outA, outB, k->z, p.z, n.z)};
}

// The end-key rule: (1 - tension)(d2/2 + d2(0.25 - s1/(2 s2)) + 1.5(d1 - d2/2)), with no
// slope when the keys share one frame.
float end_tangent(float tension, float d1, float d2, int s1, int s2) {
    if (s2 == 0) return 0.0f;
    const float ratio = float(s1) / (2.0f * float(s2));
    return (1.0f - tension) * (d2 / 2.0f + d2 * (0.25f - ratio) + 1.5f * (d1 - d2 / 2.0f));
}

// First key's out tangent from keys (k0, k1, k2).
void first_key_tangent(PositionKey* k0, const PositionKey& k1, const PositionKey& k2) {
    const int s1 = k1.frame - k0->frame, s2 = k2.frame - k0->frame;
    k0->out_tangent = Vector3{end_tangent(k0->tension, k1.x - k0->x, k2.x - k0->x, s1, s2),
                              end_tangent(k0->tension, k1.y - k0->y, k2.y - k0->y, s1, s2),
                              end_tangent(k0->tension, k1.z - k0->z, k2.z - k0->z, s1, s2)};
}

// Last key's in tangent from keys (a, b, c).
void last_key_tangent(const PositionKey& a, const PositionKey& b, PositionKey* c) {
    const int s1 = c->frame - b.frame, s2 = c->frame - a.frame;
    c->in_tangent = Vector3{end_tangent(c->tension, c->x - b.x, c->x - a.x, s1, s2),
                            end_tangent(c->tension, c->y - b.y, c->y - a.y, s1, s2),
                            end_tangent(c->tension, c->z - b.z, c->z - a.z, s1, s2)};
}

void prepare_tangents(PositionKey* keys, int32_t count) {
    if (count >= 3) {
        for (int32_t i = 1; i + 1 < count; ++i) middle_key_tangents(keys[i - 1], &keys[i], keys[i + 1]);
        first_key_tangent(&keys[0], keys[1], keys[2]);
        last_key_tangent(keys[count - 3], keys[count - 2], &keys[count - 1]);
    } else if (count == 2) {
        first_key_tangent(&keys[0], keys[1], keys[1]);
        last_key_tangent(keys[0], keys[0], &keys[1]);
    }
}

// The fraction of the way from key a to key b at the frame.
float segment_fraction(int16_t frame, int16_t a, int16_t b) {
    return float(frame - a) / float(b - a);
}

// Hermite interpolation of the segment from k to m, eased.
Vector3 evaluate_position(const PositionKey& k, const PositionKey& m, int16_t frame) {
    const float t = ease(segment_fraction(frame, k.frame, m.frame), k.ease_from, m.ease_to);
    const float t2 = t * t, t3 = t * t2;
    const float h1 = 2.0f * t3 - 3.0f * t2 + 1.0f;
    const float h2 = -2.0f * t3 + 3.0f * t2;
    const float h3 = t3 - 2.0f * t2 + t;
    const float h4 = t3 - t2;
    return Vector3{h1 * k.x + h2 * m.x + h3 * k.out_tangent.x + h4 * m.in_tangent.x,
                   h1 * k.y + h2 * m.y + h3 * k.out_tangent.y + h4 * m.in_tangent.y,
                   h1 * k.z + h2 * m.z + h3 * k.out_tangent.z + h4 * m.in_tangent.z};
}

// Calls segment(i) for every segment whose frame range [key i, key i+1) holds the frame.
template <class Key, class Segment>
void for_each_segment(const Key* keys, int32_t count, int16_t frame, Segment segment) {
    for (int32_t i = 0; i + 1 < count; ++i)
        if (keys[i].frame <= frame && frame < keys[i + 1].frame) segment(i);
}

// Writes the track's value at the frame into *out; a frame outside every segment writes nothing.
void animate_position(const PositionKey* keys, int32_t count, int16_t frame, Vector3* out) {
    for_each_segment(keys, count, frame,
                     [&](int32_t i) { *out = evaluate_position(keys[i], keys[i + 1], frame); });
}

void set_translation(float m[kMatrixSize], const Vector3& v) {
    matrix_identity(m);
    m[12] = v.x;
    m[13] = v.y;
    m[14] = v.z;
}

void set_rotation(float m[kMatrixSize], const Quaternion& q) {
    float r[9];
    quaternion_to_matrix(q, r);
    matrix_identity(m);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) m[row * 4 + col] = r[row * 3 + col];
}

void animate_object(Object* o, int16_t frame) {
    if (o->position_key_count == 1) {
        const PositionKey& k = o->position_keys[0];
        set_translation(o->position_matrix, Vector3{k.x, k.y, k.z});
    } else {
        for_each_segment(o->position_keys, o->position_key_count, frame, [&](int32_t i) {
            set_translation(o->position_matrix,
                            evaluate_position(o->position_keys[i], o->position_keys[i + 1], frame));
        });
    }
    const RotationKey* keys = o->rotation_keys;
    if (o->rotation_key_count == 1) {
        set_rotation(o->rotation_matrix, key_quaternion(keys[0]));
    } else {
        for_each_segment(keys, o->rotation_key_count, frame, [&](int32_t i) {
            const float t = segment_fraction(frame, keys[i].frame, keys[i + 1].frame);
            set_rotation(o->rotation_matrix,
                         quaternion_slerp(t, key_quaternion(keys[i]), key_quaternion(keys[i + 1])));
        });
    }
}

void animate_camera(Camera* c, int16_t frame) {
    animate_position(c->target_keys, c->target_key_count, frame, &c->target);
    animate_position(c->position_keys, c->position_key_count, frame, &c->position);
    const RollKey* keys = c->roll_keys;
    for_each_segment(keys, c->roll_key_count, frame, [&](int32_t i) {
        const float t = segment_fraction(frame, keys[i].frame, keys[i + 1].frame);
        const float roll = keys[i].roll + (keys[i + 1].roll - keys[i].roll) * t;
        c->bank = roll * kDegreesToRadians;
    });
}

} // namespace

float ease(float t, float a, float b) {
    const float s = a + b;
    if (s == 0.0f) return t;
    if (s > 1.0f) {
        a = a / s;
        b = b / s;
    }
    const float k = 1.0f / (2.0f - a - b);
    if (t < a) return (k / a) * t * t;
    if (t < 1.0f - b) return k * (2.0f * t - a);
    const float u = 1.0f - t;
    return 1.0f - (k / b) * u * u;
}

void world_prepare_keys(World* world) {
    for (Object* o = world->objects; o; o = o->next) {
        RotationKey* keys = o->rotation_keys;
        for (int32_t i = 0; i < o->rotation_key_count; ++i)
            store_quaternion(&keys[i],
                             quaternion_from_axis_angle(keys[i].x, keys[i].y, keys[i].z, keys[i].w));
        // The file's rotations are relative to the previous key; make every key absolute.
        for (int32_t i = 1; i < o->rotation_key_count; ++i)
            store_quaternion(&keys[i],
                             quaternion_multiply(key_quaternion(keys[i]), key_quaternion(keys[i - 1])));
    }
    for (Object* o = world->objects; o; o = o->next)
        prepare_tangents(o->position_keys, o->position_key_count);
    for (Camera* c = world->cameras; c; c = c->next) {
        prepare_tangents(c->target_keys, c->target_key_count);
        prepare_tangents(c->position_keys, c->position_key_count);
    }
    for (Light* l = world->lights; l; l = l->next) prepare_tangents(l->position_keys, l->position_key_count);
}

void world_animate(World* world, int frameNumber) {
    const int16_t frame = frame_number(frameNumber);
    for (Object* o = world->objects; o; o = o->next) animate_object(o, frame);
    if (world->current_camera) animate_camera(world->current_camera, frame);
    for (Light* l = world->lights; l; l = l->next)
        animate_position(l->position_keys, l->position_key_count, frame, &l->position);
}
