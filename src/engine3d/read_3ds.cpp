#include "engine3d/read_3ds.h"

#include "core/byte_cursor.h"
#include "core/read_file.h"
#include "engine3d/chunk_ids_3ds.h"
#include "engine3d/matrix.h"
#include "engine3d/world_memory.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

namespace {

// Far beyond any scene the show plays; a larger file is refused before it is read.
constexpr uint64_t kMax3dsFileBytes = uint64_t(256) << 20;

// Every chunk starts with a 16-bit id and a 32-bit length that counts these 6 bytes too.
constexpr uint64_t kChunkHeaderSize = 6;

// Per key: a 32-bit frame and 16-bit spline flags, then one float per set flag and the value.
constexpr uint64_t kKeyHeaderSize = 4 + 2;
constexpr int kSplineValueCount = 5; // tension, continuity, bias, ease to, ease from
constexpr uint64_t kPositionValueSize = 3 * 4;
constexpr uint64_t kRotationValueSize = 4 * 4;
constexpr uint64_t kRollValueSize = 4;
constexpr uint64_t kFaceSize = 4 * 2;
constexpr int kLocalAxisFloats = 12;

struct Chunk {
    uint16_t id;
    uint64_t start; // position of the header
    uint64_t end;   // start + length
};

// The file's frame numbers are 32 bits; the engine keeps the low 16 as a signed number.
int16_t low_frame(uint32_t value) {
    return int16_t(uint16_t(value & 0xFFFFu));
}

template <class T> bool allocate_array(T** out, uint32_t count) {
    *out = nullptr;
    if (count == 0) return true;
    *out = new (std::nothrow) T[count]();
    return *out != nullptr;
}

// Appends at the real end of the list. The reader's cursor may point anywhere in the list
// after a keyframer node looked a record up by name, and linking there would drop records.
template <class Record> void append(Record** head, Record** cursor, Record* record) {
    Record* tail = *cursor ? *cursor : *head;
    while (tail && tail->next) tail = tail->next;
    if (tail)
        tail->next = record;
    else
        *head = record;
    *cursor = record;
}

template <class Record> Record* find_by_name(Record* head, const char* name) {
    for (Record* r = head; r; r = r->next)
        if (std::strcmp(r->name, name) == 0) return r;
    return nullptr;
}

// Reads a zero-terminated string, keeping at most kNameLength characters.
EngineError read_name(ByteCursor& in, char out[kNameSize]) {
    int kept = 0;
    for (;;) {
        if (in.remaining() == 0) return kMsgUnterminatedString;
        const char ch = char(in.u8());
        if (ch == '\0') break;
        if (kept < kNameLength) out[kept++] = ch;
    }
    out[kept] = '\0';
    return nullptr;
}

// Reads a zero-terminated string of any length into a new heap string.
EngineError read_heap_string(ByteCursor& in, char** out) {
    const void* zero = std::memchr(in.here(), 0, in.remaining());
    if (!zero) return kMsgUnterminatedString;
    const uint64_t length = uint64_t(static_cast<const uint8_t*>(zero) - (in.here()));
    char* text = new (std::nothrow) char[length + 1];
    if (!text) return kMsgNoStringMemory;
    in.take(text, length + 1);
    delete[] * out;
    *out = text;
    return nullptr;
}

struct SplineValues {
    float tension, continuity, bias, ease_to, ease_from;
};

// Reads a key's spline flags and the floats of the set bits; absent values are 0.
SplineValues read_spline(ByteCursor& in) {
    const uint16_t flags = in.u16();
    float values[kSplineValueCount] = {};
    for (int bit = 0; bit < kSplineValueCount; ++bit)
        if (flags & (1u << bit)) values[bit] = in.f32();
    return SplineValues{values[0], values[1], values[2], values[3], values[4]};
}

// Reads a track header and checks that the keys can fit before anything is allocated.
EngineError read_track_header(ByteCursor& in, uint64_t valueSize, uint32_t* count) {
    in.u16(); // track flags
    in.u32();
    in.u32();
    *count = in.u32() & 0xFFFFu;
    if (in.failed() || in.remaining() / (kKeyHeaderSize + valueSize) < *count) return kMsgDataOverrun;
    return nullptr;
}

EngineError read_position_track(ByteCursor& in, PositionKey** keys, int32_t* keyCount, EngineError noMemory) {
    uint32_t count = 0;
    if (EngineError e = read_track_header(in, kPositionValueSize, &count)) return e;
    PositionKey* fresh = nullptr;
    if (!allocate_array(&fresh, count)) return noMemory;
    for (uint32_t i = 0; i < count; ++i) {
        PositionKey& k = fresh[i];
        k.frame = low_frame(in.u32());
        const SplineValues s = read_spline(in);
        k.x = in.f32();
        k.y = in.f32();
        k.z = in.f32();
        k.tension = s.tension;
        k.continuity = s.continuity;
        k.bias = s.bias;
        k.ease_to = s.ease_to;
        k.ease_from = s.ease_from;
    }
    delete[] * keys;
    *keys = fresh;
    *keyCount = int32_t(count);
    return in.failed() ? kMsgDataOverrun : nullptr;
}

EngineError read_rotation_track(ByteCursor& in, Object* object) {
    uint32_t count = 0;
    if (EngineError e = read_track_header(in, kRotationValueSize, &count)) return e;
    RotationKey* fresh = nullptr;
    if (!allocate_array(&fresh, count)) return kMsgNoRotationKeyMemory;
    for (uint32_t i = 0; i < count; ++i) {
        RotationKey& k = fresh[i];
        k.frame = low_frame(in.u32());
        read_spline(in);
        k.w = in.f32(); // the file stores the angle first, the engine keeps it last
        k.x = in.f32();
        k.y = in.f32();
        k.z = in.f32();
    }
    delete[] object->rotation_keys;
    object->rotation_keys = fresh;
    object->rotation_key_count = int32_t(count);
    return in.failed() ? kMsgDataOverrun : nullptr;
}

EngineError read_roll_track(ByteCursor& in, Camera* camera) {
    uint32_t count = 0;
    if (EngineError e = read_track_header(in, kRollValueSize, &count)) return e;
    RollKey* fresh = nullptr;
    if (!allocate_array(&fresh, count)) return kMsgNoRollKeyMemory;
    for (uint32_t i = 0; i < count; ++i) {
        fresh[i].frame = low_frame(in.u32());
        read_spline(in);
        fresh[i].roll = in.f32();
    }
    delete[] camera->roll_keys;
    camera->roll_keys = fresh;
    camera->roll_key_count = int32_t(count);
    return in.failed() ? kMsgDataOverrun : nullptr;
}

class SceneReader {
public:
    SceneReader(const uint8_t* data, uint64_t size, World* world) : data_(data), size_(size), world_(world) {}

