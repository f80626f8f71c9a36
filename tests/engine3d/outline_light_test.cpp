// Additive lines and outlines, and the diffuse lighting of points.
#include "drawing_fixtures.h"
#include "engine3d/draw_list.h"
#include "engine3d/lighting.h"
#include "engine3d/outline.h"

#include <algorithm>
#include <climits>

TEST(LineAdd, LeavesOutTheEndPoint) {
    GuardedFrame frame;
    draw_line_add(10, 10, 10, 10, 1, 2, 3, frame.pixels());
    EXPECT_EQ(frame.changed(), 0);
    draw_line_add(0, 0, 3, 0, 1, 2, 3, frame.pixels());
    EXPECT_EQ(frame.changed(), 3);
    for (int x = 0; x < 3; ++x) EXPECT_EQ(frame.at(x, 0), 0x030201u);
    EXPECT_EQ(frame.at(3, 0), 0u);
    // Steep and backwards lines cover one pixel per row.
    draw_line_add(50, 60, 47, 40, 1, 0, 0, frame.pixels());
    for (int y = 41; y <= 60; ++y) {
        int hits = 0;
        for (int x = 45; x <= 52; ++x) hits += frame.at(x, y) != 0;
        EXPECT_EQ(hits, 1) << y;
    }
}

TEST(LineAdd, SaturatesPerChannelAndStaysInTheFrame) {
    GuardedFrame frame(0xAAFDFE05u);
    draw_line_add(0, 5, 2, 5, 2, 1, 10, frame.pixels());
    // Each sum above 254 is 255; the fourth byte is kept; negative amounts stop at 0.
    EXPECT_EQ(frame.at(0, 5), 0xAAFFFF07u);
    draw_line_add(0, 6, 2, 6, -10, 0, 0, frame.pixels());
    EXPECT_EQ(frame.at(0, 6), 0xAAFDFE00u);
    // Amounts of 0 to 255 take the whole-pixel saturating add: every byte of a varied row.
    for (int x = 0; x < 256; ++x) frame.pixels()[7 * kScreenWidth + x] = 0x5A000000u | uint32_t(x * 0x010101);
    draw_line_add(0, 7, 256, 7, 255, 7, 128, frame.pixels());
    for (int x = 0; x < 256; ++x)
        ASSERT_EQ(frame.at(x, 7),
                  0x5A000000u | uint32_t(std::min(x + 128, 255) << 16 | std::min(x + 7, 255) << 8 | 255))
            << x;
    // Lines running off every side, and one far outside, touch nothing beyond the frame.
    draw_line_add(-50, -50, 400, 300, 9, 9, 9, frame.pixels());
    draw_line_add(310, 100, 5000, 100, 9, 9, 9, frame.pixels());
    draw_line_add(INT_MIN, INT_MIN, INT_MAX, INT_MIN, 9, 9, 9, frame.pixels());
    EXPECT_TRUE(frame.guardsIntact());
}

TEST(LineAdd, AClosedOutlinePlotsEachCornerOnce) {
    ScreenWorld world;
    Point a = screenPoint(10, 10), b = screenPoint(10, 30), c = screenPoint(40, 10);
    Poly p = polyOf(&a, &b, &c);
    GuardedFrame frame;
    draw_poly_outline(world.get(), &p, frame.pixels(), 8, 16, 2);
    const uint32_t once = 0x021008u;
    EXPECT_EQ(frame.at(10, 10), once);
    EXPECT_EQ(frame.at(10, 30), once);
    EXPECT_EQ(frame.at(40, 10), once);
    EXPECT_EQ(frame.at(10, 20), once);
    EXPECT_EQ(frame.at(20, 20), 0u); // inside stays dark

    // A poly beyond the screen draws no outline; one across an edge is cut there.
    Point o0 = screenPoint(-30, 50), o1 = screenPoint(-30, 80), o2 = screenPoint(-10, 50);
    Poly off = polyOf(&o0, &o1, &o2);
    GuardedFrame empty;
    draw_poly_outline(world.get(), &off, empty.pixels(), 8, 16, 2);
    EXPECT_EQ(empty.changed(), 0);
    Point x0 = screenPoint(-30, 50), x1 = screenPoint(-30, 80), x2 = screenPoint(30, 50);
    Poly across = polyOf(&x0, &x1, &x2);
    draw_poly_outline(world.get(), &across, empty.pixels(), 8, 16, 2);
    EXPECT_EQ(empty.at(1, 50), once);
    EXPECT_EQ(empty.at(0, 50), 0u);
}

