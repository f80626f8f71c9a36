// Pictures drawn over other effects, where pure black means "nothing here": the chrome figure,
// the column of moons, the spray paint and the maker's logo.
#include "forge/font/glyph_renderer.h"
#include "forge/pictures/picture_makers.h"
#include "forge/pictures/space_painter.h"

#include <algorithm>
#include <cmath>

namespace forge {

namespace {

inline float clamp01(float v) {
    return std::min(1.0f, std::max(0.0f, v));
}

struct Point {
    float x, y;
};

// Distance from p to the segment a-b, minus a radius that runs from ra at a to rb at b.
float capsule(Point p, Point a, Point b, float ra, float rb) {
    const float bx = b.x - a.x, by = b.y - a.y, px = p.x - a.x, py = p.y - a.y;
    const float t = clamp01((px * bx + py * by) / (bx * bx + by * by));
    return std::hypot(px - bx * t, py - by * t) - (ra + (rb - ra) * t);
}

// Smooth union: joints blend like a cast body instead of meeting at creases.
float smoothUnion(float a, float b, float k) {
    const float h = clamp01(0.5f + 0.5f * (b - a) / k);
    return b + (a - b) * h - k * h * (1 - h);
}

constexpr int kFigureWidth = 140; // the figure stays left of this column; the rest is pure black

// A standing figure, one arm raised to hold up a small star.
float figureDistance(Point p) {
    float d = std::hypot(p.x - 62, (p.y - 30) * 0.82f) - 11.5f;     // head
    d = smoothUnion(d, capsule(p, {62, 40}, {62, 50}, 5, 6), 4);    // neck
    d = smoothUnion(d, capsule(p, {62, 60}, {62, 84}, 17, 12), 8);  // chest down to the waist
    d = smoothUnion(d, capsule(p, {62, 86}, {62, 106}, 12, 15), 6); // hips
    d = smoothUnion(d, capsule(p, {45, 58}, {79, 58}, 8, 8), 8);    // shoulders
    d = smoothUnion(d, capsule(p, {43, 60}, {36, 96}, 7.5f, 6), 3); // left arm, hanging
    d = smoothUnion(d, capsule(p, {36, 96}, {33, 128}, 6, 4.5f), 3);
    d = smoothUnion(d, std::hypot(p.x - 33, p.y - 133) - 5.5f, 3);  // left hand
    d = smoothUnion(d, capsule(p, {81, 60}, {99, 38}, 7.5f, 6), 3); // right arm, raised
    d = smoothUnion(d, capsule(p, {99, 38}, {108, 16}, 6, 4.5f), 3);
    d = smoothUnion(d, std::hypot(p.x - 109.5f, p.y - 12) - 5, 2);        // right hand
    d = smoothUnion(d, capsule(p, {54, 106}, {50, 150}, 10.5f, 7.5f), 4); // legs
    d = smoothUnion(d, capsule(p, {50, 150}, {48, 188}, 7.5f, 5), 3);
    d = smoothUnion(d, capsule(p, {48, 190}, {40, 193}, 4, 3.5f), 2); // feet
    d = smoothUnion(d, capsule(p, {70, 106}, {76, 150}, 10.5f, 7.5f), 4);
    d = smoothUnion(d, capsule(p, {76, 150}, {80, 188}, 7.5f, 5), 3);
    d = smoothUnion(d, capsule(p, {80, 190}, {88, 193}, 4, 3.5f), 2);
    return d;
}

// What the chrome reflects: violet sky above a bright horizon, gold ground below, and, where the
// surface faces straight out, the dark studio behind the viewer with one long light across it.
Colour chromeEnvironment(float rx, float ry, float rz) {
    const Colour around = ry < 0 ? mix(hex(0xE8F0FF), hex(0x4A38B0), std::pow(clamp01(-ry * 1.5f), 0.5f))
                                 : mix(hex(0xFFD890), hex(0x4A2406), std::pow(clamp01(ry * 1.5f), 0.5f));
    const float stripe = std::exp(-std::pow((0.75f * rx + 0.65f * ry + 0.45f) / 0.15f, 2.0f));
    const Colour behind = mix(hex(0x120C38), hex(0x3C2C88), clamp01(0.5f - 0.8f * ry + 0.3f * rx)) +
                          hex(0xF0E8FF) * (stripe * 0.9f);
    return mix(around, behind, std::pow(clamp01(rz), 2.0f));
}

} // namespace

Canvas makeFigure() {
    Canvas canvas(320, 200);
    constexpr Point kStar{110, 7};
    constexpr float kRelief = 2.2f; // how steeply the body's sides fall away
    const Noise dents(721);
    // The body as a height field: a rounded dome over the outline, blurred so the ridge along each
    // limb's middle turns smoothly instead of creasing.
    Canvas height(kFigureWidth, canvas.height);
    std::vector<float> distance(size_t(kFigureWidth) * size_t(canvas.height));
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < kFigureWidth; ++x) {
            const float d = figureDistance({x + 0.5f, y + 0.5f});
            distance[size_t(y) * kFigureWidth + size_t(x)] = d;
            const float h = std::sqrt(std::max(0.0f, -d)) + 0.1f * dents.fbm(x / 7.0f, y / 7.0f, 2);
            height.at(x, y) = Colour{d < 0 ? h : 0.0f, 0, 0};
        }
    blur(height, 2, false);
    std::vector<float> heights(distance.size());
    for (size_t i = 0; i < heights.size(); ++i) heights[i] = height.pixels[i].r;

    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < kFigureWidth; ++x) {
            const float d = distance[size_t(y) * kFigureWidth + size_t(x)];
            if (d > 1) continue;
            const Normal n = heightNormal(heights, kFigureWidth, canvas.height, x, y, kRelief, false);
            const float side = std::sqrt(std::max(0.0f, 1 - n.z * n.z));
            // Mirror of the view ray (0, 0, -1) about the normal.
            Colour c = chromeEnvironment(2 * n.z * n.x, 2 * n.z * n.y, 2 * n.z * n.z - 1);
            // Violet rim from behind on the left, warm light from the held star.
            c += hex(0x9060FF) * (std::pow(side, 3.0f) * clamp01(-n.x) * 1.2f);
            const float sx = kStar.x - x, sy = kStar.y - y, sl = std::hypot(sx, sy);
            c += hex(0xFFD890) * (clamp01((n.x * sx + n.y * sy) / sl) * 40.0f / (sl + 20.0f));
            canvas.at(x, y) = c * clamp01(0.5f - d);
        }
    addGlow(canvas, kStar.x, kStar.y, 4, hex(0xFFF0C0) * 1.6f, 5);
    addStar(canvas, kStar.x, kStar.y, 1.6f, hex(0xFFF4E0), 0.5f);
    // The credits draw the figure with only pure black left out: the star's faint glow and
    // spikes would cover the corridor as a dark halo, so off the body they end where they fade.
    constexpr float kFaintestLight = 0.2f;
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < kFigureWidth; ++x)
            if (distance[size_t(y) * kFigureWidth + size_t(x)] > 0 &&
                luminance(canvas.at(x, y)) < kFaintestLight)
                canvas.at(x, y) = Colour{};
    // Nothing may stray right of the figure's columns.
    for (int y = 0; y < canvas.height; ++y)
        for (int x = kFigureWidth; x < canvas.width; ++x) canvas.at(x, y) = Colour{};
    return canvas;
}

