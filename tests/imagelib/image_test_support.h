// Helpers shared by the picture-library tests: scratch files, pictures made to order, and
// running the library with its error stack emptied.
#pragma once

#include "imagelib/bgl_image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

namespace testsupport {

struct ImageDeleter {
    void operator()(bglimage* image) const { bgl_free_image(image); }
};
using ImagePtr = std::unique_ptr<bglimage, ImageDeleter>;

// A scratch folder of its own per test process (ctest runs cases in parallel).
inline std::filesystem::path scratchDir() {
    static const std::filesystem::path dir = [] {
        auto d = std::filesystem::temp_directory_path() /
                 ("hv-imagelib-" + std::to_string(static_cast<long>(::getpid())));
        std::filesystem::create_directories(d);
        return d;
    }();
    return dir;
}

inline std::string scratchPath(const std::string& name) {
    return (scratchDir() / name).string();
}

inline void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

inline std::vector<uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline std::vector<uint8_t> pixels(const bglimage* image) {
    return std::vector<uint8_t>(image->image, image->image + bgl_image_bytes(image));
}

// A picture whose bytes follow a simple pattern, so that moved or mixed bytes show.
inline ImagePtr patterned(uint16_t width, uint16_t height, uint16_t depth, uint16_t paletteSize = 0) {
    ImagePtr image(bgl_create_image(width, height, depth, paletteSize));
    const uint64_t bytes = bgl_image_bytes(image.get());
    for (uint64_t i = 0; i < bytes; ++i) image->image[i] = uint8_t((i * 37 + 11) & 0xFF);
    for (int i = 0; i < paletteSize * 3; ++i) image->palette[i] = uint8_t(255 - i);
    return image;
}

// The error trail, oldest first.
inline std::vector<std::string> errorTrail() {
    std::vector<std::string> trail;
    for (const char* m = bgl_first_error(); m; m = bgl_next_error()) trail.emplace_back(m);
    return trail;
}

// Every test starts with an empty error stack and verbose mode off.
class ImageTest : public ::testing::Test {
protected:
    void SetUp() override {
        bgl_clear_errors();
        ::testing::internal::CaptureStdout();
        bgl_verbose_off();
        ::testing::internal::GetCapturedStdout();
    }
};

// Runs a program through the shell; its exit status, or -1 when it cannot run.
inline int runShell(const std::string& command) {
    return std::system(command.c_str());
}

inline bool haveProgram(const std::string& name) {
    return runShell("command -v " + name + " >/dev/null 2>&1") == 0;
}

} // namespace testsupport
