// halcyonvectrum-capture: the show rendered headless, frame by frame, into files.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "capture/capture.h"
#include "platform/dialogs.h"
#include "platform/sdl/program_folder.h"
#include "resources/fatal_error.h"
#include "shell/effect_registry.h"

namespace {

constexpr int kMaxScale = 16;
constexpr int kMaxSyncValue = 255;
constexpr double kMaxSeconds = 24 * 3600.0;

// clang-format off
constexpr const char* kUsage =
    "usage: halcyonvectrum-capture [options]\n"
    "Plays the show headless on a virtual clock and writes it to files.\n"
    "  --mp4 FILE            the show as an H.264/AAC video at 4:3 (1440x1080), through ffmpeg\n"
    "  --contact-sheet FILE  one labelled frame per second of the show in a grid, as a JPEG\n"
    "  --png DIR             frames as DIR/frameNNNNNN.png\n"
    "  --every N             write only every N-th frame as a PNG (default 1)\n"
    "  --y4m FILE            every frame into a y4m video\n"
    "  --wav FILE            the music as a 16-bit stereo 48 kHz wav file\n"
    "  --scale N             enlarge the PNG and y4m frames N times, nearest pixel (default 1)\n"
    "  --aspect square|4:3   the PNG and y4m frames' shape: 320x200 pixels as they are, or\n"
    "                        stretched to the 4:3 screen the show was made for (default square)\n"
    "  --fps N               frames per second of the virtual clock (default 60)\n"
    "  --start-sync V        begin the outputs at the first sync value V (the show runs up to it unwritten)\n"
    "  --start-time S        begin the outputs at S seconds of music\n"
    "  --seconds S           write S seconds (default: until the music's end marker)\n"
    "  --log FILE            one line per written frame: number, music frame, sync value and count,\n"
    "                        pixel checksum, effect\n"
    "  --quiet               no progress bar on standard error\n";
// clang-format on

bool parseInt(const char* text, int low, int high, int& out) {
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(text, &end, 10);
    if (errno || end == text || *end || value < low || value > high) return false;
    out = static_cast<int>(value);
    return true;
}

// A length must be above zero; a start may be zero.
bool parseSeconds(const char* text, bool zeroAllowed, double& out) {
    char* end = nullptr;
    double value = std::strtod(text, &end);
    if (end == text || *end || !(value > 0.0 || (zeroAllowed && value == 0.0)) || value > kMaxSeconds)
        return false;
    out = value;
    return true;
}

bool parseAspect(const char* text, FrameAspect& out) {
    const std::string value = text;
    if (value == "square")
        out = FrameAspect::Square;
    else if (value == "4:3")
        out = FrameAspect::FourThree;
    else
        return false;
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
    ShowCaptureOptions options;
    options.progress = true;
    CaptureOptions& capture = options.session;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == "--quiet") {
            options.progress = false;
            continue;
        }
        const char* value = i + 1 < argc ? argv[++i] : nullptr;
        bool ok = value != nullptr;
        if (ok && arg == "--fps")
            ok = parseInt(value, 1, 1000, capture.fps);
        else if (ok && arg == "--every")
            ok = parseInt(value, 1, 1000000, capture.every);
        else if (ok && arg == "--seconds")
            ok = parseSeconds(value, false, capture.seconds);
        else if (ok && arg == "--scale")
            ok = parseInt(value, 1, kMaxScale, capture.scale);
        else if (ok && arg == "--aspect")
            ok = parseAspect(value, capture.aspect);
        else if (ok && arg == "--start-sync")
            ok = parseInt(value, 1, kMaxSyncValue, capture.startSync);
        else if (ok && arg == "--start-time")
            ok = parseSeconds(value, true, capture.startSeconds);
        else if (ok && arg == "--png")
            capture.pngDir = absolute(value);
        else if (ok && arg == "--y4m")
            capture.y4mPath = absolute(value);
        else if (ok && arg == "--wav")
            capture.wavPath = absolute(value);
        else if (ok && arg == "--mp4")
            capture.mp4Path = absolute(value);
        else if (ok && arg == "--contact-sheet")
            options.contactSheetPath = absolute(value);
        else if (ok && arg == "--log")
            options.logPath = absolute(value);
        else
            ok = false;
        if (!ok) {
            std::fprintf(stderr, "halcyonvectrum-capture: bad or incomplete option %s\n%s", arg.c_str(),
                         kUsage);
            return 2;
        }
    }
    if (capture.startSync >= 0 && capture.startSeconds >= 0.0) {
        std::fprintf(stderr, "halcyonvectrum-capture: --start-sync and --start-time exclude each other\n");
        return 2;
    }
    if (!capture.pngDir.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(capture.pngDir, ec);
        if (ec) {
            std::fprintf(stderr, "halcyonvectrum-capture: cannot create %s: %s\n", capture.pngDir.c_str(),
                         ec.message().c_str());
            return 1;
        }
    }
    enterProgramFolder();
    // A picture that cannot be read ends the capture at once, its "BGL error!" on standard error.
    setFatalErrorHandler(
        [](const char* title, const char* text) { ConsoleDialogs().showError(title, text); });
    return runCapture(options, showEffects());
}
