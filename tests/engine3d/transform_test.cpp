#include "scene_fixtures.h"

#include "engine3d/keyframes.h"
#include "engine3d/matrix.h"
#include "engine3d/transform.h"
#include "engine3d/vector.h"
#include "engine3d/world_load.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

constexpr float kPi = 3.14159265f;

// A camera in engine space at (0, 0, -10) looking at the origin with the default viewport.
Camera front_camera() {
    Camera c{};
    c.position = {0, 0, -10};
    c.target = {0, 0, 0};
    c.projection_factor = kProjectionFactor;
    camera_set_viewport(&c, kViewportNearZ, kViewportLeft, kViewportRight, kViewportTop, kViewportBottom,
                        kViewportCenterX, kViewportCenterY);
    camera_update(&c);
    return c;
}

TEST(Vectors, NormalizeCrossDot) {
    Vector3 v{3, 4, 0};
    vector_normalize(&v);
    EXPECT_FLOAT_EQ(v.x, 0.6f);
    EXPECT_FLOAT_EQ(v.y, 0.8f);
    // Zero-area faces, unused points and a camera at its target give zero vectors.
    Vector3 zero{0, 0, 0};
    EXPECT_EQ(vector_normalize(&zero), &zero);
    EXPECT_EQ(zero.x, 0.0f);
    EXPECT_FALSE(std::isnan(zero.y));
    Vector3 x{1, 0, 0}, y{0, 1, 0}, z;
    vector_cross(&z, &x, &y);
    EXPECT_EQ(z.z, 1.0f);
    vector_cross(&x, &x, &y); // out may alias an input
    EXPECT_EQ(x.z, 1.0f);
    EXPECT_EQ(x.x, 0.0f);
    EXPECT_EQ(vector_dot(&z, &z), 1.0f);
}

TEST(Matrices, MultiplyAndRotateMayWorkInPlace) {
    float a[kMatrixSize], b[kMatrixSize], expected[kMatrixSize];
    for (int i = 0; i < kMatrixSize; ++i) {
        a[i] = float(i + 1);
        b[i] = float(16 - i) * 0.5f;
    }
    matrix_multiply(expected, a, b);
    matrix_multiply(a, a, b);
    for (int i = 0; i < kMatrixSize; ++i) EXPECT_EQ(a[i], expected[i]) << i;

    float m[kMatrixSize], rotated[kMatrixSize];
    matrix_identity(m);
    m[12] = 3;
    matrix_rotate(rotated, m, 0.3f, -0.7f, 1.1f);
    matrix_rotate(m, m, 0.3f, -0.7f, 1.1f);
    for (int i = 0; i < kMatrixSize; ++i) EXPECT_EQ(m[i], rotated[i]) << i;

    // A turn c about the third angle takes x towards -y... for row vectors: row 0 = (cos c, -sin c, 0).
    matrix_identity(m);
    matrix_rotate(m, m, 0, 0, kPi / 2);
    const Vector3 p = matrix_transform_point(m, 1, 0, 0);
    EXPECT_NEAR(p.x, 0.0f, 1e-6f);
    EXPECT_NEAR(p.y, -1.0f, 1e-6f);
}

TEST(Camera, BasisAndBank) {
    Camera c = front_camera();
    // x to the right, y up, z forward (depth in front of the eye).
    Vector3 p = matrix_transform_point(c.matrix, 1, 2, 0);
    EXPECT_NEAR(p.x, 1.0f, 1e-6f);
    EXPECT_NEAR(p.y, 2.0f, 1e-6f);
    EXPECT_NEAR(p.z, 10.0f, 1e-6f);
    // A bank b turns camera x into x cos b - y sin b and y into x sin b + y cos b.
    c.bank = kPi / 2;
    camera_update(&c);
    p = matrix_transform_point(c.matrix, 1, 0, 0);
    EXPECT_NEAR(p.x, 0.0f, 1e-6f);
    EXPECT_NEAR(p.y, 1.0f, 1e-6f);
    // A camera at its own target: orientation undefined, but nothing becomes NaN.
    c.target = c.position;
    camera_update(&c);
    for (float v : c.matrix) EXPECT_FALSE(std::isnan(v));
}

