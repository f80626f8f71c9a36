#include "forge/pictures/space_painter.h"

#include <algorithm>
#include <cmath>

namespace forge {

namespace {

inline float clamp01(float v) {
    return std::min(1.0f, std::max(0.0f, v));
}
inline float smoothstep(float a, float b, float v) {
    const float t = clamp01((v - a) / (b - a));
    return t * t * (3 - 2 * t);
}

// Star colours from hot blue-white through white to pale gold.
constexpr RampStop kStarColours[] = {
    {0.0f, hex(0x9DB8FF)}, {0.45f, hex(0xE4ECFF)}, {0.75f, hex(0xFFF4E0)}, {1.0f, hex(0xFFD89A)}};

} // namespace

void addStar(Canvas& canvas, float x, float y, float brightness, Colour colour, float spikes) {
    const float halo = 1.2f + 3.0f * std::sqrt(brightness);
    const float spikeLength = spikes > 0 ? 40.0f * brightness * spikes : 0.0f;
    const int reach = int(std::ceil(std::max(halo * 2.5f, spikeLength)));
    for (int py = int(y) - reach; py <= int(y) + reach; ++py)
        for (int px = int(x) - reach; px <= int(x) + reach; ++px) {
            if (!canvas.inside(px, py)) continue;
            const float dx = px + 0.5f - x, dy = py + 0.5f - y;
            const float d2 = dx * dx + dy * dy;
            float v = std::exp(-d2 * 1.6f) + 0.12f * std::exp(-d2 / (halo * halo));
            if (spikeLength > 0) {
                const float ax = std::fabs(dx), ay = std::fabs(dy);
                const float along = std::max(0.0f, 1.0f - std::max(ax, ay) / spikeLength);
                v += 0.5f * spikes * along * along * (std::exp(-ay * ay * 2) + std::exp(-ax * ax * 2));
            }
            canvas.at(px, py) += colour * (v * brightness);
        }
}

void addStars(Canvas& canvas, Random& random, const StarStyle& style) {
    for (int i = 0; i < style.count; ++i) {
        const float x = random.range(style.margin, canvas.width - style.margin);
        const float y = random.range(style.margin, canvas.height - style.margin);
        const float u = random.uniform();
        const float brightness = style.brightness * (0.04f + 0.96f * std::pow(u, 9.0f));
        const Colour colour = ramp(kStarColours, random.uniform());
        const float spikes = brightness > 0.45f * style.brightness ? style.spikes : 0.0f;
        addStar(canvas, x, y, brightness, colour, spikes);
    }
}

void addGlow(Canvas& canvas, float cx, float cy, float radius, Colour colour, float reach) {
    const float limit = radius * reach;
    const int x0 = std::max(0, int(cx - limit)), x1 = std::min(canvas.width - 1, int(cx + limit) + 1);
    const int y0 = std::max(0, int(cy - limit)), y1 = std::min(canvas.height - 1, int(cy + limit) + 1);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const float dx = x + 0.5f - cx, dy = y + 0.5f - cy;
            const float d = std::sqrt(dx * dx + dy * dy) / radius;
            if (d >= reach) continue;
            const float window = 1.0f - smoothstep(0.3f * reach, reach, d);
            const float v = 0.75f * std::exp(-d * d) + 0.25f / (1.0f + 3.0f * d * d);
            canvas.at(x, y) += colour * (v * window);
        }
}

void addNebula(Canvas& canvas, const Noise& noise, const NebulaStyle& style, const Palette& palette,
               const Mask& mask) {
    // Painted on a layer of its own, then softened: gas glows around its filaments.
    Canvas layer(canvas.width, canvas.height);
    const float cells = style.period > 0 ? float(style.period) : style.scale;
    const float toCells = cells / float(canvas.width);
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x) {
            const float m = mask ? mask((x + 0.5f) / canvas.width, (y + 0.5f) / canvas.height) : 1.0f;
            if (m <= 0) continue;
            const float nx = x * toCells + style.offsetX, ny = y * toCells + style.offsetY;
            // Broad clouds from a few smooth octaves, filaments inside them from the warped field.
            const int envelopePeriod = style.period > 0 ? std::max(1, style.period / 2) : 0;
            const float envelope =
                smoothstep(-0.35f, 0.55f, noise.fbm(nx * 0.5f + 17.0f, ny * 0.5f + 4.0f, 3, envelopePeriod));
            if (envelope <= 0) continue;
            float wx, wy;
            const float f = noise.warped(nx, ny, style.octaves, style.strength, &wx, &wy, style.period);
            const float density =
                envelope * std::pow(clamp01((f - style.threshold) / (1.0f - style.threshold)), style.gamma);
            if (density <= 0) continue;
            const Colour c = palette(clamp01(0.5f + 0.6f * wx), clamp01(0.3f + 0.7f * envelope + 0.3f * wy));
            layer.at(x, y) = c * (density * style.intensity * m);
        }
    Canvas soft = layer;
    blur(soft, std::max(1, canvas.width / 60), style.period > 0);
    for (size_t i = 0; i < canvas.pixels.size(); ++i)
        canvas.pixels[i] += layer.pixels[i] * 0.35f + soft.pixels[i] * 0.9f;
}

