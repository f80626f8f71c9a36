// The show's own transcendental functions: close to the C library's, its answers at the edges, and
// the same bits on every system (the digest below is checked natively, under Windows and in the
// browser alike).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>

#include "core/portable_math.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The distance of `value` from `reference` in units of the reference's last place.
double ulps(double value, double reference) {
    if (value == reference) return 0.0;
    const double magnitude = std::fabs(reference);
    const double ulp = std::nextafter(magnitude, kInf) - magnitude;
    return std::fabs(value - reference) / ulp;
}

// The worst distance from the C library over `count` even steps through [low, high].
double worstUlps(const std::function<double(double)>& ours, const std::function<double(double)>& library,
                 double low, double high, int count = 20000) {
    double worst = 0.0;
    for (int i = 0; i <= count; ++i) {
        const double x = low + (high - low) * i / count;
        worst = std::max(worst, ulps(ours(x), library(x)));
    }
    return worst;
}

// Same value, and same sign for zeros; any NaN matches any NaN.
bool sameValue(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return a == b && std::signbit(a) == std::signbit(b);
}

} // namespace

// Every function within a few ulps of the C library over the ranges the show's motion and
// lighting use (and further); a quadrant or sign mixed up would be off by far more.
TEST(PortableMath, StaysWithinAFewUlpsOfTheCLibrary) {
    using Function = double (*)(double);
    struct Range {
        const char* name;
        Function ours, library;
        double low, high, tolerance;
    };
    const Range ranges[] = {
        {"sin", [](double x) { return pmath::sin(x); }, [](double x) { return std::sin(x); }, -10.0, 10.0,
         4.0},
        {"cos", [](double x) { return pmath::cos(x); }, [](double x) { return std::cos(x); }, -10.0, 10.0,
         4.0},
#ifndef _WIN32
        // Far out, mingw-w64's C library is the one that strays (by over a hundred ulps under wine).
        {"sin", [](double x) { return pmath::sin(x); }, [](double x) { return std::sin(x); }, -1e5, 1e5, 4.0},
        {"cos", [](double x) { return pmath::cos(x); }, [](double x) { return std::cos(x); }, -1e5, 1e5, 4.0},
#endif
        {"atan2 x 0.7", [](double y) { return pmath::atan2(y, 0.7); },
         [](double y) { return std::atan2(y, 0.7); }, -20.0, 20.0, 4.0},
        {"atan2 x -1.3", [](double y) { return pmath::atan2(y, -1.3); },
         [](double y) { return std::atan2(y, -1.3); }, -20.0, 20.0, 4.0},
        {"atan2 x 1e-3", [](double y) { return pmath::atan2(y, 1e-3); },
         [](double y) { return std::atan2(y, 1e-3); }, -20.0, 20.0, 4.0},
        {"atan2 x -250", [](double y) { return pmath::atan2(y, -250.0); },
         [](double y) { return std::atan2(y, -250.0); }, -20.0, 20.0, 4.0},
        {"acos", [](double x) { return pmath::acos(x); }, [](double x) { return std::acos(x); }, -1.0, 1.0,
         4.0},
        {"exp", [](double x) { return pmath::exp(x); }, [](double x) { return std::exp(x); }, -700.0, 700.0,
         4.0},
        {"log", [](double x) { return pmath::log(x); }, [](double x) { return std::log(x); }, 0.5, 2.0, 4.0},
        {"log", [](double x) { return pmath::log(x); }, [](double x) { return std::log(x); }, 1e-300, 1e300,
         4.0},
        // The lights' exponents: pow's error grows with y ln x, which stays small here.
        {"pow y 0.8", [](double x) { return pmath::pow(x, 0.8); }, [](double x) { return std::pow(x, 0.8); },
         0.0, 1.0, 64.0},
        {"pow y 1.1", [](double x) { return pmath::pow(x, 1.1); }, [](double x) { return std::pow(x, 1.1); },
         0.0, 1.0, 64.0},
        {"pow y 1.3", [](double x) { return pmath::pow(x, 1.3); }, [](double x) { return std::pow(x, 1.3); },
         0.0, 1.0, 64.0},
        {"pow y 2.2", [](double x) { return pmath::pow(x, 2.2); }, [](double x) { return std::pow(x, 2.2); },
         0.0, 1.0, 64.0},
    };
    for (const Range& r : ranges)
        EXPECT_LT(worstUlps(r.ours, r.library, r.low, r.high), r.tolerance)
            << r.name << " over [" << r.low << ", " << r.high << "]";

    // A float rounds the double: the float functions give the float nearest the true value.
    int floatMisses = 0;
    for (int i = -20000; i <= 20000; ++i) {
        const float x = static_cast<float>(i) * 0.0137f;
        floatMisses += pmath::sin(x) != static_cast<float>(std::sin(static_cast<double>(x)));
        const float base = std::fabs(x) / 274.0f;
        floatMisses += pmath::pow(base, 1.3f) != static_cast<float>(std::pow(double(base), double(1.3f)));
    }
    EXPECT_EQ(floatMisses, 0);
}