TEST(Projection, TruncatesTowardZeroAndClampsPointsAtTheEye) {
    const Camera c = front_camera();
    Point p{};
    p.cz = 256.0f;
    p.cy = 0.7f;
    camera_project(&c, &p);
    EXPECT_EQ(p.sy, 100); // 100 - trunc(0.7)
    p.cy = -0.7f;
    camera_project(&c, &p);
    EXPECT_EQ(p.sy, 100); // 100 - trunc(-0.7)
    p.cy = -1.5f;
    camera_project(&c, &p);
    EXPECT_EQ(p.sy, 101);
    p.cx = -0.7f; // x truncates the sum with the centre: trunc(159.3)
    camera_project(&c, &p);
    EXPECT_EQ(p.sx, 159);

    // At, behind and just in front of the eye: no overflowing conversion, and far off screen.
    const float depths[] = {0.0f, -0.0f, -1e-30f, 1e-30f, -5.0f, NAN, INFINITY};
    for (float cz : depths) {
        Point q{};
        q.cx = 3.0f;
        q.cy = -2.0f;
        q.cz = cz;
        camera_project(&c, &q);
        compute_outcode(&q, &c);
        EXPECT_LE(std::abs(q.sx), (1 << 20) + 160) << cz;
        EXPECT_LE(std::abs(q.sy), (1 << 20) + 100) << cz;
        if (!std::isnan(cz) && cz < 1.0f) {
            EXPECT_TRUE(q.clip & kClipNear) << cz;
        }
    }
}

TEST(Projection, OutcodesOnAndBeyondTheEdges) {
    const Camera c = front_camera();
    struct Case {
        int sx, sy;
        float cz;
        uint32_t clip;
    };
    const Case cases[] = {{1, 1, 1.0f, 0},
                          {319, 199, 5.0f, 0},
                          {0, 100, 5.0f, kClipLeft},
                          {320, 100, 5.0f, kClipRight},
                          {160, 0, 5.0f, kClipTop},
                          {160, 200, 5.0f, kClipBottom},
                          {160, 100, 0.99f, kClipNear},
                          {-5, 250, -1.0f, kClipNear | kClipLeft | kClipBottom}};
    for (const Case& k : cases) {
        Point p{};
        p.sx = k.sx;
        p.sy = k.sy;
        p.cz = k.cz;
        compute_outcode(&p, &c);
        EXPECT_EQ(p.clip, k.clip) << k.sx << "," << k.sy << "," << k.cz;
    }
}

TEST(Normals, AveragesAndDegenerateCases) {
    Object o{};
    Point points[5] = {};
    PointNormal pointNormals[5] = {};
    Poly polys[2] = {};
    PolyNormal polyNormals[2] = {};
    const float xyz[5][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {7, 7, 7}};
    for (int i = 0; i < 5; ++i) {
        points[i].x = xyz[i][0];
        points[i].y = xyz[i][1];
        points[i].z = xyz[i][2];
    }
    polys[0] = Poly{&points[0], &points[1], &points[2], nullptr, nullptr, 0, 0, nullptr};
    polys[1] = Poly{&points[0], &points[3], &points[3], nullptr, nullptr, 0, 0, nullptr}; // zero area
    o.points = points;
    o.point_normals = pointNormals;
    o.polys = polys;
    o.poly_normals = polyNormals;
    o.point_count = 5;
    o.poly_count = 2;
    object_compute_normals(&o);
    // (b - a) x (b - c) = (1,0,0) x (1,-1,0) = (0,0,-1)
    EXPECT_EQ(polys[0].normal, &polyNormals[0]);
    EXPECT_FLOAT_EQ(polyNormals[0].nz, -1.0f);
    EXPECT_EQ(polyNormals[1].nz, 0.0f);
    // Point 0 shares a unit normal and a zero one: their average.
    EXPECT_EQ(points[0].normal, &pointNormals[0]);
    EXPECT_FLOAT_EQ(pointNormals[0].nz, -0.5f);
    EXPECT_FLOAT_EQ(pointNormals[1].nz, -1.0f);
    // Point 3 appears twice in one poly but counts it once; point 4 is used by none.
    EXPECT_EQ(pointNormals[3].nz, 0.0f);
    EXPECT_EQ(pointNormals[4].nx, 0.0f);
    EXPECT_FALSE(std::isnan(pointNormals[4].ny));
}

