#include "engine3d/metaball.h"

#include "engine3d/marching_cubes_tables.h"
#include "engine3d/transform.h"
#include "engine3d/vector.h"
#include "engine3d/world_memory.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

GridPoint metaball_grid[kMetaballGridPoints];

namespace {

constexpr int kGridCentre = 8;
constexpr float kGridSpacing = 1.5f; // 24 units over 16 steps
constexpr int kCellCount = kMetaballCellSide * kMetaballCellSide * kMetaballCellSide;
constexpr int kCellCorners = 8;
constexpr int kCellEdges = 12;
constexpr int kAxes = 3;
constexpr int32_t kNoStamp = -1;
// Texture coordinates of the surface: the scaled position divided by this.
constexpr float kMappingDivisor = 200.0f;

// The point on one grid edge, shared by the up to four cells around the edge.
struct GridEdge {
    Point* point;
    int32_t stamp; // the frame the point was made in; kNoStamp when none
};

struct GridCell {
    GridPoint* corners[kCellCorners];
    GridEdge* edges[kCellEdges];
};

// One edge record per grid point and axis: the edge from the point one step along that axis.
GridEdge gridEdges[kMetaballGridPoints][kAxes];
GridCell cells[kCellCount];

// The object metaball_setup gave room to, and how much.
Object* surfaceObject = nullptr;
int32_t surfaceCapacity = 0;
int32_t frameCounter = 0;

int gridIndexOf(const GridPoint* p) {
    return int(p - metaball_grid);
}

// The field's difference towards the next grid point along one axis, v - v(+axis). On the far
// face there is no next point: the difference from the point before it stands in.
float fieldStep(int x, int y, int z, int axis) {
    int coordinate[kAxes] = {x, y, z};
    const float v = metaball_grid[metaball_grid_index(x, y, z)].value;
    if (coordinate[axis] + 1 < kMetaballGridSide) {
        ++coordinate[axis];
        return v - metaball_grid[metaball_grid_index(coordinate[0], coordinate[1], coordinate[2])].value;
    }
    --coordinate[axis];
    return metaball_grid[metaball_grid_index(coordinate[0], coordinate[1], coordinate[2])].value - v;
}

// The unit vector pointing down the field at a grid point: out of the surface.
Vector3 fieldNormal(const GridPoint* p) {
    const int index = gridIndexOf(p);
    const int x = index % kMetaballGridSide;
    const int y = index / kMetaballGridSide % kMetaballGridSide;
    const int z = index / (kMetaballGridSide * kMetaballGridSide);
    Vector3 g{fieldStep(x, y, z, 0), fieldStep(x, y, z, 1), fieldStep(x, y, z, 2)};
    vector_normalize(&g);
    return g;
}

void forgetEdgePoints() {
    for (auto& edges : gridEdges)
        for (GridEdge& e : edges) e = GridEdge{nullptr, kNoStamp};
}

void buildGrid() {
    for (int z = 0; z < kMetaballGridSide; ++z)
        for (int y = 0; y < kMetaballGridSide; ++y)
            for (int x = 0; x < kMetaballGridSide; ++x) {
                GridPoint& p = metaball_grid[metaball_grid_index(x, y, z)];
                p.x = float(x - kGridCentre) * kGridSpacing;
                p.y = float(y - kGridCentre) * kGridSpacing;
                p.z = float(z - kGridCentre) * kGridSpacing;
            }
    for (int z = 0; z < kMetaballCellSide; ++z)
        for (int y = 0; y < kMetaballCellSide; ++y)
            for (int x = 0; x < kMetaballCellSide; ++x) {
                GridCell& cell = cells[(z * kMetaballCellSide + y) * kMetaballCellSide + x];
                for (int n = 0; n < kCellCorners; ++n) {
                    const CubeOffset& o = kCubeCorners[n];
                    cell.corners[n] = &metaball_grid[metaball_grid_index(x + o.dx, y + o.dy, z + o.dz)];
                }
                for (int e = 0; e < kCellEdges; ++e) {
                    const CubeOffset& a = kCubeCorners[kCubeEdges[e].from];
                    const CubeOffset& b = kCubeCorners[kCubeEdges[e].to];
                    // The edge belongs to its lower end, along the one axis its ends differ in.
                    const int axis = a.dx != b.dx ? 0 : a.dy != b.dy ? 1 : 2;
                    const int lowest = metaball_grid_index(x + std::min(a.dx, b.dx), y + std::min(a.dy, b.dy),
                                                           z + std::min(a.dz, b.dz));
                    cell.edges[e] = &gridEdges[lowest][axis];
                }
            }
}

float lerp(float a, float b, float t) {
    return a + (b - a) * t;
}

// The surface point on edge e of the cell: the one another cell made this frame, or a new one.
// None when the object is full.
Point* edgePoint(Object* o, const GridCell& cell, int e) {
    GridEdge* record = cell.edges[e];
    if (record->stamp == frameCounter) return record->point;
    if (o->point_count >= surfaceCapacity) return nullptr;
    const GridPoint* p = cell.corners[kCubeEdges[e].from];
    const GridPoint* q = cell.corners[kCubeEdges[e].to];
    float t = (0.0f - p->value) / (q->value - p->value);
    // Only a value that is not a number puts the crossing outside the edge.
    t = std::isnan(t) ? 0.0f : std::clamp(t, 0.0f, 1.0f);

    const int32_t index = o->point_count++;
    Point& point = o->points[index];
    point = Point{};
    point.x = lerp(p->x, q->x, t);
    point.y = lerp(p->y, q->y, t);
    point.z = lerp(p->z, q->z, t);
    const Vector3 gp = fieldNormal(p);
    const Vector3 gq = fieldNormal(q);
    PointNormal& normal = o->point_normals[index];
    normal = PointNormal{lerp(gp.x, gq.x, t), lerp(gp.y, gq.y, t), lerp(gp.z, gq.z, t), 0.0f, 0.0f, 0.0f};
    point.normal = &normal;
    *record = GridEdge{&point, frameCounter};
    return &point;
}

void polygoniseCell(Object* o, const GridCell& cell) {
    int index = 0;
    for (int n = 0; n < kCellCorners; ++n)
        if (!(cell.corners[n]->value >= 0.0f)) index |= 1 << n;
    const uint16_t mask = kEdgeTable[index];
    if (mask == 0) return;
    Point* points[kCellEdges] = {};
    for (int e = 0; e < kCellEdges; ++e)
        if (mask & (1u << e)) points[e] = edgePoint(o, cell, e);
    const int8_t* row = kTriangleTable[index];
    for (int i = 0; row[i] >= 0; i += 3) {
        Point* a = points[row[i]];
        Point* b = points[row[i + 1]];
        Point* c = points[row[i + 2]];
        // Past the capacity the surface simply ends.
        if (!a || !b || !c || o->poly_count >= surfaceCapacity) continue;
        Poly& poly = o->polys[o->poly_count++];
        poly.a = a;
        poly.b = b;
        poly.c = c;
        poly.next = nullptr;
        poly.normal = nullptr;
        poly.clip = 0;
        poly.hidden = 0;
    }
}

} // namespace

