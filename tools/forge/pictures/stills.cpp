// The full-screen stills: the opening title picture, the closing picture and the metaball
// scene's backdrop.
#include "forge/pictures/picture_makers.h"
#include "forge/pictures/space_painter.h"

#include <algorithm>
#include <cmath>

namespace forge {

namespace {

constexpr int kScreenWidth = 320;
constexpr int kScreenHeight = 200;

inline float clamp01(float v) {
    return std::min(1.0f, std::max(0.0f, v));
}

// Violet and blue gas with magenta and cyan wisps.
Colour spaceGas(float t, float u) {
    static constexpr RampStop kGas[] = {{0.0f, hex(0x1A1F6E)},
                                        {0.35f, hex(0x4B2A9E)},
                                        {0.6f, hex(0x9B3FB5)},
                                        {0.8f, hex(0x3E7BD9)},
                                        {1.0f, hex(0x8FE3FF)}};
    return ramp(kGas, t) * (0.6f + 0.6f * u);
}

// A lit sphere with latitude bands: the ringed planet and the closing planet.
struct Planet {
    float cx, cy, radius;
    float lightX, lightY, lightZ; // unit vector towards the star
    float bandScale;
};

Colour planetSurface(const Noise& noise, const Planet& p, float nx, float ny, float nz) {
    static constexpr RampStop kBands[] = {{0.0f, hex(0x161C52)},
                                          {0.35f, hex(0x2E3F86)},
                                          {0.6f, hex(0x5A4EA6)},
                                          {0.85f, hex(0x9A8CD0)},
                                          {1.0f, hex(0xD8CBA8)}};
    const float latitude = ny + 0.08f * noise.fbm(nx * 3, ny * 3, 4);
    const float band = clamp01(0.5f + 0.4f * noise.fbm(0.5f + nx * 0.3f, latitude * p.bandScale, 5));
    const float diffuse = std::max(0.0f, nx * p.lightX + ny * p.lightY + nz * p.lightZ);
    const float rim = std::pow(1.0f - nz, 4.0f);
    const Colour surface = ramp(kBands, band);
    // Terminator softened by scattering; chrome-blue rim on the lit limb.
    return surface * (0.04f + 1.2f * diffuse) + hex(0x9FD0FF) * (rim * (0.1f + 2.0f * diffuse));
}

} // namespace

Canvas makeTitlePicture() {
    Canvas canvas(kScreenWidth, kScreenHeight);
    const Noise gas(101), bands(102);
    Random random(103);
    NebulaStyle nebula;
    nebula.scale = 2.6f;
    nebula.threshold = -0.35f;
    nebula.intensity = 1.6f;
    addNebula(canvas, gas, nebula, spaceGas);
    addStars(canvas, random, StarStyle{700, 0.9f, 0.6f, 0});

    // The star about to be eclipsed sits just behind the planet's upper left limb.
    const Planet planet{205, 128, 88, -0.74f, -0.62f, 0.26f, 7.0f};
    addGlow(canvas, 138, 58, 30, hex(0xFFE7B8) * 0.9f, 6.0f);
    addGlow(canvas, 138, 58, 6, hex(0xFFFFFF) * 1.4f, 5.0f);
    addStar(canvas, 138, 58, 2.5f, hex(0xFFF2D8), 1.2f);

    // Rings: tilted ellipse, gold bands with gaps; the near half crosses in front of the planet.
    const float ringTilt = 0.26f, ringRotation = -0.32f;
    const float cosR = std::cos(ringRotation), sinR = std::sin(ringRotation);
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x) {
            const float dx = x + 0.5f - planet.cx, dy = y + 0.5f - planet.cy;
            const float u = dx * cosR + dy * sinR, v = -dx * sinR + dy * cosR;
            const float radial = std::sqrt(u * u + (v / ringTilt) * (v / ringTilt)) / planet.radius;
            float ringAlpha = 0;
            Colour ringColour;
            if (radial > 1.25f && radial < 2.05f) {
                const float t = (radial - 1.25f) / 0.8f;
                const float structure = 0.55f + 0.45f * bands.fbm(radial * 14.0f, 0.5f, 4);
                const float gap = std::fabs(radial - 1.62f) < 0.03f ? 0.15f : 1.0f;
                ringAlpha = clamp01(structure * gap * std::sin(t * kPi) * 1.3f);
                // Lit from the star's side: brighter on the left.
                const float lit = 0.55f + 0.45f * clamp01(-u / (planet.radius * 2.0f) + 0.5f);
                ringColour = mix(hex(0xB07A2A), hex(0xFFE2A0), structure) * (lit * 1.2f);
            }
            const float px = dx / planet.radius, py = dy / planet.radius;
            const float r2 = px * px + py * py;
            Colour& out = canvas.at(x, y);
            const bool ringInFront = v > 0;
            if (r2 < 1.0f) {
                const float pz = std::sqrt(1.0f - r2);
                // Anti-aliased limb.
                const float edge = clamp01((1.0f - std::sqrt(r2)) * planet.radius);
                // The ring's shadow falls as a dark band across the disc below the ring.
                Colour body = planetSurface(bands, planet, px, py, pz);
                out = mix(out, body, edge);
                if (!ringInFront) continue;
            }
            out = mix(out, ringColour, ringAlpha * 0.85f) + ringColour * (ringAlpha * 0.15f);
        }
    // Atmosphere: a thin blue glow outside the lit limb.
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x) {
            const float px = (x + 0.5f - planet.cx) / planet.radius,
                        py = (y + 0.5f - planet.cy) / planet.radius;
            const float r = std::sqrt(px * px + py * py);
            if (r < 1.0f || r > 1.25f) continue;
            const float facing = clamp01(-(px * planet.lightX + py * planet.lightY) / r);
            canvas.at(x, y) += hex(0x5AA8FF) * (std::pow(1.0f - (r - 1.0f) / 0.25f, 3.0f) * facing * 0.8f);
        }
    return canvas;
}