TEST(Bounds, CornerOrderAndAnEmptyObject) {
    Object o{};
    Point points[2] = {};
    points[0].x = -1;
    points[0].y = 2;
    points[0].z = 3;
    points[1].x = 4;
    points[1].y = -5;
    points[1].z = 6;
    o.points = points;
    o.point_count = 2;
    object_compute_bounds(&o);
    ASSERT_NE(o.bounding_box, nullptr);
    const Point* b = o.bounding_box;
    EXPECT_EQ(b[0].x, -1.0f);
    EXPECT_EQ(b[0].y, -5.0f);
    EXPECT_EQ(b[0].z, 3.0f);
    EXPECT_EQ(b[2].x, 4.0f);
    EXPECT_EQ(b[2].y, 2.0f);
    EXPECT_EQ(b[2].z, 3.0f);
    EXPECT_EQ(b[7].x, -1.0f);
    EXPECT_EQ(b[7].y, 2.0f);
    EXPECT_EQ(b[7].z, 6.0f);
    Point* first = o.bounding_box;
    o.point_count = 0; // an empty surface: a box shrunk to the origin, same allocation
    object_compute_bounds(&o);
    EXPECT_EQ(o.bounding_box, first);
    EXPECT_EQ(b[6].x, 0.0f);
    delete[] o.bounding_box;
}

// A scene seen by a camera at file (0, -10, 0) looking at the origin.
Scene3ds viewed_scene(std::vector<SceneMesh> meshes) {
    Scene3ds s;
    s.meshes = std::move(meshes);
    s.cameras = {{"eye", {0, -10, 0}, {0, 0, 0}, 0, 50}};
    return s;
}

SceneMesh triangle(const std::string& name, SceneVec3 a, SceneVec3 b, SceneVec3 c) {
    SceneMesh m;
    m.name = name;
    m.points = {a, b, c};
    m.faces = {{0, 1, 2}};
    return m;
}

TEST(WorldTransform, ProjectsCullsAndMarksBackFaces) {
    // File z is up; the engine exchanges y and z, so file (x, y, z) is seen at engine (x, z, y).
    const std::vector<SceneMesh> meshes = {
        triangle("front", {0, 0, 0}, {1, 0, 0}, {1, 0, 1}),         // counter-clockwise on screen
        triangle("back", {0, 0, 0}, {1, 0, 1}, {1, 0, 0}),          // clockwise
        triangle("edgewise", {0, 0, 0}, {1, 0, 0}, {2, 0, 0}),      // on one line
        triangle("left", {-300, 0, 0}, {-200, 0, 1}, {-200, 0, 0}), // wholly left of column 1
        triangle("behind", {0, -20, 0}, {1, -20, 1}, {1, -20, 0}),  // behind the eye
        triangle("across", {-100, 0, 0}, {1, 0, 1}, {1, 0, 0}),     // crosses the left edge
    };
    OwnedWorld w;
    ASSERT_EQ(read_scene(viewed_scene(meshes), w.get()), nullptr);
    ASSERT_EQ(world_setup(w.get(), 100), nullptr);
    EXPECT_EQ(w->current_camera, w->cameras);
    Object* o[6];
    o[0] = w->objects;
    for (int i = 1; i < 6; ++i) o[i] = o[i - 1]->next;
    o[3]->points[0].cx = 12345.0f; // culled objects keep last frame's values
    world_animate(w.get(), 0);
    world_transform(w.get());

    // Engine point (1, 1, 0) at camera (1, 1, 10): sx = trunc(25.6 + 160), sy = 100 - trunc(25.6).
    const Point& p = o[0]->points[2];
    EXPECT_NEAR(p.cz, 10.0f, 1e-5f);
    EXPECT_EQ(p.sx, 185);
    EXPECT_EQ(p.sy, 75);
    EXPECT_EQ(o[0]->visible, 1);
    EXPECT_EQ(o[0]->polys[0].clip, 0u);
    EXPECT_EQ(o[0]->polys[0].hidden, 0);
    EXPECT_EQ(o[1]->polys[0].hidden, 1);
    EXPECT_EQ(o[2]->polys[0].hidden, 1);
    EXPECT_EQ(o[3]->visible, 0);
    EXPECT_EQ(o[3]->points[0].cx, 12345.0f);
    EXPECT_EQ(o[4]->visible, 0);
    EXPECT_EQ(o[5]->visible, 1);
    EXPECT_EQ(o[5]->polys[0].clip, kClipLeft);
    // Point normals follow into camera space: the front face's normal points at the eye.
    EXPECT_NEAR(o[0]->points[2].normal->vz, -1.0f, 1e-5f);
}

