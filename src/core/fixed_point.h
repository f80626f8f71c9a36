#pragma once
// The fixed-point formats of the show's kernels: 16.16 for positions and texture coordinates
// that edge walkers and samplers step, 8.8 for span steps and light factors.
#include <cmath>
#include <cstdint>

// 16.16: value = raw / 65536.
inline constexpr int kFracBits = 16;
inline constexpr std::int32_t kFixedOne = std::int32_t(1) << kFracBits;

// 8.8: value = raw / 256.
inline constexpr int kShortFracBits = 8;
inline constexpr std::int32_t kShortFixedOne = std::int32_t(1) << kShortFracBits;

// trunc(value) as a 32-bit number that wraps, for fixed-point values that only feed wrapping
// texture addresses: far hits (rays nearly parallel to a tunnel's axis, a camera that has flown a
// long way) keep their low 32 bits instead of overflowing. Non-finite values give 0.
inline std::int32_t toWrappedFixed(double value) {
    if (!std::isfinite(value)) return 0;
    // Below 2^63 in magnitude the truncated value fits an int64, whose low 32 bits are the same
    // wrap as below, without the division.
    constexpr double kInt64Reach = 9223372036854775808.0; // 2^63
    if (std::fabs(value) < kInt64Reach)
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::int64_t>(value)));
    constexpr double kWrap = 4294967296.0; // 2^32
    // fmod keeps the sign and is exact; its result lies below 2^32 in magnitude, which int64 holds.
    const double low = std::fmod(std::trunc(value), kWrap);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::int64_t>(low)));
}
