#include "engine3d/poly_fillers.h"

#include "engine3d/clip_polygon.h"
#include "engine3d/edge_walker.h"
#include "engine3d/raster.h"
#include "imagelib/bgl_image.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr int kTexelBits = 8;
constexpr uint32_t kTexelMask = 0xFF00; // bits 8 to 15 of an 8.8 coordinate
constexpr uint32_t kChannelMask = 0xFF;
constexpr int kGreenShift = 8;
constexpr int kRedShift = 16;
constexpr uint32_t kFourthByte = 0xFF000000u;
// Light in 8.8 times a texel byte, shifted down by 16: light 255 gives texel * 255 / 256.
constexpr int kModulateShift = 16;
// The environment map is addressed by the camera-space normal: 0 to 256 across the map.
constexpr float kEnvironmentScale = 128.0f;

inline uint32_t texelIndex(uint32_t u, uint32_t v) {
    return (v & kTexelMask) + ((u & kTexelMask) >> kTexelBits);
}

inline uint32_t channel(uint32_t pixel, int shift) {
    return (pixel >> shift) & kChannelMask;
}

// A corner attribute: the Point field it comes from and the factor to 16.16 units.
struct Attribute {
    float Point::*field;
    bool texelScaled; // u and v: 1.0 is texel 255
};

constexpr Attribute kU{&Point::u, true};
constexpr Attribute kV{&Point::v, true};
constexpr Attribute kEU{&Point::eu, false};
constexpr Attribute kEV{&Point::ev, false};
constexpr Attribute kR{&Point::r, false};
constexpr Attribute kG{&Point::g, false};
constexpr Attribute kB{&Point::b, false};

// Span writers, one per filler: how a row of pixels is written from 8.8 attribute values.
struct CopySpan {
    static constexpr int kAttributes = 2;
    static constexpr std::array<Attribute, kAttributes> attributes(bool environment) {
        return environment ? std::array<Attribute, 2>{kEU, kEV} : std::array<Attribute, 2>{kU, kV};
    }
    const uint32_t* texture;
    void operator()(uint32_t* dst, int count, std::array<uint32_t, 2>& a,
                    const std::array<uint32_t, 2>& s) const {
        uint32_t u = a[0], v = a[1];
        for (; count > 0; --count) {
            *dst++ = texture[texelIndex(u, v)];
            u += s[0];
            v += s[1];
        }
    }
};

struct ModulateSpan {
    static constexpr int kAttributes = 5;
    static constexpr std::array<Attribute, kAttributes> attributes(bool) { return {kU, kV, kR, kG, kB}; }
    const uint32_t* texture;
    // The product of an 8.8 light and a texel byte, as a byte. Light interpolated a little past
    // its range (truncated steps) is held to 0..255 instead of wrapping into a bright speck.
    static uint32_t modulate(uint32_t light, uint32_t texel) {
        const int64_t product = (int64_t(int32_t(light)) * int64_t(texel)) >> kModulateShift;
        return uint32_t(std::clamp<int64_t>(product, 0, kChannelMask));
    }
    void operator()(uint32_t* dst, int count, std::array<uint32_t, 5>& a,
                    const std::array<uint32_t, 5>& s) const {
        uint32_t u = a[0], v = a[1], r = a[2], g = a[3], b = a[4];
        for (; count > 0; --count, ++dst) {
            const uint32_t t = texture[texelIndex(u, v)];
            *dst = (*dst & kFourthByte) | modulate(b, channel(t, 0)) |
                   (modulate(g, channel(t, kGreenShift)) << kGreenShift) |
                   (modulate(r, channel(t, kRedShift)) << kRedShift);
            u += s[0];
            v += s[1];
            r += s[2];
            g += s[3];
            b += s[4];
        }
    }
};

struct AddSpan {
    static constexpr int kAttributes = 4;
    static constexpr std::array<Attribute, kAttributes> attributes(bool) { return {kU, kV, kEU, kEV}; }
    const uint32_t* texture;
    const uint32_t* environment;
    static uint32_t add(uint32_t t, uint32_t e, int shift) {
        return std::min(channel(t, shift) + channel(e, shift), kChannelMask) << shift;
    }
    void operator()(uint32_t* dst, int count, std::array<uint32_t, 4>& a,
                    const std::array<uint32_t, 4>& s) const {
        uint32_t u = a[0], v = a[1], eu = a[2], ev = a[3];
        for (; count > 0; --count, ++dst) {
            const uint32_t t = texture[texelIndex(u, v)];
            const uint32_t e = environment[texelIndex(eu, ev)];
            *dst = (*dst & kFourthByte) | add(t, e, 0) | add(t, e, kGreenShift) | add(t, e, kRedShift);
            u += s[0];
            v += s[1];
            eu += s[2];
            ev += s[3];
        }
    }
};