TEST(WorldTransform, MeshLocalAxesAndPivot) {
    SceneMesh m = triangle("moved", {6, 1, 2}, {7, 1, 2}, {6, 1, 3});
    // Axes: x and y swapped, origin at (5, 1, 2).
    m.localAxes = std::vector<float>{0, 1, 0, 1, 0, 0, 0, 0, 1, 5, 1, 2};
    Scene3ds s = viewed_scene({m});
    SceneNode n = object_node("moved", {position_key(0, 10, 20, 30)});
    n.pivot = SceneVec3{0.5f, 0.0f, 0.0f};
    s.nodes = {n};
    OwnedWorld w;
    ASSERT_EQ(read_scene(s, w.get()), nullptr);
    ASSERT_EQ(world_setup(w.get(), 100), nullptr);
    const Object* o = w->objects;
    // File point (7, 1, 2): minus origin (2, 0, 0), on the axes (0, 2, 0), minus pivot
    // (-0.5, 2, 0), then y and z exchanged.
    EXPECT_FLOAT_EQ(o->points[1].x, -0.5f);
    EXPECT_FLOAT_EQ(o->points[1].y, 0.0f);
    EXPECT_FLOAT_EQ(o->points[1].z, 2.0f);
    EXPECT_EQ(o->position_matrix[12], 10.0f);
    EXPECT_EQ(o->position_matrix[13], 30.0f);
    EXPECT_EQ(o->position_matrix[14], 20.0f);
}

TEST(WorldTransform, WorldsWithoutCameraOrKeysAndBadBucketCounts) {
    Scene3ds s;
    s.meshes = {square_mesh("lonely")};
    s.lights = {{"lamp", {1, 2, 3}, {}}};
    OwnedWorld w;
    ASSERT_EQ(read_scene(s, w.get()), nullptr);
    ASSERT_EQ(world_setup(w.get(), 10), nullptr);
    EXPECT_EQ(w->current_camera, nullptr);
    float identity[kMatrixSize];
    matrix_identity(identity);
    for (int i = 0; i < kMatrixSize; ++i) EXPECT_EQ(w->objects->position_matrix[i], identity[i]) << i;
    world_animate(w.get(), 3);
    world_transform(w.get());
    EXPECT_EQ(w->objects->visible, 0); // nothing is seen without an eye
    EXPECT_EQ(w->sorted_poly_count, 10);

    OwnedWorld bad;
    ASSERT_EQ(read_scene(s, bad.get()), nullptr);
    EXPECT_STREQ(world_setup(bad.get(), 0), "could not allocate sorted_polys");
    EXPECT_EQ(bad->objects, nullptr);
}

TEST(WorldLoad, LoadsFromDiskAndExitsWithTheMessageOnFailure) {
    const std::string path = testing::TempDir() + "engine3d_world_load.3ds";
    std::string error;
    ASSERT_TRUE(save_3ds(path, viewed_scene({square_mesh("sq")}), &error)) << error;
    OwnedWorld w;
    world_load(w.get(), path.c_str(), 30000);
    EXPECT_EQ(w->sorted_poly_count, 30000);
    EXPECT_NE(w->objects->bounding_box, nullptr);
    EXPECT_EQ(w->objects->visible, 1);
    std::remove(path.c_str());

    EXPECT_EXIT(
        {
            World dead{};
            world_load(&dead, "no/such/scene.3ds", 30000);
        },
        testing::ExitedWithCode(1), "");
}

} // namespace
