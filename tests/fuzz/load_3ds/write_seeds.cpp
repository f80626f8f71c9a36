// Writes the seed corpus of the scene-reader fuzz target: the engine tests' scene that uses
// every chunk kind the reader keeps, and a plain one.
#include "core/command_line.h"
#include "engine3d/scene_fixtures.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace {

namespace fs = std::filesystem;

Scene3ds meshes_only() {
    Scene3ds s;
    s.meshes = {square_mesh("a"), square_mesh("b")};
    return s;
}

bool write(const fs::path& dir, const char* name, const Scene3ds& scene) {
    std::string error;
    if (save_3ds((dir / name).string(), scene, &error)) return true;
    std::fprintf(stderr, "write_3ds_seeds: %s\n", error.c_str());
    return false;
}

// libFuzzer names what it adds to a corpus by the SHA-1 of its bytes: forty hex digits.
bool isFuzzerFind(const std::string& name) {
    constexpr std::size_t kSha1Digits = 40;
    return name.size() == kSha1Digits && name.find_first_not_of("0123456789abcdef") == std::string::npos;
}

} // namespace

int main(int argc, char** argv) {
    std::string dir;
    CommandLine line("write_3ds_seeds", "DIR",
                     "Writes the seed corpus of the scene-reader fuzz target into DIR (made if needed),\n"
                     "after removing the inputs earlier fuzz runs left there.");
    line.operand("DIR", dir);
    if (const int code = line.parse(argc, argv); code != CommandLine::kGoOn) return code;
    const fs::path folder = dir;
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) return line.failure("cannot make " + dir + ": " + ec.message());
    // Only what the seeds and libFuzzer put there goes: this folder may be any the user named.
    std::vector<fs::path> earlier;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        if (entry.is_regular_file() &&
            (isFuzzerFind(entry.path().filename().string()) || entry.path().extension() == ".3ds"))
            earlier.push_back(entry.path());
    for (const fs::path& file : earlier) fs::remove(file, ec);
    if (ec) return line.failure("cannot clear " + dir + ": " + ec.message());
    return write(folder, "full.3ds", full_scene()) && write(folder, "meshes.3ds", meshes_only()) ? 0 : 1;
}