    EngineError read() {
        Chunk main{};
        if (size_ < kChunkHeaderSize) return kMsgNotValid3ds;
        ByteCursor in = cursor(0, size_);
        main.id = in.u16();
        const uint32_t length = in.u32();
        if (main.id != kChunkMain) return kMsgNotValid3ds;
        if (length < kChunkHeaderSize) return kMsgChunkTooShort;
        if (length > size_) return kMsgChunkOverrun;
        // The main chunk's children are read up to the end of the file.
        return walk(kChunkHeaderSize, size_, [&](const Chunk& c, uint64_t*) -> EngineError {
            if (c.id == kChunkEditor) return readEditor(c);
            if (c.id == kChunkKeyframer) return readKeyframer(c);
            return nullptr;
        });
    }

private:
    ByteCursor cursor(uint64_t from, uint64_t end) const { return ByteCursor(data_, from, end); }
    ByteCursor body(const Chunk& c) const { return cursor(c.start + kChunkHeaderSize, c.end); }

    // Reads the chunk header at pos; the whole chunk must lie before limit.
    EngineError readHeader(uint64_t pos, uint64_t limit, Chunk* out) const {
        ByteCursor in = cursor(pos, limit);
        out->id = in.u16();
        const uint32_t length = in.u32();
        if (in.failed()) return kMsgChunkOverrun;
        if (length < kChunkHeaderSize) return kMsgChunkTooShort;
        if (length > limit - pos) return kMsgChunkOverrun;
        out->start = pos;
        out->end = pos + length;
        return nullptr;
    }

