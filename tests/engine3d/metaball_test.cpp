// The marching-cubes tables and the metaball surface.
#include "drawing_fixtures.h"
#include "engine3d/marching_cubes_tables.h"
#include "engine3d/metaball.h"
#include "engine3d/transform.h"
#include "engine3d/world_memory.h"

#include <cmath>
#include <functional>
#include <map>
#include <set>

namespace {

std::vector<int> triangleRow(int index) {
    std::vector<int> row;
    for (int i = 0; kTriangleTable[index][i] >= 0; ++i) row.push_back(kTriangleTable[index][i]);
    return row;
}

bool onFace(int edge, int axis, int side) {
    const CubeOffset& a = kCubeCorners[kCubeEdges[edge].from];
    const CubeOffset& b = kCubeCorners[kCubeEdges[edge].to];
    const int ca[3] = {a.dx, a.dy, a.dz}, cb[3] = {b.dx, b.dy, b.dz};
    return ca[axis] == side && cb[axis] == side;
}

// A surface object in a world of its own, with a camera looking at it along +z.
struct Surface {
    ScreenWorld world;
    Object object{};
    Material material{};
    Surface() {
        world.w.objects = &object;
        EXPECT_EQ(metaball_setup(&object, &material), nullptr);
        world.camera.position = Vector3{0.0f, 0.0f, -300.0f};
        world.camera.target = Vector3{0.0f, 0.0f, 0.0f};
        matrix_identity_rows();
    }
    ~Surface() { object_free_mesh(&object); }
    void matrix_identity_rows() {
        for (float* m : {object.position_matrix, object.rotation_matrix}) {
            for (int i = 0; i < kMatrixSize; ++i) m[i] = i % 5 == 0 ? 1.0f : 0.0f;
        }
    }
    void fill(const std::function<float(const GridPoint&)>& field) {
        for (GridPoint& p : metaball_grid) p.value = field(p);
    }
};

float sphere(const GridPoint& p, float radius) {
    return radius * radius - (p.x * p.x + p.y * p.y + p.z * p.z);
}

// Grid edges whose ends lie on different sides of the level.
int crossingEdges() {
    int n = 0;
    for (int z = 0; z < kMetaballGridSide; ++z)
        for (int y = 0; y < kMetaballGridSide; ++y)
            for (int x = 0; x < kMetaballGridSide; ++x) {
                const bool below = !(metaball_grid[metaball_grid_index(x, y, z)].value >= 0.0f);
                const int next[3][3] = {{x + 1, y, z}, {x, y + 1, z}, {x, y, z + 1}};
                for (const auto& q : next) {
                    if (q[0] >= kMetaballGridSide || q[1] >= kMetaballGridSide || q[2] >= kMetaballGridSide)
                        continue;
                    n += below != !(metaball_grid[metaball_grid_index(q[0], q[1], q[2])].value >= 0.0f);
                }
            }
    return n;
}

} // namespace

TEST(MarchingCubes, TablesFitTheCubeNumbering) {
    EXPECT_EQ(triangleRow(0), std::vector<int>{});
    EXPECT_EQ(triangleRow(1), (std::vector<int>{0, 8, 3}));
    EXPECT_EQ(triangleRow(3), (std::vector<int>{1, 8, 3, 9, 8, 1}));
    EXPECT_EQ(triangleRow(255), std::vector<int>{});
    EXPECT_EQ(kEdgeTable[1], 0x109);
    EXPECT_EQ(kEdgeTable[3], 0x30A);

    for (int index = 0; index < kCubeCases; ++index) {
        const std::vector<int> row = triangleRow(index);
        ASSERT_EQ(row.size() % 3, 0u) << index;
        ASSERT_LE(row.size(), size_t(3 * kMaxCubeTriangles)) << index;
        // Exactly the crossing edges carry corners.
        std::set<int> used(row.begin(), row.end());
        uint16_t mask = 0;
        for (int e : used) mask |= uint16_t(1u << e);
        ASSERT_EQ(mask, kEdgeTable[index]) << index;
        // The patches close up inside the cube: a side between two triangles is met once in each
        // direction, and every open side lies on a cube face.
        std::map<std::pair<int, int>, int> sides;
        for (size_t t = 0; t < row.size(); t += 3)
            for (int k = 0; k < 3; ++k) ++sides[{row[t + k], row[t + (k + 1) % 3]}];
        for (const auto& [side, count] : sides) {
            ASSERT_EQ(count, 1) << index;
            if (sides.count({side.second, side.first})) continue;
            bool onOneFace = false;
            for (int axis = 0; axis < 3; ++axis)
                for (int s = 0; s < 2; ++s)
                    onOneFace |= onFace(side.first, axis, s) && onFace(side.second, axis, s);
            ASSERT_TRUE(onOneFace) << index << ": " << side.first << "-" << side.second;
        }
    }
}

