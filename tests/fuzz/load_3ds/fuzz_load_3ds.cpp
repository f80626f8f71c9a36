// Fuzz target: any bytes through the scene reader and, when they read, the whole load-time
// preparation and a few frames of animation and transformation.
#include "engine3d/keyframes.h"
#include "engine3d/read_3ds.h"
#include "engine3d/transform.h"
#include "engine3d/world_load.h"
#include "engine3d/world_memory.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace {
constexpr int kBuckets = 64;
constexpr int kFrames[] = {-1, 0, 7, 100, 40000};
} // namespace

// libFuzzer's own lines only (on standard error): the reader prints its one non-fatal report on
// standard output as it meets it, as the show wants, and a campaign would print it millions of
// times.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    return std::freopen("/dev/null", "w", stdout) ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    World world{};
    if (read_3ds_memory(data, size, &world) != nullptr) return 0;
    if (world_setup(&world, kBuckets) != nullptr) return 0;
    for (int frame : kFrames) {
        world_animate(&world, frame);
        world_transform(&world);
    }
    world_free(&world);
    return 0;
}