// Three moons down the right of the metaball scene, each lit from the left with a thin halo.
Canvas makeMoonColumn() {
    Canvas canvas(130, 200);
    const Noise noise(701);
    struct Moon {
        float cx, cy, r;
        Colour tint;
    };
    const Moon moons[] = {
        {78, 52, 34, hex(0xD8C8FF)}, {44, 122, 20, hex(0xFFD890)}, {96, 170, 12, hex(0x9FD0FF)}};
    for (const Moon& m : moons) {
        for (int y = 0; y < canvas.height; ++y)
            for (int x = 0; x < canvas.width; ++x) {
                const float px = (x + 0.5f - m.cx) / m.r, py = (y + 0.5f - m.cy) / m.r;
                const float r2 = px * px + py * py;
                if (r2 >= 1.25f * 1.25f) continue;
                if (r2 < 1) {
                    const float pz = std::sqrt(1 - r2);
                    const float crater = 0.75f + 0.25f * noise.fbm(px * 3 + m.cx, py * 3 + m.cy, 5);
                    const float diffuse = std::max(0.0f, -0.7f * px - 0.3f * py + 0.65f * pz);
                    const Colour c =
                        m.tint * (diffuse * crater) + hex(0x6040C0) * (std::pow(1 - pz, 3.0f) * 0.6f);
                    canvas.at(x, y) = mix(canvas.at(x, y), c, clamp01((1 - std::sqrt(r2)) * m.r));
                } else {
                    const float halo = 1 - (std::sqrt(r2) - 1) / 0.25f;
                    canvas.at(x, y) += m.tint * (halo * halo * 0.35f * clamp01(-px + 0.3f));
                }
            }
    }
    return canvas;
}