void setEnvironmentCoordinates(Point* p) {
    p->eu = p->normal ? p->normal->vx * kEnvironmentScale + kEnvironmentScale : kEnvironmentScale;
    p->ev = p->normal ? p->normal->vy * kEnvironmentScale + kEnvironmentScale : kEnvironmentScale;
}

int32_t toFixed(int32_t screen) {
    return int32_t(std::clamp(screen, -kMaxSpanCoordinate, kMaxSpanCoordinate) * int32_t(kFixedOne));
}

// The shared part of every filler: clip, per-poly gradients from the poly's own three
// corners, span corners of the (clipped) polygon, scan conversion.
template <class Span>
void fillPoly(World* world, Poly* poly, uint32_t* pixels, const Span& span, bool environment) {
    constexpr int N = Span::kAttributes;
    const Camera* camera = world->current_camera;
    if (!camera || !pixels) return;
    ClipPolygon polygon;
    clip_poly_to_screen(poly, camera, &polygon);
    if (polygon.count < 3) return;

    const Point& a = *poly->a;
    const Point& b = *poly->b;
    const Point& c = *poly->c;
    const double by = double(b.sy) - c.sy;
    const double ay = double(a.sy) - c.sy;
    const double det = (double(a.sx) - c.sx) * by - (double(b.sx) - c.sx) * ay;
    if (det == 0.0) return;
    const double k = double(kFixedOne) / det;

    const std::array<Attribute, N> attributes = Span::attributes(environment);
    std::array<int32_t, N> gradient;
    for (int i = 0; i < N; ++i) {
        const Attribute& q = attributes[i];
        const double qc = c.*q.field;
        const double d = std::trunc(((a.*q.field - qc) * by - (b.*q.field - qc) * ay) * k);
        gradient[i] = toWrappedFixed(q.texelScaled ? d * kTexelScale : d);
    }

    SpanCorner<N> corners[kClipPolygonCapacity];
    for (int n = 0; n < polygon.count; ++n) {
        const Point& p = polygon.corners[n];
        SpanCorner<N>& s = corners[n];
        s.x = toFixed(p.sx);
        s.y = toFixed(p.sy);
        for (int i = 0; i < N; ++i) {
            const Attribute& q = attributes[i];
            const double value = double(p.*q.field) * double(kFixedOne);
            s.attr[i] = toWrappedFixed(q.texelScaled ? value * kTexelScale : value);
        }
    }
    scan_polygon<N>(corners, polygon.count, gradient, pixels, span);
}

void setEnvironmentCorners(Poly* poly) {
    setEnvironmentCoordinates(poly->a);
    setEnvironmentCoordinates(poly->b);
    setEnvironmentCoordinates(poly->c);
}

} // namespace

const uint32_t* poly_texture(const Poly* poly, const uint32_t* fallback) {
    const bglimage* t = poly->material ? poly->material->texture : nullptr;
    if (t && t->image && t->width == kTextureSide && t->height == kTextureSide &&
        t->bits_per_pixel == kScreenDepth)
        return reinterpret_cast<const uint32_t*>(t->image);
    return fallback;
}

void fill_textured(World* world, Poly* poly, uint32_t* pixels, const uint32_t* fallback) {
    const uint32_t* texture = poly_texture(poly, fallback);
    if (texture) fillPoly(world, poly, pixels, CopySpan{texture}, false);
}

void fill_envmapped(World* world, Poly* poly, uint32_t* pixels, const uint32_t* fallback) {
    setEnvironmentCorners(poly);
    const uint32_t* texture = poly_texture(poly, fallback);
    if (texture) fillPoly(world, poly, pixels, CopySpan{texture}, true);
}

void fill_textured_lit(World* world, Poly* poly, uint32_t* pixels, const uint32_t* fallback) {
    const uint32_t* texture = poly_texture(poly, fallback);
    if (texture) fillPoly(world, poly, pixels, ModulateSpan{texture}, false);
}

void fill_textured_env(World* world, Poly* poly, uint32_t* pixels, const uint32_t* fallback,
                       const uint32_t* environment) {
    setEnvironmentCorners(poly);
    const uint32_t* texture = poly_texture(poly, fallback);
    if (texture && environment) fillPoly(world, poly, pixels, AddSpan{texture, environment}, false);
}
