#pragma once
// Float-to-fixed conversions of the grids' compute steps (16.16 texture coordinates come from
// toWrappedFixed in core/fixed_point.h).
#include <cstdint>

#include "core/fixed_point.h"

// trunc(factor) for a light factor already limited to its range; NaN gives 0.
inline std::int32_t toLightFactor(float factor) {
    if (!(factor > 0.0f)) return 0;
    return static_cast<std::int32_t>(factor);
}