void addGalaxy(Canvas& canvas, const Noise& noise, const GalaxyStyle& style) {
    const float extent = style.radius * 1.3f;
    const float cosR = std::cos(style.rotation), sinR = std::sin(style.rotation);
    const float squash = std::max(0.12f, std::cos(style.tilt));
    const int x0 = std::max(0, int(style.cx - extent)),
              x1 = std::min(canvas.width - 1, int(style.cx + extent));
    const int y0 = std::max(0, int(style.cy - extent)),
              y1 = std::min(canvas.height - 1, int(style.cy + extent));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const float dx = x + 0.5f - style.cx, dy = y + 0.5f - style.cy;
            const float u = (dx * cosR + dy * sinR) / style.radius;
            const float v = (-dx * sinR + dy * cosR) / (style.radius * squash);
            const float r = std::sqrt(u * u + v * v);
            if (r >= 1.25f) continue;
            const float theta = std::atan2(v, u);
            // Logarithmic spiral: constant phase along theta = twist * ln r.
            const float phase = style.arms * (theta - style.twist * std::log(r + 0.04f));
            const float arm = std::pow(0.5f + 0.5f * std::cos(phase), 3.0f);
            const float dustLane = std::pow(0.5f + 0.5f * std::cos(phase + 0.7f), 8.0f);
            const float clump = 0.5f + 0.5f * noise.fbm(u * 5 + 11, v * 5 + 7, 4);
            // Star-forming knots: small bright clumps strung along the arms; a fine grain of stars.
            const float knot =
                std::pow(std::max(0.0f, noise.gradient(u * 34 + 3, v * 34 + 5) - 0.3f) * 2.0f, 2.0f);
            const float grain = std::pow(std::max(0.0f, noise.gradient(u * 90 + 1, v * 90 + 2)), 3.0f);
            const float disc = std::exp(-r * 3.2f) * (1.0f - smoothstep(0.8f, 1.25f, r));
            const float bulge = 1.4f * std::exp(-(r / 0.13f) * (r / 0.13f)) + 0.6f * std::exp(-r / 0.05f);
            Colour c = style.core * bulge;
            c += style.arm * (disc * (0.25f + 2.2f * arm * (0.3f + clump)));
            c += style.knots * (disc * arm * knot * 2.5f);
            c += style.arm * (disc * (0.3f + arm) * grain * 3.0f);
            c = c * (1.0f - 0.65f * dustLane * smoothstep(0.05f, 0.3f, r) * (0.5f + clump));
            canvas.at(x, y) += c * style.brightness;
        }
}

void fadeToBlackRound(Canvas& canvas, float inner, float outer) {
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x) {
            const float ex = (x + 0.5f) / canvas.width * 2 - 1, ey = (y + 0.5f) / canvas.height * 2 - 1;
            const float k = 1.0f - smoothstep(inner, outer, std::sqrt(ex * ex + ey * ey));
            canvas.at(x, y) = canvas.at(x, y) * k;
        }
}

Normal heightNormal(const std::vector<float>& heights, int width, int height, int x, int y, float depth,
                    bool wrap) {
    auto h = [&](int px, int py) {
        if (wrap) {
            px = (px % width + width) % width;
            py = (py % height + height) % height;
        } else {
            px = std::clamp(px, 0, width - 1);
            py = std::clamp(py, 0, height - 1);
        }
        return heights[size_t(py) * size_t(width) + size_t(px)];
    };
    const float gx = (h(x + 1, y) - h(x - 1, y)) * depth, gy = (h(x, y + 1) - h(x, y - 1)) * depth;
    const float length = std::sqrt(gx * gx + gy * gy + 4.0f);
    return {-gx / length, -gy / length, 2.0f / length};
}

void blur(Canvas& canvas, int radius, bool wrap) {
    if (radius <= 0) return;
    const int w = canvas.width, h = canvas.height;
    std::vector<Colour> line;
    auto pass = [&](int count, int length, auto&& pixel) {
        line.resize(size_t(length));
        const float scale = 1.0f / float(2 * radius + 1);
        for (int i = 0; i < count; ++i) {
            for (int j = 0; j < length; ++j) line[size_t(j)] = pixel(i, j);
            auto sample = [&](int j) {
                j = wrap ? (j % length + length) % length : std::clamp(j, 0, length - 1);
                return line[size_t(j)];
            };
            Colour sum;
            for (int j = -radius; j <= radius; ++j) sum += sample(j);
            for (int j = 0; j < length; ++j) {
                pixel(i, j) = sum * scale;
                sum = sum + sample(j + radius + 1) - sample(j - radius);
            }
        }
    };
    for (int k = 0; k < 3; ++k) {
        pass(h, w, [&](int row, int column) -> Colour& { return canvas.at(column, row); });
        pass(w, h, [&](int column, int row) -> Colour& { return canvas.at(column, row); });
    }
}

std::vector<uint8_t> toRgbBytes(const Canvas& canvas, float exposure, float knee) {
    auto roll = [&](float v) {
        v *= exposure;
        if (v <= 0) return uint8_t(0);
        if (v > knee) v = knee + (1 - knee) * (1 - std::exp(-(v - knee) / (1 - knee)));
        return uint8_t(std::lround(std::min(v, 1.0f) * 255.0f));
    };
    std::vector<uint8_t> bytes;
    bytes.reserve(canvas.pixels.size() * 3);
    for (const Colour& c : canvas.pixels) {
        bytes.push_back(roll(c.r));
        bytes.push_back(roll(c.g));
        bytes.push_back(roll(c.b));
    }
    return bytes;
}

} // namespace forge