EngineError metaball_setup(Object* object, Material* material) {
    if (!material && object->poly_count > 0) material = object->polys[0].material;
    object_free_mesh(object);
    surfaceObject = nullptr;
    surfaceCapacity = 0;
    object->points = new (std::nothrow) Point[kMetaballCapacity]();
    object->point_normals = new (std::nothrow) PointNormal[kMetaballCapacity]();
    object->polys = new (std::nothrow) Poly[kMetaballCapacity]();
    if (!object->points || !object->point_normals || !object->polys) {
        object_free_mesh(object);
        return kMsgNoMetaballMemory;
    }
    for (int i = 0; i < kMetaballCapacity; ++i) object->polys[i].material = material;
    buildGrid();
    forgetEdgePoints();
    frameCounter = 0;
    surfaceObject = object;
    surfaceCapacity = kMetaballCapacity;
    return nullptr;
}

void metaball_reset() {
    forgetEdgePoints();
}

void metaball_polygonise(Object* object, float scale) {
    if (!object || object != surfaceObject) return;
    object->point_count = 0;
    object->poly_count = 0;
    for (const GridCell& cell : cells) polygoniseCell(object, cell);
    for (int32_t i = 0; i < object->point_count; ++i) {
        Point& p = object->points[i];
        p.x *= scale;
        p.y *= scale;
        p.z *= scale;
        p.u = p.x / kMappingDivisor;
        p.v = p.y / kMappingDivisor;
    }
    if (object->point_count > 0) {
        object_compute_bounds(object);
    } else {
        // Without a box the transform culls the object: nothing of an empty surface is drawn.
        delete[] object->bounding_box;
        object->bounding_box = nullptr;
    }
    if (frameCounter == std::numeric_limits<int32_t>::max()) {
        // Stamps of old frames must never match a new one.
        forgetEdgePoints();
        frameCounter = 0;
    } else {
        ++frameCounter;
    }
}
