// A small seeded generator with the same sequence on every platform and library, so that the
// generated pictures are identical byte for byte on every run.
#pragma once

#include <cstdint>

namespace forge {

class Random {
public:
    explicit Random(uint64_t seed) : state(seed) {}

    // splitmix64
    uint64_t next() {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1).
    float uniform() { return float(next() >> 40) * (1.0f / 16777216.0f); }
    float range(float low, float high) { return low + (high - low) * uniform(); }

private:
    uint64_t state;
};

} // namespace forge