TEST(PortableMath, AnswersLikeTheCLibraryAtZerosInfinitiesAndNaN) {
    const double edges[] = {0.0, -0.0, 1.0, -1.0, 2.0, -2.0, 3.0, -3.0, 0.5, -0.5, kInf, -kInf, kNaN};
    // Where an answer is exact: a zero, an infinity or NaN in, or a power the special cases fix.
    const auto special = [](double x) { return x == 0.0 || !std::isfinite(x); };
    for (double x : edges) {
        if (special(x)) {
            EXPECT_TRUE(sameValue(pmath::sin(x), std::sin(x))) << "sin " << x;
            EXPECT_TRUE(sameValue(pmath::cos(x), std::cos(x))) << "cos " << x;
            EXPECT_TRUE(sameValue(pmath::exp(x), std::exp(x))) << "exp " << x;
        }
        if (special(x) || x < 0.0) {
            EXPECT_TRUE(sameValue(pmath::log(x), std::log(x))) << "log " << x;
        }
        if (!(std::fabs(x) <= 1.0)) {
            EXPECT_TRUE(std::isnan(pmath::acos(x))) << "acos " << x;
        }
        for (double y : edges) {
            if (special(x) || special(y)) {
                EXPECT_TRUE(sameValue(pmath::atan2(y, x), std::atan2(y, x))) << "atan2 " << y << ", " << x;
            }
            if (special(x) || special(y) || std::fabs(x) == 1.0 || y == 1.0 || y == 2.0 ||
                (x < 0.0 && std::floor(y) != y)) {
                EXPECT_TRUE(sameValue(pmath::pow(x, y), std::pow(x, y))) << "pow " << x << ", " << y;
            }
        }
    }
    EXPECT_EQ(pmath::exp(710.0), kInf);
    EXPECT_EQ(pmath::exp(-746.0), 0.0);
    EXPECT_DOUBLE_EQ(pmath::pow(-2.0, 3.0), -8.0);
    EXPECT_EQ(pmath::acos(1.0), 0.0);
}

// The digest of many results, bit for bit. Every build of the show computes it; a system whose
// arithmetic rounded differently (or a compiler fusing a multiply and an add) would change it.
TEST(PortableMath, GivesTheSameBitsOnEverySystem) {
    std::uint64_t digest = 1469598103934665603u; // FNV-1a
    const auto mix = [&digest](double value) {
        std::uint64_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        for (int i = 0; i < 8; ++i) digest = (digest ^ ((bits >> (8 * i)) & 0xff)) * 1099511628211u;
    };
    for (int i = -5000; i <= 5000; ++i) {
        const double x = i * 0.3141 + i * 1e-7;
        mix(pmath::sin(x));
        mix(pmath::cos(x * 7.0));
        mix(pmath::atan2(x, 77.0 - i * 0.01));
        mix(pmath::acos(i / 5000.5));
        mix(pmath::exp(x / 20.0));
        mix(pmath::log(std::fabs(x) + 1e-3));
        mix(pmath::pow(std::fabs(x) / 1571.0, 1.3));
        mix(pmath::sin(static_cast<float>(x)));
    }
    EXPECT_EQ(digest, 11215448800728628935u);
}
