// The two large pictures the warps ripple: 640x400 gas clouds with bright stars.
#include "forge/pictures/picture_makers.h"
#include "forge/pictures/space_painter.h"

#include <algorithm>
#include <cmath>

namespace forge {

namespace {

constexpr int kWarpWidth = 640;
constexpr int kWarpHeight = 400;

inline float clamp01(float v) {
    return std::min(1.0f, std::max(0.0f, v));
}

// Dark dust lanes cut into what is already painted.
void addDust(Canvas& canvas, const Noise& noise, float scale, float amount) {
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x) {
            const float n = noise.fbm(x * scale / canvas.width + 3, y * scale / canvas.width + 7, 5);
            const float dust = clamp01((n - 0.05f) * 2.5f) * amount;
            canvas.at(x, y) = canvas.at(x, y) * (1.0f - dust);
        }
}

} // namespace

// A glowing emission cloud lit by a tight group of hot stars.
Canvas makeEmissionNebula() {
    Canvas canvas(kWarpWidth, kWarpHeight);
    const Noise gas(601), detail(602), dust(603);
    Random random(604);
    NebulaStyle style;
    style.scale = 3.2f;
    style.threshold = -0.55f;
    style.intensity = 1.6f;
    style.gamma = 1.3f;
    addNebula(canvas, gas, style, [](float t, float u) {
        static constexpr RampStop kGas[] = {{0.0f, hex(0x2A1C8C)},
                                            {0.35f, hex(0x8A30B0)},
                                            {0.65f, hex(0xE0509A)},
                                            {0.85f, hex(0xFFA0B0)},
                                            {1.0f, hex(0xFFE8D0)}};
        return ramp(kGas, t) * (0.45f + 0.8f * u);
    });
    NebulaStyle veil = style;
    veil.scale = 5.0f;
    veil.threshold = 0.0f;
    veil.intensity = 0.7f;
    veil.offsetX = 11;
    addNebula(canvas, detail, veil, [](float t, float) { return mix(hex(0x3050D0), hex(0x90E0FF), t); });
    addDust(canvas, dust, 4.0f, 0.7f);
    addGlow(canvas, 330, 190, 60, hex(0xFFD0E0) * 0.5f, 4);
    for (int i = 0; i < 5; ++i) {
        // Drawn one at a time: the order of a call's arguments is not fixed, and every compiler
        // must place the same stars.
        const float x = 320 + random.range(-22, 22);
        const float y = 190 + random.range(-16, 16);
        const float size = random.range(1.2f, 2.2f);
        addStar(canvas, x, y, size, hex(0xE8F0FF), 0.9f);
    }
    addStars(canvas, random, StarStyle{900, 0.9f, 0.5f, 0});
    return canvas;
}

// A blue reflection cloud around bright stars, crossed by dark dust with gold-lit edges.
Canvas makeReflectionNebula() {
    Canvas canvas(kWarpWidth, kWarpHeight);
    const Noise gas(611), dust(612), pillars(613);
    Random random(614);
    for (Colour& c : canvas.pixels) c = hex(0x04061A);
    NebulaStyle style;
    style.scale = 2.6f;
    style.threshold = -0.6f;
    style.intensity = 1.5f;
    style.gamma = 1.1f;
    style.offsetY = 5;
    addNebula(canvas, gas, style, [](float t, float u) {
        static constexpr RampStop kGas[] = {
            {0.0f, hex(0x102870)}, {0.4f, hex(0x2D6AD8)}, {0.75f, hex(0x7AC0FF)}, {1.0f, hex(0xE0F4FF)}};
        return ramp(kGas, t) * (0.4f + 0.8f * u);
    });
    // Dark dust drifts across the glow; where it thins, its edges are lit gold by the stars.
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x) {
            const float n = pillars.fbm(x / 220.0f, y / 220.0f, 6) + 0.4f * y / canvas.height - 0.2f;
            const float body = clamp01(n * 2.5f);
            const float rim =
                body * (1.0f - body) * 4.0f * (0.5f + 0.5f * pillars.fbm(x / 50.0f + 3, y / 50.0f, 3));
            Colour& c = canvas.at(x, y);
            c = c * (1.0f - 0.85f * body) + hex(0xFFB860) * (rim * 0.25f);
        }
    addDust(canvas, dust, 6.0f, 0.35f);
    addStars(canvas, random, StarStyle{900, 0.9f, 0.5f, 0});
    addStar(canvas, 250, 120, 2.6f, hex(0xD8E8FF), 1.2f);
    addStar(canvas, 420, 90, 1.8f, hex(0xFFE0B0), 1.0f);
    return canvas;
}

} // namespace forge
