#pragma once
// A capture of a small generated module with one painting effect, in a scratch folder per test.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <unistd.h>

#include "capture/capture.h"
#include "effects/effect.h"
#include "effects/show_state.h"
#include "endtoend/program_run.h"
#include "music/test_modules.h"
#include "platform/surface.h"

namespace capturetest {

namespace fs = std::filesystem;
using namespace playertest;

// Paints a colour that depends on the clock and on the sync events it has seen.
class Painter : public Effect {
public:
    int starts = 0;
    int renders = 0;
    std::function<void(int renders)> onRender; // a test's hook, called before each frame is drawn
    void load() {}
    void start() { ++starts; }
    void render() override {
        if (onRender) onRender(++renders);
        auto* pixels = static_cast<std::uint32_t*>(backSurface->lock());
        const std::uint32_t colour = static_cast<std::uint32_t>(showTime * 97.0f) ^ (syncCount.load() << 20);
        for (int i = 0; i < backSurface->width() * backSurface->height(); i += 7) pixels[i] = colour + i;
        backSurface->unlock();
    }
};

using endtoend::commandOutput;

// Windows has no ffmpeg of its own: the tests that encode skip where no ffmpeg.exe is on the
// PATH (what the mp4 writer says then has a test of its own).
inline bool encoderMissing() {
#ifdef _WIN32
    return SearchPathW(nullptr, L"ffmpeg", L".exe", 0, nullptr, nullptr) == 0;
#else
    return false; // the setup installs it
#endif
}

inline std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class Capture : public ::testing::Test {
protected:
    fs::path dir;
    Painter painter;
    EffectRegistry registry;

    void SetUp() override {
        dir = fs::temp_directory_path() / ("hv_capture_" + std::to_string(::getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        registry.assign(12, missingEffect("Not built yet", 99));
        registry[10] = {"Painter", 2, &painter, [](Effect& e) { static_cast<Painter&>(e).load(); },
                        [](Effect& e) { static_cast<Painter&>(e).start(); }};
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string writeModule(const forge::XmModule& m) {
        const fs::path path = dir / "song.xm";
        const std::vector<std::uint8_t> bytes = encode(m);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path.string();
    }

    CaptureOptions outputs(const std::string& run) {
        CaptureOptions o;
        o.fps = 50;
        o.pngDir = (dir / run).string();
        fs::create_directories(o.pngDir);
        o.every = 3;
        o.y4mPath = (dir / (run + ".y4m")).string();
        o.wavPath = (dir / (run + ".wav")).string();
        return o;
    }
};

} // namespace capturetest
