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

// A faint glow of gas behind everything, drifting between two tones: rippled, empty black
// would only smear into dark mud.
void paintFloor(Canvas& canvas, const Noise& noise, Colour low, Colour high) {
    constexpr float kCellPixels = 260.0f;
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x) {
            const float t = clamp01(0.5f + 0.9f * noise.fbm(x / kCellPixels, y / kCellPixels, 3));
            canvas.at(x, y) = mix(low, high, t);
        }
}

} // namespace

// A glowing emission cloud lit by a tight group of hot stars.
Canvas makeEmissionNebula() {
    Canvas canvas(kWarpWidth, kWarpHeight);
    const Noise floor(605), gas(601), detail(602), dust(603);
    Random random(604);
    paintFloor(canvas, floor, hex(0x0A0620), hex(0x2C1458));
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
    addDust(canvas, dust, 4.0f, 0.5f);
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

// A blue reflection cloud lit by bright stars: luminous blue and white gas with violet veils,
// thin dust filaments and gold-lit wisps. The warp smears it into swirls, so it is bright and
// broad everywhere the window wanders; dark patches would ripple as mud.
Canvas makeReflectionNebula() {
    Canvas canvas(kWarpWidth, kWarpHeight);
    const Noise floor(615), gas(611), veil(616), dust(612), wisps(613);
    Random random(614);
    paintFloor(canvas, floor, hex(0x0C1450), hex(0x2A3C9C));
    NebulaStyle style;
    style.scale = 2.6f;
    style.threshold = -0.7f;
    style.intensity = 1.9f;
    style.gamma = 1.3f;
    style.offsetY = 5;
    addNebula(canvas, gas, style, [](float t, float u) {
        static constexpr RampStop kGas[] = {
            {0.0f, hex(0x2048C0)}, {0.4f, hex(0x3C8CF0)}, {0.75f, hex(0x90D8FF)}, {1.0f, hex(0xF0FAFF)}};
        return ramp(kGas, t) * (0.5f + 0.7f * u);
    });
    NebulaStyle violet = style;
    violet.scale = 4.0f;
    violet.threshold = -0.1f;
    violet.intensity = 1.2f;
    violet.offsetX = 13;
    addNebula(canvas, veil, violet, [](float t, float) { return mix(hex(0x5030C0), hex(0xD070E0), t); });
    // Dust in soft filaments, never solid lanes; where starlight catches a wisp it shines gold.
    // Both are painted on a layer and softened, so they read as gas rather than cracks.
    Canvas layer(canvas.width, canvas.height); // red: shade, green: glint
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x) {
            const float lane = dust.ridged(x / 150.0f, y / 150.0f, 4);
            const float region = clamp01(0.5f + 1.2f * wisps.fbm(x / 300.0f + 3, y / 300.0f, 2));
            const float glint =
                std::pow(clamp01((wisps.ridged(x / 200.0f + 7, y / 200.0f, 3) - 0.5f) / 0.35f), 2.0f);
            layer.at(x, y) = {0.5f * std::pow(clamp01((lane - 0.5f) / 0.35f), 2.0f), glint * region, 0};
        }
    blur(layer, 3, false);
    for (size_t i = 0; i < canvas.pixels.size(); ++i)
        canvas.pixels[i] =
            canvas.pixels[i] * (1.0f - layer.pixels[i].r) + hex(0xFFC070) * (layer.pixels[i].g * 1.3f);
    addStars(canvas, random, StarStyle{900, 0.9f, 0.5f, 0});
    addGlow(canvas, 250, 120, 40, hex(0xC8E0FF) * 0.6f, 4);
    addStar(canvas, 250, 120, 2.6f, hex(0xD8E8FF), 1.2f);
    addStar(canvas, 420, 90, 1.8f, hex(0xFFE0B0), 1.0f);
    return canvas;
}

} // namespace forge
