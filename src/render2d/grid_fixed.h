#pragma once
// Float-to-fixed conversions of the grids' compute steps.
#include <cmath>
#include <cstdint>

constexpr float kFixedOne = 65536.0f; // 1.0 in 16.16

// trunc(value) as a 32-bit fixed-point number that wraps: a texture coordinate only matters
// modulo 256 texels, so far hits (rays nearly parallel to a tunnel's axis, or a camera that has
// flown a long way) keep their low 32 bits instead of overflowing. Non-finite values give 0.
inline std::int32_t toWrappedFixed(double value) {
    if (!std::isfinite(value)) return 0;
    constexpr double kWrap = 4294967296.0;                  // 2^32
    const double low = std::fmod(std::trunc(value), kWrap); // exact, |low| < 2^32
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::int64_t>(low)));
}

// trunc(factor) for a light factor already limited to its range; NaN gives 0.
inline std::int32_t toLightFactor(float factor) {
    if (!(factor > 0.0f)) return 0;
    return static_cast<std::int32_t>(factor);
}
