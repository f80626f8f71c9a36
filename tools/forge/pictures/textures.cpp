// The tileable textures of the tunnels and the environment maps. Every field repeats across the
// 256x256 picture, so the show's own tiling finds no seam.
#include "forge/pictures/picture_makers.h"
#include "forge/pictures/space_painter.h"

#include <algorithm>
#include <cmath>

namespace forge {

namespace {

constexpr int kTextureSize = 256;

inline float clamp01(float v) {
    return std::min(1.0f, std::max(0.0f, v));
}
inline float smoothstep(float a, float b, float v) {
    const float t = clamp01((v - a) / (b - a));
    return t * t * (3 - 2 * t);
}

// Stars that wrap round the edges with the texture.
void addWrappedStars(Canvas& canvas, Random& random, int count, float brightness) {
    for (int i = 0; i < count; ++i) {
        const float x = random.range(0, kTextureSize), y = random.range(0, kTextureSize);
        const float b = brightness * (0.1f + 0.9f * std::pow(random.uniform(), 6.0f));
        const Colour colour = mix(hex(0xA8C0FF), hex(0xFFF0D8), random.uniform());
        for (int oy = -1; oy <= 1; ++oy)
            for (int ox = -1; ox <= 1; ++ox)
                addStar(canvas, x + ox * kTextureSize, y + oy * kTextureSize, b, colour, 0);
    }
}

// A tileable gas cloud over a floor that drifts between two tones by broad noise.
struct NebulaTextureStyle {
    uint64_t seed;
    Colour floorLow, floorHigh;
    float intensity;
    int stars;
    float threshold = -0.5f;
};

Canvas nebulaTexture(const NebulaTextureStyle& look, const Palette& palette) {
    Canvas canvas(kTextureSize, kTextureSize);
    const Noise noise(look.seed);
    Random random(look.seed + 1);
    constexpr int kFloorPeriod = 2;
    for (int y = 0; y < kTextureSize; ++y)
        for (int x = 0; x < kTextureSize; ++x) {
            const float cells = float(kFloorPeriod) / kTextureSize;
            const float t =
                smoothstep(-0.35f, 0.35f, noise.fbm(x * cells + 31, y * cells + 17, 3, kFloorPeriod));
            canvas.at(x, y) = mix(look.floorLow, look.floorHigh, t);
        }
    NebulaStyle style;
    style.period = 4;
    style.threshold = look.threshold;
    style.intensity = look.intensity;
    style.gamma = 1.2f;
    addNebula(canvas, noise, style, palette);
    addWrappedStars(canvas, random, look.stars, 0.9f);
    return canvas;
}

} // namespace

// Seen under the coloured lights of the grids and as the metaballs' mirror, so it is bright:
// pale violet gas with pink and cyan wisps, and a white-hot star in the middle, where a surface
// facing the viewer looks into the map, for the blobs' highlight.
Canvas makeNebulaTexture() {
    Canvas canvas = nebulaTexture({501, hex(0x2A1A70), hex(0xD898FF), 1.4f, 50}, [](float t, float u) {
        static constexpr RampStop kGas[] = {
            {0.0f, hex(0x6850D8)}, {0.4f, hex(0xA870E8)}, {0.7f, hex(0xF090D8)}, {1.0f, hex(0x98E8FF)}};
        return ramp(kGas, t) * (0.5f + 0.7f * u);
    });
    constexpr float kMiddle = kTextureSize / 2.0f;
    addGlow(canvas, kMiddle, kMiddle, 8, hex(0xFFF2E0) * 1.2f, 5);
    addStar(canvas, kMiddle, kMiddle, 1.5f, hex(0xFFFFFF), 0);
    return canvas;
}

// Sparse blue streaks on black: added over the inner tunnel, so mostly dark.
Canvas makeStarStreakTexture() {
    Canvas canvas(kTextureSize, kTextureSize);
    const Noise noise(511);
    Random random(512);
    for (int y = 0; y < kTextureSize; ++y)
        for (int x = 0; x < kTextureSize; ++x) {
            // Stretched along the rows: streaks that fly past along the tunnel.
            const float streak = noise.ridged(x / 64.0f, y / 16.0f, 4, 4);
            const float v = std::pow(clamp01(streak - 0.25f) / 0.75f, 2.5f) * 2.0f;
            canvas.at(x, y) =
                mix(hex(0x2040C0), hex(0xB080FF), clamp01(noise.fbm(x / 64.0f, y / 64.0f, 2, 4) + 0.5f)) * v;
        }
    addWrappedStars(canvas, random, 60, 1.0f);
    return canvas;
}

// Bevelled metal plates with rivets, pale violet steel with gold seams, lit from the upper left.
Canvas makePanelTexture() {
    Canvas canvas(kTextureSize, kTextureSize);
    const Noise noise(521);
    constexpr int kPlate = 64, kBevel = 6;
    std::vector<float> heights(size_t(kTextureSize) * kTextureSize);
    std::vector<float> seam(heights.size());
    for (int y = 0; y < kTextureSize; ++y)
        for (int x = 0; x < kTextureSize; ++x) {
            // Alternate rows of plates are offset by half a plate.
            const int shift = ((y / kPlate) & 1) ? kPlate / 2 : 0;
            const int px = (x + shift) % kPlate, py = y % kPlate;
            const float edge = float(std::min(std::min(px, kPlate - 1 - px), std::min(py, kPlate - 1 - py)));
            float h = std::min(edge, float(kBevel)) / kBevel;
            // Rivets near each corner.
            for (int cy : {9, kPlate - 10})
                for (int cx : {9, kPlate - 10}) {
                    const float d = std::hypot(float(px - cx), float(py - cy));
                    if (d < 3.5f) h += 0.6f * std::sqrt(1 - d * d / 12.25f);
                }
            h += 0.06f * noise.fbm(x / 32.0f, y / 32.0f, 4, 8);
            heights[size_t(y) * kTextureSize + x] = h;
            seam[size_t(y) * kTextureSize + x] = edge < 1.5f ? 1.0f : 0.0f;
        }
    const float lx = -0.5f, ly = -0.6f, lz = 0.62f;
    for (int y = 0; y < kTextureSize; ++y)
        for (int x = 0; x < kTextureSize; ++x) {
            const Normal n = heightNormal(heights, kTextureSize, kTextureSize, x, y, 6.0f, true);
            const float diffuse = std::max(0.0f, n.x * lx + n.y * ly + n.z * lz);
            // Specular: the half vector between the light and the viewer.
            const float hx = lx, hy = ly, hz = lz + 1, hl = std::sqrt(hx * hx + hy * hy + hz * hz);
            const float specular = std::pow(std::max(0.0f, (n.x * hx + n.y * hy + n.z * hz) / hl), 40.0f);
            const float grain = 0.85f + 0.15f * noise.fbm(x / 4.0f, y / 32.0f, 3, 64);
            // Pale enough that the scene's coloured lights still show the plates far down the
            // tunnel, where they fall at a glancing angle.
            const Colour steel = mix(hex(0x6A5CB8), hex(0xD8D0FF), diffuse) * grain;
            const size_t i = size_t(y) * kTextureSize + x;
            canvas.at(x, y) =
                mix(steel, hex(0xD8A040) * (0.4f + diffuse), seam[i]) + hex(0xD0C8FF) * specular;
        }
    return canvas;
}

// A gold studio: warm gradient, two soft light boxes and a bright horizon, brushed grain.
Canvas makeGoldStudio() {
    Canvas canvas(kTextureSize, kTextureSize);
    const Noise noise(531);
    for (int y = 0; y < kTextureSize; ++y)
        for (int x = 0; x < kTextureSize; ++x) {
            const float v = float(y) / kTextureSize, u = float(x) / kTextureSize;
            const float sky = 1.0f - v;
            Colour c = mix(hex(0x3A1E06), hex(0xE8B050), std::pow(sky, 1.4f));
            const float horizon = std::exp(-std::pow((v - 0.58f) / 0.035f, 2.0f));
            c += hex(0xFFE8B0) * (horizon * 0.9f);
            // Light boxes, wrapping across the seam.
            for (float bx : {0.22f, 0.7f}) {
                float du = std::fabs(u - bx);
                du = std::min(du, 1 - du);
                const float box = clamp01((0.1f - du) * 40) * clamp01((0.16f - std::fabs(v - 0.28f)) * 40);
                c += hex(0xFFF6E0) * (box * 1.1f);
            }
            const float grain = 0.9f + 0.1f * noise.fbm(u * 2, v * 64, 3, 2);
            canvas.at(x, y) = c * grain;
        }
    blur(canvas, 2, true);
    return canvas;
}

// The corridor's walls take blue, yellow and grey light: violet-silver gas over a floor that is
// never dark, so every light finds something to show, while white names still read over it.
Canvas makeCorridorTexture() {
    return nebulaTexture({541, hex(0x201C60), hex(0x6858C0), 1.2f, 160}, [](float t, float u) {
        static constexpr RampStop kGas[] = {
            {0.0f, hex(0x2A2A98)}, {0.5f, hex(0x7060E0)}, {1.0f, hex(0xE0D8FF)}};
        return ramp(kGas, t) * (0.5f + 0.7f * u);
    });
}

Canvas makeTunnelTexture() {
    return nebulaTexture({551, hex(0x100830), hex(0x100830), 1.5f, 100}, [](float t, float u) {
        static constexpr RampStop kGas[] = {
            {0.0f, hex(0x3020A0)}, {0.45f, hex(0xB040C0)}, {0.75f, hex(0xFF90A0)}, {1.0f, hex(0xFFE0A0)}};
        return ramp(kGas, t) * (0.5f + 0.8f * u);
    });
}

} // namespace forge
