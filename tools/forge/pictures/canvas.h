// Floating-point RGB canvases on which the generator paints its pictures. Values are display
// intensities where 1 is full brightness; brighter values are rolled off when the picture is
// turned into bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace forge {

struct Colour {
    float r = 0, g = 0, b = 0;
};

inline Colour operator+(Colour a, Colour b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}
inline Colour operator-(Colour a, Colour b) {
    return {a.r - b.r, a.g - b.g, a.b - b.b};
}
inline Colour operator*(Colour a, float k) {
    return {a.r * k, a.g * k, a.b * k};
}
inline Colour operator*(Colour a, Colour b) {
    return {a.r * b.r, a.g * b.g, a.b * b.b};
}
inline Colour& operator+=(Colour& a, Colour b) {
    return a = a + b;
}
inline Colour mix(Colour a, Colour b, float t) {
    return a + (b - a) * t;
}
inline float luminance(Colour c) {
    return 0.299f * c.r + 0.587f * c.g + 0.114f * c.b;
}

// A colour from 0xRRGGBB.
constexpr Colour hex(uint32_t rgb) {
    return {float((rgb >> 16) & 0xFF) / 255.0f, float((rgb >> 8) & 0xFF) / 255.0f,
            float(rgb & 0xFF) / 255.0f};
}

class Canvas {
public:
    Canvas() = default;
    Canvas(int width, int height) : width(width), height(height), pixels(size_t(width) * size_t(height)) {}

    Colour& at(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    const Colour& at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    void add(int x, int y, Colour c) {
        if (inside(x, y)) at(x, y) += c;
    }

    int width = 0;
    int height = 0;
    std::vector<Colour> pixels;
};

// Piecewise-linear colour ramp over 0..1.
struct RampStop {
    float at;
    Colour colour;
};

template <size_t N> Colour ramp(const RampStop (&stops)[N], float t) {
    if (t <= stops[0].at) return stops[0].colour;
    for (size_t i = 1; i < N; ++i)
        if (t <= stops[i].at)
            return mix(stops[i - 1].colour, stops[i].colour,
                       (t - stops[i - 1].at) / (stops[i].at - stops[i - 1].at));
    return stops[N - 1].colour;
}

} // namespace forge
