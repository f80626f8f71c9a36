// The clipping stage, the depth buckets and the order polys are drawn in.
#include "drawing_fixtures.h"
#include "engine3d/clip_polygon.h"
#include "engine3d/draw_list.h"

#include <cmath>

TEST(ClipPolygon, CutsAtTheScreenEdgesAndInterpolates) {
    ScreenWorld world;
    Point a = screenPoint(-10, 100), b = screenPoint(10, 100), c = screenPoint(10, 80);
    a.u = 0.0f;
    b.u = c.u = 1.0f;
    a.cz = 20.0f;
    Poly p = polyOf(&a, &b, &c);
    ClipPolygon out;
    clip_poly_to_screen(&p, &world.camera, &out);
    ASSERT_EQ(out.count, 4);
    EXPECT_EQ(out.corners[0].sx, 1);
    EXPECT_EQ(out.corners[0].sy, 100);
    EXPECT_FLOAT_EQ(out.corners[0].u, 0.55f);
    EXPECT_FLOAT_EQ(out.corners[0].cz, 20.0f - 10.0f * 0.55f);
    EXPECT_EQ(out.corners[1].sx, 10);
    EXPECT_EQ(out.corners[2].sy, 80);
    EXPECT_EQ(out.corners[3].sx, 1);
    EXPECT_EQ(out.corners[3].sy, 89); // trunc(80 + 20 * 0.45)
    EXPECT_EQ(a.clip, kClipLeft);     // the stage writes the corners' outcodes

    // An object wholly inside the viewport (clip 0) passes its corners as they are.
    Poly inside = polyOf(&a, &b, &c, 0);
    clip_poly_to_screen(&inside, &world.camera, &out);
    ASSERT_EQ(out.count, 3);
    EXPECT_EQ(out.corners[0].sx, -10);
}

TEST(ClipPolygon, DropsPolysBeyondAnEdgeOrTooNear) {
    ScreenWorld world;
    ClipPolygon out;
    // All three corners beyond the right edge.
    Point r0 = screenPoint(330, 10), r1 = screenPoint(330, 50), r2 = screenPoint(400, 10);
    Poly right = polyOf(&r0, &r1, &r2);
    clip_poly_to_screen(&right, &world.camera, &out);
    EXPECT_EQ(out.count, 0);
    // One corner nearer than the near plane drops the whole poly, even mostly on screen.
    Point n0 = screenPoint(100, 100), n1 = screenPoint(100, 150), n2 = screenPoint(150, 100, 0.5f);
    Poly near = polyOf(&n0, &n1, &n2);
    clip_poly_to_screen(&near, &world.camera, &out);
    EXPECT_EQ(out.count, 0);
    // Corners beyond three different edges, the triangle passing outside the top-left corner.
    Point t0 = screenPoint(-5, 3), t1 = screenPoint(3, -5), t2 = screenPoint(400, -200);
    Poly corner = polyOf(&t0, &t1, &t2);
    clip_poly_to_screen(&corner, &world.camera, &out);
    EXPECT_EQ(out.count, 0);
}

TEST(ClipPolygon, StaysWithinItsBuffer) {
    ScreenWorld world;
    // A triangle around the whole screen gives the four screen corners.
    Point a = screenPoint(-400, -300), b = screenPoint(-400, 900), c = screenPoint(1200, -300);
    Poly big = polyOf(&a, &b, &c);
    ClipPolygon out;
    clip_poly_to_screen(&big, &world.camera, &out);
    EXPECT_EQ(out.count, 4);
    for (int i = 0; i < out.count; ++i) {
        EXPECT_GE(out.corners[i].sx, 1);
        EXPECT_LE(out.corners[i].sx, 319);
        EXPECT_GE(out.corners[i].sy, 1);
        EXPECT_LE(out.corners[i].sy, 199);
    }
    // A star whose six spikes reach beyond the edges would clip to 18 corners; the output ends
    // at the capacity, and a count beyond the capacity is read as the capacity.
    ClipPolygon star;
    star.count = kClipPolygonCapacity + 100;
    for (int i = 0; i < kClipPolygonCapacity; ++i) {
        const double angle = 6.283185307179586 * i / kClipPolygonCapacity;
        const double rx = i % 2 == 0 ? 260 : 40, ry = i % 2 == 0 ? 170 : 30;
        star.corners[i] = screenPoint(160 + int(rx * std::cos(angle)), 100 + int(ry * std::sin(angle)));
    }
    clip_polygon(&star, &out, kAllScreenEdges, &world.camera);
    EXPECT_EQ(out.count, kClipPolygonCapacity);
}

TEST(DepthSort, KeysAreRangeTestedBeforeConversion) {
    Point a{}, b{}, c{};
    Poly p = polyOf(&a, &b, &c);
    struct Case {
        float depth; // of each corner
        bool filed;
        int32_t key;
    } cases[] = {
        {29000.0f / 3, false, 0},                              // key 30000
        {28999.9f / 3, true, 29999}, {-1000.0f / 3, false, 0}, // key 0
        {-999.5f / 3, true, 1},                                // truncated toward zero: -999
        {1.0e30f, false, 0},                                   // far beyond an int
        {-1.0e30f, false, 0},        {NAN, false, 0},
    };
    for (const Case& t : cases) {
        a.cz = b.cz = c.cz = t.depth;
        int32_t key = -1;
        EXPECT_EQ(poly_sort_key(&p, 30000, &key), t.filed) << t.depth;
        if (t.filed) {
            EXPECT_EQ(key, t.key) << t.depth;
        }
    }
}

TEST(DepthSort, FarBucketsFirstAndLaterFiledFirstWithinOne) {
    ScreenWorld world;
    std::vector<Poly*> buckets(100, nullptr);
    world.w.sorted_polys = buckets.data();
    world.w.sorted_poly_count = int32_t(buckets.size());
    // Two objects; the second object's polys are filed after the first's.
    Point near{}, far{}, mid{};
    near.cz = -990.0f / 3; // key 10
    far.cz = -930.0f / 3;  // key 70
    mid.cz = -960.0f / 3;  // key 40
    Poly first[3] = {polyOf(&near, &near, &near), polyOf(&far, &far, &far), polyOf(&mid, &mid, &mid)};
    Poly second[2] = {polyOf(&mid, &mid, &mid), polyOf(&far, &far, &far)};
    first[1].hidden = 1; // faces away: never filed
    Object o1{}, o2{}, o3{};
    o1.polys = first;
    o1.poly_count = 3;
    o1.visible = 1;
    o2.polys = second;
    o2.poly_count = 2;
    o2.visible = 1;
    Poly culled = polyOf(&near, &near, &near);
    o3.polys = &culled;
    o3.poly_count = 1;
    o3.visible = 0;
    o1.next = &o2;
    o2.next = &o3;
    world.w.objects = &o1;
    buckets[5] = &culled; // last frame's filing is forgotten
    world_sort(world.get());

    std::vector<Poly*> order;
    for (int32_t k = world.w.sorted_poly_count - 1; k > 0; --k)
        for (Poly* p = buckets[size_t(k)]; p; p = p->next) order.push_back(p);
    const std::vector<Poly*> expected = {&second[1], &second[0], &first[2], &first[0]};
    EXPECT_EQ(order, expected);
}
