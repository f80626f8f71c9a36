#pragma once
// Float-to-int conversions of the effects' motion: toward zero, as everywhere in the show, but
// held well inside an int so that a clock or depth run far out of its usual range cannot make
// the conversion undefined.
#include <cmath>

constexpr double kTruncLimit = 1 << 30;

inline int truncToInt(double value) {
    if (!(std::fabs(value) < kTruncLimit)) return std::isnan(value) ? 0 : (value < 0 ? -(1 << 30) : 1 << 30);
    return static_cast<int>(value);
}

// The key frame shown at a clock reading (hundredths of a second) for a given pace.
inline int keyFrameAt(float hundredths, float hundredthsPerKeyFrame) {
    return truncToInt(double(hundredths) / hundredthsPerKeyFrame);
}
