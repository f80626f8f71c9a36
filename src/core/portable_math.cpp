#include "core/portable_math.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>

namespace pmath {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// c[0] + z (c[1] + z (c[2] + ...)), evaluated from the innermost term out.
template <std::size_t N> double polynomial(double z, const double (&c)[N]) {
    double p = c[N - 1];
    for (std::size_t i = N - 1; i-- > 0;) p = c[i] + z * p;
    return p;
}

// 2^e for -1022 <= e <= 1023, from its bits.
double powerOfTwo(int e) {
    const std::uint64_t bits = static_cast<std::uint64_t>(e + 1023) << 52;
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

// pi/2, pi/4 and pi/8 as the nearest double and the rest, for sums that keep an ulp more.
constexpr double kHalfPi = 1.57079632679489655800e+00, kHalfPiLow = 6.12323399573676603587e-17;
constexpr double kQuarterPi = 7.85398163397448278999e-01, kQuarterPiLow = 3.06161699786838301793e-17;
constexpr double kEighthPi = 3.92699081698724139500e-01, kEighthPiLow = 1.53080849893419150896e-17;
constexpr double kPi = 3.14159265358979311600e+00, kPiLow = 1.22464679914735320717e-16;

// --- sin and cos ---------------------------------------------------------------------------------

// x = k pi/2 + r with |r| <= about pi/4. pi/2 comes in three parts, the first two of 33
// significant bits, so k times each is exact while |k| < 2^20 and x - k*part1 is exact too.
constexpr double kTwoOverPi = 6.36619772367581382433e-01;
constexpr double kHalfPiPart1 = 1.57079632673412561417e+00;
constexpr double kHalfPiPart2 = 6.07710050630396597660e-11;
constexpr double kHalfPiPart3 = 2.02226624879595063154e-21;
constexpr double kExactQuarterTurns = 1 << 20;

struct Reduced {
    double r;
    int quarterTurns; // k mod 4
};

Reduced reduce(double x) {
    if (std::fabs(x) <= kQuarterPi) return {x, 0};
    // Far out, one exact fmod by 2 pi (as a double) first: the phase drifts from the true one
    // there, but the same on every system.
    if (!(std::fabs(x) < kExactQuarterTurns * kHalfPiPart1)) x = std::fmod(x, 4.0 * kHalfPi);
    const double k = std::floor(x * kTwoOverPi + 0.5);
    const double r = ((x - k * kHalfPiPart1) - k * kHalfPiPart2) - k * kHalfPiPart3;
    return {r, static_cast<int>(static_cast<std::int64_t>(k) & 3)};
}

// sin r = r - r^3/3! + r^5/5! - ... and cos r = 1 - r^2/2! + r^4/4! - ..., Taylor series taken far
// enough that the first term left out is below 1e-21 for |r| <= 0.8.
constexpr double kSinTerms[] = {-1.0 / 6,
                                1.0 / 120,
                                -1.0 / 5040,
                                1.0 / 362880,
                                -1.0 / 39916800,
                                1.0 / 6227020800,
                                -1.0 / 1307674368000,
                                1.0 / 355687428096000,
                                -1.0 / 121645100408832000};
double sinKernel(double r) {
    const double z = r * r;
    const double p = polynomial(z, kSinTerms);
    return r + r * z * p;
}

constexpr double kCosTerms[] = {1.0 / 24,
                                -1.0 / 720,
                                1.0 / 40320,
                                -1.0 / 3628800,
                                1.0 / 479001600,
                                -1.0 / 87178291200,
                                1.0 / 20922789888000,
                                -1.0 / 6402373705728000,
                                1.0 / 2432902008176640000};
double cosKernel(double r) {
    const double z = r * r;
    const double p = polynomial(z, kCosTerms);
    // 1 - z/2 rounds; what it lost is added back with the small terms.
    const double half = 0.5 * z;
    const double w = 1.0 - half;
    return w + (((1.0 - w) - half) + z * z * p);
}

// --- atan ------------------------------------------------------------------------------------------

// atan t = t - t^3/3 + t^5/5 - ... for |t| <= tan(pi/16) (t^2 <= 0.04).
constexpr double kAtanTerms[] = {-1.0 / 3,  1.0 / 5,  -1.0 / 7,  1.0 / 9,  -1.0 / 11, 1.0 / 13,
                                 -1.0 / 15, 1.0 / 17, -1.0 / 19, 1.0 / 21, -1.0 / 23, 1.0 / 25};
double atanKernel(double t) {
    const double z = t * t;
    const double p = polynomial(z, kAtanTerms);
    return t + t * z * p;
}

constexpr double kTanSixteenthPi = 0.19891236737965800691;
constexpr double kTanThreeSixteenthsPi = 0.66817863791929891999;
constexpr double kTanEighthPi = 0.41421356237309504880;

// atan x for 0 <= x <= 1, moved next to 0, pi/8 or pi/4 by atan x = atan c + atan((x - c)/(1 + xc)).
double atanUnit(double x) {
    if (x <= kTanSixteenthPi) return atanKernel(x);
    if (x <= kTanThreeSixteenthsPi)
        return kEighthPi + (kEighthPiLow + atanKernel((x - kTanEighthPi) / (1.0 + x * kTanEighthPi)));
    return kQuarterPi + (kQuarterPiLow + atanKernel((x - 1.0) / (x + 1.0)));
}

// atan x for x >= 0 (also +infinity).
double atanPositive(double x) {
    if (x <= 1.0) return atanUnit(x);
    return kHalfPi - (atanUnit(1.0 / x) - kHalfPiLow);
}

// --- exp and log -----------------------------------------------------------------------------------

// ln 2 in two parts, the first of 32 significant bits, so that k times it is exact.
constexpr double kLn2High = 6.93147180369123816490e-01;
constexpr double kLn2Low = 1.90821492927058770002e-10;
constexpr double kInverseLn2 = 1.44269504088896338700e+00;
constexpr double kSqrtHalf = 0.70710678118654752440;
// Beyond these exp overflows to infinity or underflows to zero.
constexpr double kExpMax = 709.782712893383973096;
constexpr double kExpMin = -745.13321910194110842;

} // namespace

double sin(double x) {
    if (!std::isfinite(x)) return x - x; // NaN
    if (x == 0.0) return x;              // keeps the sign of a zero
    const Reduced a = reduce(x);
    switch (a.quarterTurns) {
        case 0:
            return sinKernel(a.r);
        case 1:
            return cosKernel(a.r);
        case 2:
            return -sinKernel(a.r);
        default:
            return -cosKernel(a.r);
    }
}

double cos(double x) {
    if (!std::isfinite(x)) return x - x;
    const Reduced a = reduce(x);
    switch (a.quarterTurns) {
        case 0:
            return cosKernel(a.r);
        case 1:
            return -sinKernel(a.r);
        case 2:
            return -cosKernel(a.r);
        default:
            return sinKernel(a.r);
    }
}

double atan2(double y, double x) {
    if (std::isnan(x) || std::isnan(y)) return x + y;
    if (y == 0.0) return std::signbit(x) ? std::copysign(kPi, y) : y;
    if (x == 0.0) return std::copysign(kHalfPi, y);
    if (std::isinf(x)) {
        if (std::isinf(y)) return std::copysign(std::signbit(x) ? 3.0 * kQuarterPi : kQuarterPi, y);
        return std::copysign(std::signbit(x) ? kPi : 0.0, y);
    }
    if (std::isinf(y)) return std::copysign(kHalfPi, y);
    double a = atanPositive(std::fabs(y) / std::fabs(x));
    if (x < 0.0) a = kPi - (a - kPiLow);
    return std::copysign(a, y);
}

double acos(double x) {
    if (!(std::fabs(x) <= 1.0)) return kNaN;
    return atan2(std::sqrt((1.0 - x) * (1.0 + x)), x);
}

constexpr double kExpTerms[] = {1.0 / 2,       1.0 / 6,        1.0 / 24,        1.0 / 120,
                                1.0 / 720,     1.0 / 5040,     1.0 / 40320,     1.0 / 362880,
                                1.0 / 3628800, 1.0 / 39916800, 1.0 / 479001600, 1.0 / 6227020800};
double exp(double x) {
    if (std::isnan(x)) return x;
    if (x > kExpMax) return kInfinity;
    if (x < kExpMin) return 0.0;
    // x = k ln 2 + r with |r| <= ln 2 / 2; e^x = 2^k e^r, e^r by its Taylor series to r^13.
    const double k = std::floor(x * kInverseLn2 + 0.5);
    const double r = (x - k * kLn2High) - k * kLn2Low;
    const double p = polynomial(r, kExpTerms);
    const double m = 1.0 + (r + r * r * p);
    const int e = static_cast<int>(k);
    // Scaling by a normal power of two is one rounded product, as ldexp's is, and much cheaper.
    if (e >= -1022 && e <= 1023) return m * powerOfTwo(e);
    return std::ldexp(m, e);
}

constexpr double kLogTerms[] = {1.0 / 3,  1.0 / 5,  1.0 / 7,  1.0 / 9,  1.0 / 11, 1.0 / 13,
                                1.0 / 15, 1.0 / 17, 1.0 / 19, 1.0 / 21, 1.0 / 23};
double log(double x) {
    if (std::isnan(x) || x == kInfinity) return x;
    if (x < 0.0) return kNaN;
    if (x == 0.0) return -kInfinity;
    // x = 2^e m with sqrt(1/2) <= m < sqrt(2); ln m = 2 atanh s with s = (m - 1)/(m + 1), |s| < 0.172.
    int e = 0;
    double m = std::frexp(x, &e);
    if (m < kSqrtHalf) {
        m *= 2.0;
        --e;
    }
    const double s = (m - 1.0) / (m + 1.0);
    const double z = s * s;
    const double p = polynomial(z, kLogTerms);
    const double lnM = 2.0 * s + 2.0 * s * z * p;
    return e * kLn2High + (lnM + e * kLn2Low);
}

double pow(double x, double y) {
    if (y == 0.0 || x == 1.0) return 1.0;
    if (std::isnan(x) || std::isnan(y)) return x + y;
    // The powers a product gives exactly rounded (and exactly, for a float x).
    if (y == 1.0) return x;
    if (y == 2.0) return x * x;
    const bool wholeY = std::isfinite(y) && std::floor(y) == y;
    const bool oddY = wholeY && std::fabs(std::fmod(y, 2.0)) == 1.0;
    if (x == 0.0) {
        if (y < 0.0) return oddY ? std::copysign(kInfinity, x) : kInfinity;
        return oddY ? x : 0.0;
    }
    if (std::isinf(y)) {
        if (std::fabs(x) == 1.0) return 1.0;
        return (std::fabs(x) < 1.0) == (y > 0.0) ? 0.0 : kInfinity;
    }
    if (std::isinf(x)) {
        const double magnitude = y > 0.0 ? kInfinity : 0.0;
        return x < 0.0 && oddY ? -magnitude : magnitude;
    }
    if (x < 0.0) {
        if (!wholeY) return kNaN;
        const double magnitude = exp(y * log(-x));
        return oddY ? -magnitude : magnitude;
    }
    return exp(y * log(x));
}

} // namespace pmath