    // The loop every container runs: read a header, let the handler deal with the chunk, then
    // go on at the chunk's end. A handler that reads a leaf moves *next to where its reading
    // stopped instead, so chunks that a leaf carries inside are met by this loop as its own.
    // Each turn moves on by at least a header, so the loop always ends.
    template <class Handler> EngineError walk(uint64_t pos, uint64_t end, Handler handle) {
        while (pos < end) {
            Chunk c{};
            if (EngineError e = readHeader(pos, end, &c)) return e;
            uint64_t next = c.end;
            if (EngineError e = handle(c, &next)) return e;
            pos = next;
        }
        return nullptr;
    }

    // Runs a leaf's reading within the chunk and moves the walk on to where it stopped.
    template <class Read> EngineError leaf(const Chunk& c, uint64_t* next, Read read) {
        ByteCursor in = body(c);
        if (EngineError e = read(in)) return e;
        if (in.failed()) return kMsgDataOverrun;
        *next = in.pos();
        return nullptr;
    }

    EngineError readEditor(const Chunk& editor) {
        return walk(editor.start + kChunkHeaderSize, editor.end, [&](const Chunk& c, uint64_t*) {
            if (c.id == kChunkMaterial) return readMaterial(c);
            if (c.id == kChunkNamedObject) return readNamedObject(c);
            return EngineError(nullptr);
        });
    }

    EngineError readMaterial(const Chunk& chunk) {
        Material* m = new (std::nothrow) Material();
        if (!m) return kMsgNoMaterialMemory;
        append(&world_->materials, &world_->current_material, m);
        return walk(chunk.start + kChunkHeaderSize, chunk.end, [&](const Chunk& c, uint64_t* next) {
            if (c.id == kChunkMaterialName)
                return leaf(c, next, [&](ByteCursor& in) { return read_name(in, m->name); });
            if (c.id == kChunkReflectionBlur) return readReflectionBlur(c, m);
            if (c.id == kChunkTextureMap) return readTextureMap(c, m);
            return EngineError(nullptr);
        });
    }

    EngineError readReflectionBlur(const Chunk& chunk, Material* m) {
        return walk(chunk.start + kChunkHeaderSize, chunk.end, [&](const Chunk& c, uint64_t* next) {
            if (c.id == kChunkPercentage) {
                return leaf(c, next, [&](ByteCursor& in) {
                    m->render_type = int16_t(in.u16());
                    return EngineError(nullptr);
                });
            }
            std::fputs(kMsgUnknownReflectionBlurChunk, stdout);
            return EngineError(nullptr);
        });
    }

    EngineError readTextureMap(const Chunk& chunk, Material* m) {
        return walk(chunk.start + kChunkHeaderSize, chunk.end, [&](const Chunk& c, uint64_t* next) {
            if (c.id == kChunkMapFileName)
                return leaf(c, next, [&](ByteCursor& in) { return read_heap_string(in, &m->texture_name); });
            return EngineError(nullptr);
        });
    }

    // A named object is a name followed by children; the name goes to the record a child makes.
    EngineError readNamedObject(const Chunk& chunk) {
        char name[kNameSize];
        ByteCursor in = body(chunk);
        if (EngineError e = read_name(in, name)) return e;
        return walk(in.pos(), chunk.end, [&](const Chunk& c, uint64_t* next) {
            if (c.id == kChunkMesh) return readMesh(c, name);
            if (c.id == kChunkLight) return leaf(c, next, [&](ByteCursor& b) { return readLight(b, name); });
            if (c.id == kChunkCamera)
                return leaf(c, next, [&](ByteCursor& b) { return readCamera(b, name); });
            return EngineError(nullptr);
        });
    }

    EngineError readMesh(const Chunk& chunk, const char* name) {
        Object* o = new (std::nothrow) Object();
        if (!o) return kMsgNoObjectMemory;
        append(&world_->objects, &world_->current_object, o);
        std::memcpy(o->name, name, kNameSize);
        matrix_identity(o->matrix);
        bool hasPoints = false;
        return walk(chunk.start + kChunkHeaderSize, chunk.end, [&](const Chunk& c, uint64_t* next) {
            switch (c.id) {
                case kChunkPoints:
                    if (hasPoints) return EngineError(kMsgSecondPointArray);
                    hasPoints = true;
                    return leaf(c, next, [&](ByteCursor& in) { return readPoints(in, o); });
                case kChunkFaces:
                    if (!hasPoints) return EngineError(kMsgFacesBeforePoints);
                    return leaf(c, next, [&](ByteCursor& in) { return readFaces(in, o); });
                case kChunkFaceMaterial:
                    return leaf(c, next, [&](ByteCursor& in) { return readFaceMaterial(in, o); });
                case kChunkMapping:
                    if (!hasPoints) return EngineError(kMsgMappingBeforePoints);
                    return leaf(c, next, [&](ByteCursor& in) { return readMapping(in, o); });
                case kChunkLocalAxes:
                    return leaf(c, next, [&](ByteCursor& in) {
                        matrix_identity(o->matrix);
                        for (int i = 0; i < kLocalAxisFloats; ++i) o->matrix[(i / 3) * 4 + i % 3] = in.f32();
                        return EngineError(nullptr);
                    });
                default:
                    return EngineError(nullptr);
            }
        });
    }