Canvas makeClosingPicture() {
    Canvas canvas(kScreenWidth, kScreenHeight);
    const Noise gas(201), clouds(202), galaxyNoise(203);
    Random random(204);
    NebulaStyle nebula;
    nebula.scale = 2.0f;
    nebula.threshold = -0.1f;
    nebula.intensity = 0.9f;
    nebula.offsetX = 7.3f;
    addNebula(canvas, gas, nebula, [](float t, float u) { return spaceGas(t * 0.7f, u) * hex(0x8080FF); });
    addStars(canvas, random, StarStyle{500, 0.7f, 0.3f, 0});
    GalaxyStyle galaxy;
    galaxy.cx = 170;
    galaxy.cy = 70;
    galaxy.radius = 70;
    galaxy.tilt = 1.05f;
    galaxy.rotation = -0.35f;
    galaxy.brightness = 0.9f;
    addGalaxy(canvas, galaxyNoise, galaxy);

    // The planet's night side fills the bottom; a thin dawn line and blue air along its curve.
    const float cx = 160, cy = 560, radius = 420;
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x) {
            const float dx = x + 0.5f - cx, dy = y + 0.5f - cy;
            const float r = std::sqrt(dx * dx + dy * dy);
            const float height = r - radius; // above the surface, pixels
            Colour& out = canvas.at(x, y);
            // Air glows above the limb; the night side covers it from the limb down.
            const float above = std::max(height, 0.0f);
            const float sunward = std::exp(-((x - 230.0f) * (x - 230.0f)) / (2 * 60.0f * 60.0f));
            out += hex(0x3F6FE0) * (std::exp(-above / 7.0f) * 0.9f);
            out += hex(0xFFC878) * (std::exp(-above / 2.0f) * sunward * 1.4f);
            if (height < 0) {
                const float depth = -height;
                const float cloud = 0.5f + 0.5f * clouds.fbm(x / 40.0f, depth / 12.0f, 5);
                const Colour night = mix(hex(0x03041A), hex(0x141A4A), cloud) * std::exp(-depth / 60.0f);
                const Colour limb = hex(0x6FA8FF) * (std::exp(-depth / 3.0f) * 0.9f) +
                                    hex(0xFFC878) * (std::exp(-depth / 1.5f) * sunward * 0.8f);
                out = mix(out, night + limb, clamp01(depth));
            }
        }
    addGlow(canvas, 230, 141, 8, hex(0xFFE0A8) * 0.8f, 6.0f);
    return canvas;
}

Canvas makeMetaballBackdrop() {
    Canvas canvas(kScreenWidth, kScreenHeight);
    const Noise gas(301), galaxyNoise(302);
    Random random(303);
    NebulaStyle nebula;
    nebula.scale = 3.0f;
    nebula.threshold = -0.25f;
    nebula.intensity = 1.1f;
    nebula.offsetY = 3.1f;
    addNebula(canvas, gas, nebula, [](float t, float u) { return spaceGas(t, u * 0.8f) * 0.8f; });
    addStars(canvas, random, StarStyle{600, 0.8f, 0.4f, 0});
    GalaxyStyle galaxy;
    galaxy.cx = 70;
    galaxy.cy = 150;
    galaxy.radius = 80;
    galaxy.tilt = 0.9f;
    galaxy.rotation = 0.5f;
    galaxy.arms = 2;
    galaxy.brightness = 0.8f;
    addGalaxy(canvas, galaxyNoise, galaxy);
    GalaxyStyle far = galaxy;
    far.cx = 150;
    far.cy = 40;
    far.radius = 16;
    far.tilt = 1.3f;
    far.rotation = -0.9f;
    far.brightness = 0.7f;
    addGalaxy(canvas, galaxyNoise, far);
    return canvas;
}

} // namespace forge
