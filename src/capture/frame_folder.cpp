#include "capture/frame_folder.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "capture/exit_cleanup.h"
#include "capture/output_file.h"
#include "capture/png_writer.h"
#include "core/command_line.h"

namespace fs = std::filesystem;

namespace {
// A name no frame has, to try writing into the folder before the first frame.
constexpr const char* kProbeName = "frame-probe.png";
} // namespace

FrameFolder::~FrameFolder() {
    discard();
}

bool FrameFolder::open(const std::string& path, std::string& error) {
    discard();
    count = 0;
    std::error_code ec;
    const bool existed = fs::exists(path, ec);
    if (!existed) {
        fs::create_directories(path, ec);
        if (ec) {
            error = "cannot make the folder " + path + ": " + ec.message();
            return false;
        }
    } else if (!fs::is_directory(path, ec)) {
        error = "cannot write frames into " + path + ": Not a directory";
        return false;
    }
    if (const std::string problem = outputFileProblem((fs::path(path) / kProbeName).string());
        !problem.empty()) {
        error = "cannot write frames into " + path + ": " + problem;
        if (!existed) fs::remove(path, ec);
        return false;
    }
    folder = path;
    madeFolder = !existed;
    if (madeFolder) removeAtExit(folder);
    return true;
}

bool FrameFolder::write(long index, const std::uint32_t* pixels, int width, int height, int pitch,
                        std::string& error) {
    char name[32];
    std::snprintf(name, sizeof name, "frame%06ld.png", index);
    const std::string path = (fs::path(folder) / name).string();
    const std::string temporary = partialPath(path);
    if (!writePng(temporary, pixels, width, height, pitch, error)) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        error = "could not write " + path + ": " + error;
        return false;
    }
    std::error_code ec;
    fs::rename(temporary, path, ec);
    if (ec) {
        fs::remove(temporary, ec);
        error = "could not write " + path + ": " + ec.message();
        return false;
    }
    frames.push_back(path);
    removeAtExit(path);
    ++count;
    return true;
}

void FrameFolder::keep() {
    for (auto it = frames.rbegin(); it != frames.rend(); ++it) forgetAtExit(*it);
    if (madeFolder) forgetAtExit(folder);
    frames.clear();
    folder.clear();
    madeFolder = false;
}

void FrameFolder::discard() {
    std::error_code ignored;
    for (auto it = frames.rbegin(); it != frames.rend(); ++it) {
        fs::remove(*it, ignored);
        forgetAtExit(*it);
    }
    if (madeFolder) {
        fs::remove(folder, ignored); // only when empty: nothing but this run's frames were there
        forgetAtExit(folder);
    }
    frames.clear();
    folder.clear();
    madeFolder = false;
}