    static EngineError readPoints(ByteCursor& in, Object* o) {
        const uint32_t n = in.u16();
        if (in.remaining() / kPositionValueSize < n) return kMsgDataOverrun;
        if (!allocate_array(&o->points, n)) return kMsgNoPointMemory;
        if (!allocate_array(&o->point_normals, n)) return kMsgNoPointNormalMemory;
        o->point_count = int32_t(n);
        for (uint32_t i = 0; i < n; ++i) {
            o->points[i].x = in.f32();
            o->points[i].y = in.f32();
            o->points[i].z = in.f32();
        }
        return nullptr;
    }

    static EngineError readFaces(ByteCursor& in, Object* o) {
        const uint32_t n = in.u16();
        if (in.remaining() / kFaceSize < n) return kMsgDataOverrun;
        Poly* polys = nullptr;
        PolyNormal* normals = nullptr;
        if (!allocate_array(&polys, n)) return kMsgNoPolyMemory;
        if (!allocate_array(&normals, n)) {
            delete[] polys;
            return kMsgNoPolyNormalMemory;
        }
        // A second face array replaces the first.
        delete[] o->polys;
        delete[] o->poly_normals;
        o->polys = polys;
        o->poly_normals = normals;
        o->poly_count = int32_t(n);
        const uint32_t points = uint32_t(o->point_count);
        for (uint32_t i = 0; i < n; ++i) {
            const uint16_t a = in.u16(), b = in.u16(), c = in.u16();
            in.u16(); // edge and visibility flags
            if (a >= points || b >= points || c >= points) return kMsgFaceIndex;
            polys[i].a = &o->points[a];
            polys[i].b = &o->points[b];
            polys[i].c = &o->points[c];
        }
        return nullptr;
    }

    EngineError readFaceMaterial(ByteCursor& in, Object* o) {
        char name[kNameSize];
        if (EngineError e = read_name(in, name)) return e;
        Material* m = find_by_name(world_->materials, name);
        if (!m) return kMsgUnknownMaterial;
        const uint32_t n = in.u16();
        if (in.remaining() / 2 < n) return kMsgDataOverrun;
        for (uint32_t i = 0; i < n; ++i) {
            const uint16_t face = in.u16();
            if (face >= uint32_t(o->poly_count)) return kMsgGroupIndex;
            o->polys[face].material = m;
        }
        return nullptr;
    }

    static EngineError readMapping(ByteCursor& in, Object* o) {
        const uint32_t n = in.u16();
        if (n > uint32_t(o->point_count)) return kMsgTooManyMapping;
        if (in.remaining() / 8 < n) return kMsgDataOverrun;
        // One coordinate per point, as users of the array expect, even if the file gives fewer.
        TexCoord* coords = nullptr;
        if (n > 0 && !allocate_array(&coords, uint32_t(o->point_count))) return kMsgNoMappingMemory;
        delete[] o->texture_coordinates;
        o->texture_coordinates = coords;
        for (uint32_t i = 0; i < n; ++i) {
            const float u = in.f32();
            const float v = -in.f32();
            coords[i] = TexCoord{u, v};
            o->points[i].u = u;
            o->points[i].v = v;
        }
        return nullptr;
    }