namespace {

// One visible object of one point whose camera-space normal faces +z, and lights placed in
// camera space.
struct LitPoint {
    ScreenWorld world;
    Object object{};
    Point point{};
    PointNormal normal{0, 0, 0, 0.0f, 0.0f, -1.0f};
    std::vector<Light> lights;

    explicit LitPoint(std::vector<Color3> colours) : lights(colours.size()) {
        point.cz = 100.0f;
        point.normal = &normal;
        object.points = &point;
        object.point_count = 1;
        object.visible = 1;
        world.w.objects = &object;
        for (size_t i = 0; i < lights.size(); ++i) {
            lights[i].color = colours[i];
            lights[i].view_position = Vector3{0.0f, 0.0f, 0.0f}; // straight in front of the normal
            lights[i].next = i + 1 < lights.size() ? &lights[i + 1] : nullptr;
        }
        world.w.lights = lights.empty() ? nullptr : &lights[0];
    }
};

} // namespace

TEST(Lighting, AmbientSquaredCosinesAndSaturation) {
    LitPoint dark({});
    world_light(dark.world.get());
    EXPECT_FLOAT_EQ(dark.point.r, 25.5f);
    EXPECT_FLOAT_EQ(dark.point.b, 25.5f);

    LitPoint lit({{0.95f, 0.5f, 0.0f}});
    world_light(lit.world.get());
    EXPECT_FLOAT_EQ(lit.point.r, 255.0f); // 0.95 + 0.1 reaches 1.0
    EXPECT_NEAR(lit.point.g, 153.0f, 1e-3);
    EXPECT_FLOAT_EQ(lit.point.b, 25.5f);

    LitPoint two({{0.6f, 0.0f, 0.0f}, {0.6f, 0.0f, 0.0f}});
    world_light(two.world.get());
    EXPECT_FLOAT_EQ(two.point.r, 255.0f);
    EXPECT_FLOAT_EQ(two.point.g, 25.5f);

    // At 60 degrees the cosine is 0.5 and its square 0.25; from behind a light adds nothing.
    LitPoint slanted({{1.0f, 1.0f, 1.0f}});
    slanted.lights[0].view_position = Vector3{100.0f * 1.7320508f, 0.0f, 0.0f};
    world_light(slanted.world.get());
    EXPECT_NEAR(slanted.point.r, (0.25f + 0.1f) * 255.0f, 1e-2);
    slanted.lights[0].view_position = Vector3{0.0f, 0.0f, 500.0f};
    world_light(slanted.world.get());
    EXPECT_FLOAT_EQ(slanted.point.r, 25.5f);
}

TEST(Lighting, CulledObjectsKeepTheirColoursAndALightOnAPointIsHarmless) {
    LitPoint lit({{1.0f, 1.0f, 1.0f}});
    lit.object.visible = 0;
    lit.point.r = 7.0f;
    world_light(lit.world.get());
    EXPECT_EQ(lit.point.r, 7.0f);

    lit.object.visible = 1;
    lit.lights[0].view_position = Vector3{0.0f, 0.0f, 100.0f}; // at the point itself
    world_light(lit.world.get());
    EXPECT_FLOAT_EQ(lit.point.r, 25.5f);
}
