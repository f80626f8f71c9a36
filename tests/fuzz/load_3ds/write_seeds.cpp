// Writes the seed corpus of the scene-reader fuzz target: the engine tests' scene that uses
// every chunk kind the reader keeps, and a plain one.
#include "engine3d/scene_fixtures.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

Scene3ds meshes_only() {
    Scene3ds s;
    s.meshes = {square_mesh("a"), square_mesh("b")};
    return s;
}

bool write(const std::filesystem::path& dir, const char* name, const Scene3ds& scene) {
    std::string error;
    if (save_3ds((dir / name).string(), scene, &error)) return true;
    std::fprintf(stderr, "write_3ds_seeds: %s\n", error.c_str());
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_3ds_seeds OUTDIR\n");
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::error_code ec;
    std::filesystem::remove_all(dir, ec); // start from the seeds alone, not last run's finds
    std::filesystem::create_directories(dir, ec);
    if (ec) {
        std::fprintf(stderr, "write_3ds_seeds: cannot create %s: %s\n", argv[1], ec.message().c_str());
        return 1;
    }
    return write(dir, "full.3ds", full_scene()) && write(dir, "meshes.3ds", meshes_only()) ? 0 : 1;
}
