// halcyonvectrum-capture: the show rendered headless, frame by frame, into files.
#include <SDL.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/dialogs.h"
#include "resources/fatal_error.h"
#include "shell/capture.h"
#include "shell/effect_registry.h"

namespace {

// clang-format off
constexpr const char* kUsage =
    "usage: halcyonvectrum-capture [--fps N] [--seconds S] [--png DIR] [--every N] [--y4m FILE] [--wav FILE]\n"
    "  --fps N       frames per second of the virtual clock (default 60)\n"
    "  --seconds S   stop after S seconds (default: at the music's end marker)\n"
    "  --png DIR     write frames as DIR/frameNNNNNN.png\n"
    "  --every N     write only every N-th frame as a PNG (default 1)\n"
    "  --y4m FILE    write every frame into a y4m video\n"
    "  --wav FILE    write the music as a 16-bit stereo 48 kHz wav file\n";
// clang-format on

bool parseInt(const char* text, int low, int high, int& out) {
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(text, &end, 10);
    if (errno || end == text || *end || value < low || value > high) return false;
    out = static_cast<int>(value);
    return true;
}

bool parseSeconds(const char* text, double& out) {
    char* end = nullptr;
    double value = std::strtod(text, &end);
    if (end == text || *end || !(value > 0.0) || value > 24 * 3600.0) return false;
    out = value;
    return true;
}

// Output paths are taken relative to where the program was started, before it moves beside its data.
std::string absolute(const std::string& path) {
    std::error_code ec;
    std::filesystem::path full = std::filesystem::absolute(path, ec);
    return ec ? path : full.string();
}

} // namespace

int main(int argc, char** argv) {
    CaptureOptions options;
    for (int i = 1; i < argc; i += 2) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        bool ok = value != nullptr;
        if (ok && arg == "--fps")
            ok = parseInt(value, 1, 1000, options.fps);
        else if (ok && arg == "--every")
            ok = parseInt(value, 1, 1000000, options.every);
        else if (ok && arg == "--seconds")
            ok = parseSeconds(value, options.seconds);
        else if (ok && arg == "--png")
            options.pngDir = absolute(value);
        else if (ok && arg == "--y4m")
            options.y4mPath = absolute(value);
        else if (ok && arg == "--wav")
            options.wavPath = absolute(value);
        else
            ok = false;
        if (!ok) {
            std::fprintf(stderr, "halcyonvectrum-capture: bad or incomplete option %s\n%s", arg.c_str(),
                         kUsage);
            return 2;
        }
    }
    if (!options.pngDir.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(options.pngDir, ec);
        if (ec) {
            std::fprintf(stderr, "halcyonvectrum-capture: cannot create %s: %s\n", options.pngDir.c_str(),
                         ec.message().c_str());
            return 1;
        }
    }
    if (char* base = SDL_GetBasePath()) {
        std::error_code ec;
        std::filesystem::current_path(base, ec);
        SDL_free(base);
    }
    // A picture that cannot be read ends the capture at once, its "BGL error!" on standard error.
    setFatalErrorHandler(
        [](const char* title, const char* text) { ConsoleDialogs().showError(title, text); });
    return runCapture(options, showEffects());
}
