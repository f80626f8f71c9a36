// The four fillers and their shared scan conversion.
#include "drawing_fixtures.h"
#include "engine3d/poly_fillers.h"
#include "engine3d/raster.h"
#include "imagelib/bgl_image.h"

namespace {

// A counter-clockwise (drawn) right triangle with its right angle at (x, y).
struct Triangle {
    Point a, b, c;
    Triangle(int x, int y, int size)
        : a(screenPoint(x, y)), b(screenPoint(x, y + size)), c(screenPoint(x + size, y)) {}
    void setUV(float u, float v) {
        for (Point* p : {&a, &b, &c}) {
            p->u = u;
            p->v = v;
        }
    }
    Poly poly(uint32_t clip = kAllScreenEdges, Material* m = nullptr) { return polyOf(&a, &b, &c, clip, m); }
};

} // namespace

TEST(PolyFillers, TexelAddressingWrapsEveryCoordinate) {
    ScreenWorld world;
    const std::vector<uint32_t> texture = addressTexture();
    struct Case {
        float u, v;
        uint32_t texel;
    } cases[] = {
        {0.0f, 0.0f, 0},          {1.0f, 0.0f, 255}, // 1.0 is texel 255
        {1.5f, 0.0f, 126},                           // 382 wraps to 126
        {0.0f, 1.0f, 255u * 256},                    // rows the same way
        {-1.0f, 0.0f, 1},                            // -255 wraps to 1
        {1.0e6f, 0.0f, 192},                         // far past 32 bits in 16.16: wraps, never overflows
    };
    for (const Case& c : cases) {
        GuardedFrame frame;
        Triangle t(40, 40, 20);
        t.setUV(c.u, c.v);
        Poly p = t.poly();
        fill_textured(world.get(), &p, frame.pixels(), texture.data());
        EXPECT_EQ(frame.at(42, 42), c.texel) << c.u << ", " << c.v;
        EXPECT_EQ(frame.at(50, 45), c.texel) << c.u << ", " << c.v;
    }

    // The environment map is addressed by the normal: vx = 1.0 gives 256, column 0.
    GuardedFrame frame;
    Triangle t(40, 40, 20);
    PointNormal n{0, 0, 0, 1.0f, 0.0f, -1.0f};
    for (Point* p : {&t.a, &t.b, &t.c}) p->normal = &n;
    Poly p = t.poly();
    fill_envmapped(world.get(), &p, frame.pixels(), texture.data());
    EXPECT_EQ(t.a.eu, 256.0f);
    EXPECT_EQ(t.a.ev, 128.0f);
    EXPECT_EQ(frame.at(42, 42), 128u * 256);
}

TEST(PolyFillers, RowsAndColumnsEndBeforeTheBottomAndRightCorners) {
    ScreenWorld world;
    const std::vector<uint32_t> white(kTextureTexels, 0xFFFFFF);
    // Corners on rows 10 to 12: rows 10 and 11 are filled.
    GuardedFrame frame;
    Point a = screenPoint(10, 10), b = screenPoint(10, 12), c = screenPoint(30, 10);
    Poly p = polyOf(&a, &b, &c);
    fill_textured(world.get(), &p, frame.pixels(), white.data());
    for (int x = 0; x < 40; ++x) {
        EXPECT_EQ(frame.at(x, 9), 0u);
        EXPECT_EQ(frame.at(x, 12), 0u);
    }
    EXPECT_EQ(frame.at(10, 10), 0xFFFFFFu);
    EXPECT_EQ(frame.at(29, 10), 0xFFFFFFu);
    EXPECT_EQ(frame.at(30, 10), 0u); // the right end is exclusive
    EXPECT_EQ(frame.at(10, 11), 0xFFFFFFu);

    // All corners on one row, collinear corners (det 0) and a clockwise poly draw nothing.
    Point f0 = screenPoint(10, 50), f1 = screenPoint(20, 50), f2 = screenPoint(30, 50);
    Point d0 = screenPoint(10, 60), d1 = screenPoint(20, 70), d2 = screenPoint(30, 80);
    Point cw0 = screenPoint(100, 100), cw1 = screenPoint(120, 100), cw2 = screenPoint(100, 120);
    Poly flat = polyOf(&f0, &f1, &f2), line = polyOf(&d0, &d1, &d2), clockwise = polyOf(&cw0, &cw1, &cw2);
    GuardedFrame empty;
    for (Poly* q : {&flat, &line, &clockwise}) fill_textured(world.get(), q, empty.pixels(), white.data());
    EXPECT_EQ(empty.changed(), 0);
}

