#pragma once
// The show's transcendental functions, the same to the last bit on every system it runs on.
//
// The C libraries' sin, cos, atan2, acos and pow (glibc's, Windows', emscripten's musl) each
// round their last bit their own way, and a last bit that differs flips a pixel now and then: a
// frame drawn on one system would not match the same frame drawn on another. These are built
// from +, -, *, / and sqrt alone, which IEEE 754 rounds the same everywhere (with contraction
// into fused multiply-adds off, as the build sets it). They are accurate to about an ulp of a
// double for the arguments the show uses (|x| up to about a million radians; beyond that, sin and
// cos lose accuracy but stay the same everywhere). The float versions round the double result,
// which then almost always equals the correctly rounded float.
//
// sqrt, floor, fmod, fabs and trunc are exact in every C library; keep using <cmath> for them.

namespace pmath {

double sin(double x);
double cos(double x);
// The angle of (x, y) in (-pi, pi], with the C library's answers for zeros and infinities.
double atan2(double y, double x);
double acos(double x);
// x to the power y, with the C library's answers for the special cases (a negative x only with a
// whole y).
double pow(double x, double y);
double exp(double x);
double log(double x);

inline float sin(float x) {
    return static_cast<float>(sin(static_cast<double>(x)));
}
inline float cos(float x) {
    return static_cast<float>(cos(static_cast<double>(x)));
}
inline float atan2(float y, float x) {
    return static_cast<float>(atan2(static_cast<double>(y), static_cast<double>(x)));
}
inline float pow(float x, float y) {
    return static_cast<float>(pow(static_cast<double>(x), static_cast<double>(y)));
}

} // namespace pmath