TEST(Metaball, OnePointPerCrossingEdgeWithOutwardNormals) {
    Surface s;
    s.fill([](const GridPoint& p) { return sphere(p, 7.0f); });
    metaball_polygonise(&s.object, 5.0f);
    EXPECT_EQ(s.object.point_count, crossingEdges());
    EXPECT_GT(s.object.poly_count, 100);
    for (int32_t i = 0; i < s.object.point_count; ++i) {
        const Point& p = s.object.points[i];
        const double radius = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
        ASSERT_NEAR(radius, 35.0, 5.0); // on the sphere, scaled by 5
        // The normal points down the field, out of the surface.
        const PointNormal& n = *p.normal;
        ASSERT_GT(n.nx * p.x + n.ny * p.y + n.nz * p.z, 0.0f) << i;
        ASSERT_FLOAT_EQ(p.u, p.x / 200.0f);
        ASSERT_FLOAT_EQ(p.v, p.y / 200.0f);
    }
    for (int32_t i = 0; i < s.object.poly_count; ++i) {
        const Poly& poly = s.object.polys[i];
        ASSERT_EQ(poly.material, &s.material);
        ASSERT_EQ(poly.normal, nullptr);
    }
    // Seen from the camera, the polys facing it are drawn: every drawn poly's corners have
    // normals towards the eye.
    world_transform(s.world.get());
    ASSERT_EQ(s.object.visible, 1);
    int drawn = 0;
    for (int32_t i = 0; i < s.object.poly_count; ++i) {
        const Poly& poly = s.object.polys[i];
        if (poly.hidden) continue;
        ++drawn;
        EXPECT_LT(poly.a->normal->vz + poly.b->normal->vz + poly.c->normal->vz, 0.0f) << i;
    }
    EXPECT_GT(drawn, s.object.poly_count / 4);
}

TEST(Metaball, ZeroCountsAsInsideAndTheFarFacesHaveNormals) {
    Surface s;
    // A plane x = 12 through the far face: the field falls along x and is 0 exactly there.
    s.fill([](const GridPoint& p) { return 12.0f - p.x; });
    metaball_polygonise(&s.object, 1.0f);
    // Only the edges from x = 12 to nothing: no crossing, the last column sits on the level.
    EXPECT_EQ(s.object.point_count, 0);

    s.fill([](const GridPoint& p) { return p.x >= 12.0f ? -1.0f : (p.x >= 10.5f ? 0.0f : 1.0f); });
    metaball_polygonise(&s.object, 1.0f);
    ASSERT_EQ(s.object.point_count, 17 * 17);
    for (int32_t i = 0; i < s.object.point_count; ++i) {
        const Point& p = s.object.points[i];
        EXPECT_FLOAT_EQ(p.x, 10.5f); // a corner of value 0 holds its point
        const PointNormal& n = *p.normal;
        // One-sided differences on the far face: finite, pointing out along +x.
        EXPECT_TRUE(std::isfinite(n.nx) && std::isfinite(n.ny) && std::isfinite(n.nz));
        EXPECT_GT(n.nx, 0.5f);
    }
}

TEST(Metaball, EmptyFieldsCullTheObject) {
    Surface s;
    for (float level : {-1.0f, 1.0f}) {
        s.fill([](const GridPoint& p) { return sphere(p, 6.0f); });
        metaball_polygonise(&s.object, 5.0f);
        ASSERT_GT(s.object.poly_count, 0);
        s.fill([level](const GridPoint&) { return level; });
        metaball_polygonise(&s.object, 5.0f);
        EXPECT_EQ(s.object.point_count, 0);
        EXPECT_EQ(s.object.poly_count, 0);
        EXPECT_EQ(s.object.bounding_box, nullptr);
        world_transform(s.world.get());
        EXPECT_EQ(s.object.visible, 0);
    }
}

TEST(Metaball, AFullSurfaceStopsAtTheCapacity) {
    Surface s;
    // A checkerboard of signs: every cell crosses, far more than the object holds.
    s.fill([](const GridPoint& p) {
        const int parity = int(std::lround(p.x / 1.5f + p.y / 1.5f + p.z / 1.5f + 24));
        return parity % 2 == 0 ? 1.0f : -1.0f;
    });
    metaball_polygonise(&s.object, 5.0f);
    EXPECT_EQ(s.object.point_count, kMetaballCapacity);
    EXPECT_LE(s.object.poly_count, kMetaballCapacity);
    for (int32_t i = 0; i < s.object.poly_count; ++i) {
        const Poly& poly = s.object.polys[i];
        for (const Point* c : {poly.a, poly.b, poly.c}) {
            ASSERT_GE(c, s.object.points);
            ASSERT_LT(c, s.object.points + s.object.point_count);
        }
    }
    // Not a number counts as below; a surface of NaNs and numbers stays finite.
    s.fill([](const GridPoint& p) { return p.x > 0.0f ? NAN : 1.0f; });
    metaball_polygonise(&s.object, 5.0f);
    EXPECT_GT(s.object.point_count, 0);
    for (int32_t i = 0; i < s.object.point_count; ++i) EXPECT_TRUE(std::isfinite(s.object.points[i].x));

    // An object the surface was not set up in has no room for it: it is left alone.
    Object other{};
    metaball_polygonise(&other, 1.0f);
    EXPECT_EQ(other.point_count, 0);
}