TEST(PolyFillers, SpansStepTheirAttributesAcrossThePoly) {
    ScreenWorld world;
    const std::vector<uint32_t> texture = addressTexture();
    GuardedFrame frame;
    // u runs from 0 at x = 20 to 1 at x = 275: one texel per pixel.
    Point a = screenPoint(20, 20), b = screenPoint(20, 120), c = screenPoint(275, 20);
    a.u = b.u = 0.0f;
    c.u = 1.0f;
    Poly p = polyOf(&a, &b, &c, 0);
    fill_textured(world.get(), &p, frame.pixels(), texture.data());
    for (int x = 20; x < 270; x += 25) EXPECT_NEAR(double(frame.at(x, 20)), double(x - 20), 1.0) << x;
}

TEST(PolyFillers, LitAndAddedTexelsKeepTheFourthByte) {
    ScreenWorld world;
    const uint32_t keep = 0xAB000000u;
    // Ambient light only (25.5) darkens a texel byte of 200 to 19.
    {
        const std::vector<uint32_t> grey(kTextureTexels, 0x00C8C8C8);
        GuardedFrame frame(keep);
        Triangle t(40, 40, 20);
        for (Point* q : {&t.a, &t.b, &t.c}) q->r = q->g = q->b = 25.5f;
        Poly p = t.poly();
        fill_textured_lit(world.get(), &p, frame.pixels(), grey.data());
        EXPECT_EQ(frame.at(45, 45), keep | 0x131313u);
    }
    // Full light (255) gives floor(texel * 255 / 256); light a little out of range never wraps.
    {
        const std::vector<uint32_t> white(kTextureTexels, 0x00FFFFFF);
        GuardedFrame frame(keep);
        Triangle t(40, 40, 20);
        for (Point* q : {&t.a, &t.b, &t.c}) {
            q->r = 255.0f;
            q->g = 300.0f;
            q->b = -3.0f;
        }
        Poly p = t.poly();
        fill_textured_lit(world.get(), &p, frame.pixels(), white.data());
        EXPECT_EQ(frame.at(45, 45), keep | 0xFEFF00u);
    }
    // Texture plus environment saturates per channel.
    {
        std::vector<uint32_t> texture(kTextureTexels, 0x00FF1080), environment(kTextureTexels, 0x00402090);
        GuardedFrame frame(keep);
        Triangle t(40, 40, 20);
        Poly p = t.poly();
        fill_textured_env(world.get(), &p, frame.pixels(), texture.data(), environment.data());
        EXPECT_EQ(frame.at(45, 45), keep | 0xFF30FFu);
    }
}

TEST(PolyFillers, MaterialTexturesNeedTheRightShape) {
    bglimage good{256, 256, 32, 0, nullptr, nullptr};
    std::vector<uint32_t> pixels(kTextureTexels, 7);
    good.image = reinterpret_cast<uint8_t*>(pixels.data());
    bglimage small{128, 256, 32, 0, nullptr, good.image};
    Material m{};
    Poly p{};
    const uint32_t fallback = 0;
    EXPECT_EQ(poly_texture(&p, &fallback), &fallback); // no material
    p.material = &m;
    EXPECT_EQ(poly_texture(&p, &fallback), &fallback); // no texture
    m.texture = &small;
    EXPECT_EQ(poly_texture(&p, &fallback), &fallback); // would be read past its end
    m.texture = &good;
    EXPECT_EQ(poly_texture(&p, &fallback), pixels.data());
}

TEST(PolyFillers, NothingLandsOutsideTheFrame) {
    ScreenWorld world;
    const std::vector<uint32_t> white(kTextureTexels, 0xFFFFFF);
    // A poly that claims to lie inside the viewport (clip 0) but does not, and one far off.
    Point a = screenPoint(-5000, -3000), b = screenPoint(-400, 9000), c = screenPoint(7000, -100);
    Point far0 = screenPoint(-2000000, 5), far1 = screenPoint(-2000000, 100), far2 = screenPoint(2000000, 5);
    for (Point* p : {&a, &b, &c, &far0, &far1, &far2}) p->u = 1.0e9f;
    Poly big = polyOf(&a, &b, &c, 0), wide = polyOf(&far0, &far1, &far2, 0);
    GuardedFrame frame;
    fill_textured(world.get(), &big, frame.pixels(), white.data());
    fill_textured(world.get(), &wide, frame.pixels(), white.data());
    EXPECT_TRUE(frame.guardsIntact());
    EXPECT_GT(frame.changed(), 0);
}
