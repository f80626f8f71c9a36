#pragma once
#include <algorithm>
#include <cstdint>

// A colour with float channels from 0 to 1, as the surfaces' clear takes it.
struct Color {
    float red = 0.0f;
    float green = 0.0f;
    float blue = 0.0f;
    float alpha = 1.0f;

    Color() = default;
    Color(float r, float g, float b, float a) : red(r), green(g), blue(b), alpha(a) {}

    // The 0x00RRGGBB pixel value (alpha is not stored in the frame buffer).
    std::uint32_t pixel() const { return (channel(red) << 16) | (channel(green) << 8) | channel(blue); }

private:
    static std::uint32_t channel(float value) {
        // Out-of-range and NaN channels clamp instead of overflowing the conversion.
        if (!(value == value)) return 0;
        return static_cast<std::uint32_t>(std::clamp(value, 0.0f, 1.0f) * 255.0f + 0.5f);
    }
};