    EngineError readLight(ByteCursor& in, const char* name) {
        Light* l = new (std::nothrow) Light();
        if (!l) return kMsgNoLightMemory;
        append(&world_->lights, &world_->current_light, l);
        std::memcpy(l->name, name, kNameSize);
        l->position.x = in.f32();
        l->position.y = in.f32();
        l->position.z = in.f32();
        if (in.failed() || in.remaining() < kChunkHeaderSize) return kMsgLightColor;
        Chunk color{};
        if (EngineError e = readHeader(in.pos(), in.end(), &color)) return e;
        if (color.id != kChunkColorFloat) return kMsgLightColor;
        ByteCursor rgb = body(color);
        l->color.r = rgb.f32();
        l->color.g = rgb.f32();
        l->color.b = rgb.f32();
        if (rgb.failed()) return kMsgDataOverrun;
        in.seek(rgb.pos());
        return nullptr;
    }

    EngineError readCamera(ByteCursor& in, const char* name) {
        Camera* c = new (std::nothrow) Camera();
        if (!c) return kMsgNoCameraMemory;
        append(&world_->cameras, &world_->current_camera, c);
        std::memcpy(c->name, name, kNameSize);
        matrix_identity(c->matrix);
        c->position.x = in.f32();
        c->position.y = in.f32();
        c->position.z = in.f32();
        c->target.x = in.f32();
        c->target.y = in.f32();
        c->target.z = in.f32();
        c->bank = in.f32();
        c->lens = in.f32();
        c->projection_factor = kProjectionFactor;
        return nullptr;
    }

    EngineError readKeyframer(const Chunk& keyframer) {
        return walk(keyframer.start + kChunkHeaderSize, keyframer.end, [&](const Chunk& c, uint64_t* next) {
            switch (c.id) {
                case kChunkObjectNode:
                    return readObjectNode(c);
                case kChunkCameraNode:
                    return readCameraNode(c);
                case kChunkTargetNode:
                    return readTargetNode(c, next);
                case kChunkLightNode:
                    return readLightNode(c, next);
                case kChunkSegment:
                    return leaf(c, next, [&](ByteCursor& in) {
                        world_->first_frame = low_frame(in.u32());
                        world_->last_frame = low_frame(in.u32());
                        return EngineError(nullptr);
                    });
                default:
                    return EngineError(nullptr);
            }
        });
    }

    // The node header: the node's name, two flag words and the parent index.
    static EngineError read_node_header(ByteCursor& in, char name[kNameSize]) {
        if (EngineError e = read_name(in, name)) return e;
        in.u16();
        in.u16();
        in.u16();
        return in.failed() ? kMsgDataOverrun : nullptr;
    }

    EngineError readObjectNode(const Chunk& node) {
        Object* selected = nullptr;
        return walk(node.start + kChunkHeaderSize, node.end, [&](const Chunk& c, uint64_t* next) {
            switch (c.id) {
                case kChunkNodeHeader:
                    return leaf(c, next, [&](ByteCursor& in) {
                        char name[kNameSize];
                        if (EngineError e = read_node_header(in, name)) return e;
                        selected = find_by_name(world_->objects, name);
                        if (!selected) return EngineError(kMsgUnknownTrackObject);
                        world_->current_object = selected;
                        return EngineError(nullptr);
                    });
                case kChunkPivot:
                    if (!selected) return EngineError(kMsgNodeDataBeforeHeader);
                    return leaf(c, next, [&](ByteCursor& in) {
                        selected->pivot.x = in.f32();
                        selected->pivot.y = in.f32();
                        selected->pivot.z = in.f32();
                        return EngineError(nullptr);
                    });
                case kChunkPositionTrack:
                    if (!selected) return EngineError(kMsgNodeDataBeforeHeader);
                    return leaf(c, next, [&](ByteCursor& in) {
                        return read_position_track(in, &selected->position_keys,
                                                   &selected->position_key_count, kMsgNoPositionKeyMemory);
                    });
                case kChunkRotationTrack:
                    if (!selected) return EngineError(kMsgNodeDataBeforeHeader);
                    return leaf(c, next, [&](ByteCursor& in) { return read_rotation_track(in, selected); });
                case kChunkNodeId:
                    return leaf(c, next, [&](ByteCursor& in) {
                        in.u16();
                        return EngineError(nullptr);
                    });
                default:
                    return EngineError(nullptr);
            }
        });
    }