// Sprayed strokes: dense cores of paint with a speckled fringe and a few drips. The show lays
// every pixel whose blue is not 0 over the surface in place of what is there, so the paint has
// no faint edge: a pixel is either painted at nearly full strength or pure black, and a fringe
// is made of scattered whole dots, not of a dim halo that would show as a dark rim.
Canvas makeSprayLayer() {
    constexpr int kWidth = 320, kHeight = 200;
    constexpr int kFirstColumn = 30; // the show reads the layer from this column on
    // The labels stand at x = 200, y = 10..150 and darken what is beneath: they need the lit
    // surface there, not paint.
    constexpr float kLabelsLeft = 185, kLabelsRight = 290, kLabelsBottom = 160;
    constexpr int kStrokes = 8;
    Random random(711);
    const Colour colours[] = {hex(0xFFC040), hex(0xB070FF), hex(0x50D0FF), hex(0xFF70C0)};
    std::vector<float> density(size_t(kWidth) * kHeight);
    std::vector<int> owner(density.size(), -1);
    auto paint = [&](int x, int y, float amount, int stroke) {
        if (x < kFirstColumn || x >= kWidth || y < 0 || y >= kHeight) return;
        // A stray dot from a stroke's far fringe stays off the labels too.
        if (x >= kLabelsLeft && x < kLabelsRight && y < kLabelsBottom) return;
        const size_t i = size_t(y) * kWidth + size_t(x);
        density[i] += amount;
        owner[i] = stroke;
    };
    for (int stroke = 0, tries = 0; stroke < kStrokes && tries < 1000; ++tries) {
        // A gentle curve across part of the screen, kept clear of the labels by its spread.
        const float x0 = random.range(kFirstColumn + 12, 230), y0 = random.range(15, 190);
        const float length = random.range(60, 130), heading = random.range(-0.6f, 0.6f);
        const float bend = random.range(-0.01f, 0.01f), width = random.range(4, 8);
        auto centre = [&](float t) {
            return Point{x0 + t * std::cos(heading), y0 + t * std::sin(heading + bend * t)};
        };
        bool clear = true;
        for (float t = 0; t <= length && clear; t += 2) {
            const Point c = centre(t);
            const float reach = 2 * width;
            clear = c.x - reach > kFirstColumn && c.x + reach < kWidth && c.y > reach &&
                    c.y + reach < kHeight &&
                    !(c.x + reach > kLabelsLeft && c.x - reach < kLabelsRight && c.y - reach < kLabelsBottom);
        }
        if (!clear) continue;
        const int dots = int(length * width * 24);
        for (int i = 0; i < dots; ++i) {
            const Point c = centre(random.uniform() * length);
            // Spray falls off like a normal distribution around the stroke.
            const float spread = width * std::sqrt(-2 * std::log(std::max(1e-6f, random.uniform())));
            const float a = random.range(0, 2 * kPi);
            paint(int(c.x + spread * std::cos(a)), int(c.y + spread * std::sin(a)), 0.12f, stroke);
        }
        // Drips run down from where the paint gathered.
        for (int drip = 0; drip < 2; ++drip) {
            const Point top = centre(random.range(0, length));
            const int run = int(random.range(8, 26));
            for (int k = 0; k < run; ++k) paint(int(top.x), int(top.y) + k, 1.0f, stroke);
        }
        ++stroke;
    }
    Canvas canvas(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = kFirstColumn; x < kWidth; ++x) {
            const size_t i = size_t(y) * kWidth + size_t(x);
            // Thin paint shows as scattered dots, thick paint as a solid coat.
            if (owner[i] < 0 || density[i] < random.range(0.15f, 0.6f)) continue;
            const float coat = 0.8f + 0.2f * clamp01(density[i] / 1.5f);
            canvas.at(x, y) = colours[owner[i] % 4] * coat;
        }
    return canvas;
}

// "zelka" in chrome letters: white tops, blue middles, gold lower edges, a violet glow behind.
Canvas makeMakerLogo() {
    constexpr int kWidth = 90, kHeight = 28, kMargin = 3;
    GlyphRenderer renderer;
    GreyGlyph line;
    // Without the face there is no logo: an empty canvas tells the writer so.
    if (!renderer.open(kBoldFace).empty()) return Canvas();
    for (int size = 40; size > 6; --size) {
        if (!renderer.setPixelSize(size).empty() || !renderer.renderLine("zelka", &line).empty())
            return Canvas();
        if (line.width <= kWidth - 2 * kMargin && line.height <= kHeight - 2 * kMargin) break;
    }
    Canvas canvas(kWidth, kHeight);
    const int left = (kWidth - line.width) / 2, top = (kHeight - line.height) / 2;
    Canvas glow(kWidth, kHeight);
    for (int y = 0; y < line.height; ++y)
        for (int x = 0; x < line.width; ++x)
            glow.at(left + x, top + y) = hex(0x7040FF) * (line.levels[size_t(y) * line.width + x] / 255.0f);
    blur(glow, 2, false);
    static constexpr RampStop kChrome[] = {{0.0f, hex(0xFFFFFF)},
                                           {0.45f, hex(0xA8C8FF)},
                                           {0.55f, hex(0x3050B0)},
                                           {0.75f, hex(0xC89040)},
                                           {1.0f, hex(0xFFE8A0)}};
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const int gx = x - left, gy = y - top;
            float ink = 0;
            if (gx >= 0 && gy >= 0 && gx < line.width && gy < line.height)
                ink = line.levels[size_t(gy) * line.width + gx] / 255.0f;
            const Colour letter = ramp(kChrome, float(gy) / std::max(1, line.height - 1));
            // The glow fades out before the picture's edges, so no rectangle shows when it is added.
            const float edge =
                clamp01(float(std::min(std::min(x, kWidth - 1 - x), std::min(y, kHeight - 1 - y))) / 3.0f);
            canvas.at(x, y) = mix(glow.at(x, y) * (1.4f * edge), letter, ink);
        }
    return canvas;
}

} // namespace forge