    // Camera, target and light nodes begin alike: an optional node id (two bytes), then the
    // node header. After a node id the next chunk is taken as the header whatever its id.
    // Returns the position after the header in *pos.
    EngineError readNodeStart(const Chunk& node, EngineError noHeader, char name[kNameSize], uint64_t* pos) {
        Chunk c{};
        if (EngineError e = readHeader(node.start + kChunkHeaderSize, node.end, &c)) return e;
        if (c.id == kChunkNodeId) {
            ByteCursor id = body(c);
            id.u16();
            if (id.failed()) return kMsgDataOverrun;
            if (EngineError e = readHeader(id.pos(), node.end, &c)) return e;
        } else if (c.id != kChunkNodeHeader) {
            return noHeader;
        }
        ByteCursor in = body(c);
        if (EngineError e = read_node_header(in, name)) return e;
        *pos = in.pos();
        return nullptr;
    }

    EngineError readCameraNode(const Chunk& node) {
        char name[kNameSize];
        uint64_t pos = 0;
        if (EngineError e = readNodeStart(node, kMsgCameraNodeHeader, name, &pos)) return e;
        Camera* camera = find_by_name(world_->cameras, name);
        if (!camera) return kMsgUnknownTrackCamera;
        world_->current_camera = camera;
        return walk(pos, node.end, [&](const Chunk& c, uint64_t* next) {
            if (c.id == kChunkPositionTrack) {
                return leaf(c, next, [&](ByteCursor& in) {
                    return read_position_track(in, &camera->position_keys, &camera->position_key_count,
                                               kMsgNoCameraPositionKeyMemory);
                });
            }
            if (c.id == kChunkRollTrack)
                return leaf(c, next, [&](ByteCursor& in) { return read_roll_track(in, camera); });
            return EngineError(nullptr);
        });
    }

    // Target and light nodes read their header and one position track; the keyframer loop
    // then goes on right after that track and skips whatever else the node holds.
    template <class Record>
    EngineError readSingleTrackNode(const Chunk& node, uint64_t* next, Record* head, Record** current,
                                    EngineError noHeader, EngineError unknown, EngineError noTrack,
                                    PositionKey* Record::*keys, int32_t Record::*count,
                                    EngineError noMemory) {
        char name[kNameSize];
        uint64_t pos = 0;
        if (EngineError e = readNodeStart(node, noHeader, name, &pos)) return e;
        Record* record = find_by_name(head, name);
        if (!record) return unknown;
        *current = record;
        Chunk track{};
        if (node.end - pos < kChunkHeaderSize) return noTrack;
        if (EngineError e = readHeader(pos, node.end, &track)) return e;
        if (track.id != kChunkPositionTrack) return noTrack;
        return leaf(track, next, [&](ByteCursor& in) {
            return read_position_track(in, &(record->*keys), &(record->*count), noMemory);
        });
    }

    EngineError readTargetNode(const Chunk& node, uint64_t* next) {
        return readSingleTrackNode(node, next, world_->cameras, &world_->current_camera, kMsgCameraNodeHeader,
                                   kMsgUnknownTrackTarget, kMsgTargetTrackMissing, &Camera::target_keys,
                                   &Camera::target_key_count, kMsgNoTargetKeyMemory);
    }

    EngineError readLightNode(const Chunk& node, uint64_t* next) {
        return readSingleTrackNode(node, next, world_->lights, &world_->current_light, kMsgLightNodeHeader,
                                   kMsgUnknownTrackLight, kMsgLightTrackMissing, &Light::position_keys,
                                   &Light::position_key_count, kMsgNoLightKeyMemory);
    }

    const uint8_t* data_;
    uint64_t size_;
    World* world_;
};

} // namespace

EngineError read_3ds_memory(const uint8_t* data, size_t size, World* world) {
    *world = World{};
    SceneReader reader(data, size, world);
    const EngineError error = reader.read();
    if (error) world_free(world);
    return error;
}

EngineError read_3ds_file(const char* path, World* world) {
    *world = World{};
    std::vector<uint8_t> bytes;
    const ReadFileResult read = readWholeFile(path, kMax3dsFileBytes, bytes);
    if (read.status == ReadFileStatus::CannotOpen) return kMsgCannotOpen3ds;
    if (!read.ok()) return kMsgCannotRead3ds;
    return read_3ds_memory(bytes.data(), bytes.size(), world);
}

void load_3ds(const char* path, World* world) {
    if (EngineError error = read_3ds_file(path, world)) engine_fail(error);
}
