// halcyonvectrum-capture: the show rendered headless, frame by frame, into files.
#include <filesystem>
#include <string>
#include <system_error>

#include "capture/capture.h"
#include "capture/still_picture.h"
#include "capture/stop_request.h"
#include "core/command_line.h"
#include "imagelib/bgl_image.h"
#include "platform/dialogs.h"
#include "platform/sdl/program_folder.h"
#include "resources/fatal_error.h"
#include "resources/image_cache.h"
#include "shell/effect_registry.h"

namespace {

constexpr const char* kProgram = "halcyonvectrum-capture";
constexpr int kMaxFps = 1000;
constexpr int kMaxEvery = 1000000;
constexpr int kMaxScale = 16;
constexpr int kMaxSyncValue = 255;
constexpr double kMaxSeconds = 24 * 3600.0;

// clang-format off
constexpr const char* kNotes =
    "Files are written under NAME.partial and get their names only when the capture succeeds;\n"
    "a failure leaves none behind. Ctrl-C or SIGTERM stop it with the frames written so far, the\n"
    "files finished, and exit code 130 or 143. Without any output the capture is only timed.\n"
    "The loading screen is fourteen frames at any rate (one per picture the show presents while\n"
    "it loads); --start-time 0 leaves it out.\n"
    "\n"
    "Example, the tunnel alone, ten seconds, as large PNGs at 4:3:\n"
    "  halcyonvectrum-capture --start-sync 32 --seconds 10 --png tunnel --scale 3 --aspect 4:3";
// clang-format on

// Output paths are taken relative to where the program was started, before it moves beside its data.
std::string absolute(const std::string& path) {
    std::error_code ec;
    std::filesystem::path full = std::filesystem::absolute(path, ec);
    return ec ? path : full.string();
}

} // namespace

int main(int argc, char** argv) {
    ShowCaptureOptions options;
    CaptureOptions& capture = options.session;
    bool quiet = false;
    int startSync = 0;
    CommandLine line(kProgram, "", "Plays the show headless on a virtual clock and writes it to files.");
    line.text("--mp4", "FILE", "the show as an H.264/AAC video at 4:3 (1440x1080), through ffmpeg",
              capture.mp4Path)
        .text("--contact-sheet", "FILE",
              "one labelled frame per second of the show in a grid,\n"
              "JPEG or PNG by the name's ending (.jpg, .jpeg, .png)",
              options.contactSheetPath)
        .text("--png", "DIR", "frames as DIR/frameNNNNNN.png (the folder is made if needed)", capture.pngDir)
        .integer("--every", "N", "write only every N-th frame as a PNG (default 1)", 1, kMaxEvery,
                 capture.every)
        .text("--y4m", "FILE", "every frame into a y4m video", capture.y4mPath)
        .text("--wav", "FILE", "the music as a 16-bit stereo 48 kHz wav file", capture.wavPath)
        .integer("--scale", "N", "enlarge the PNG and y4m frames N times, nearest pixel (default 1)", 1,
                 kMaxScale, capture.scale)
        .choice<FrameAspect>("--aspect",
                             "the PNG and y4m frames' shape: 320x200 pixels as they are, or\n"
                             "stretched to the 4:3 screen the show was made for (default square)",
                             {{"square", FrameAspect::Square}, {"4:3", FrameAspect::FourThree}},
                             capture.aspect)
        .integer("--fps", "N", "frames per second of the virtual clock (default 60)", 1, kMaxFps, capture.fps)
        .integer("--start-sync", "V",
                 "begin the outputs at the first sync value V (the show runs up to it\n"
                 "unwritten; xmsync lists the values)",
                 1, kMaxSyncValue, startSync)
        .number("--start-time", "S", "begin the outputs at S seconds of music", 0.0, false, kMaxSeconds,
                capture.startSeconds)
        .number("--seconds", "S", "write S seconds (default: until the music's end marker)", 0.0, true,
                kMaxSeconds, capture.seconds)
        .text("--log", "FILE",
              "one line per written frame: number, music frame, sync value and count,\n"
              "pixel checksum, effect",
              options.logPath)
        .flag("--quiet",
              "no progress bar, no summary, and none of the show's own lines on\n"
              "standard output; errors only",
              quiet)
        .epilog(kNotes);
    if (const int code = line.parse(argc, argv); code != CommandLine::kGoOn) return code;
    if (line.given("--start-sync")) capture.startSync = startSync;
    if (line.given("--start-sync") && line.given("--start-time"))
        return line.usageError("--start-sync and --start-time exclude each other");
    StillFormat sheetFormat;
    if (line.given("--contact-sheet") && !stillFormatFor(options.contactSheetPath, sheetFormat))
        return line.usageError("--contact-sheet " + options.contactSheetPath + ": " + kStillEndings);

    for (std::string* path : {&capture.mp4Path, &capture.pngDir, &capture.y4mPath, &capture.wavPath,
                              &options.contactSheetPath, &options.logPath})
        if (!path->empty()) *path = absolute(*path);
    options.progress = !quiet;
    options.summary = !quiet;
    if (quiet) {
        // The show's own lines on standard output: the picture library's and the image cache's.
        bgl_set_quiet(1);
        ImageCache::setQuiet(true);
    }
    watchStopSignals();
    enterProgramFolder();
    // A picture that cannot be read ends the capture at once, its "BGL error!" on standard error.
    setFatalErrorHandler(
        [](const char* title, const char* text) { ConsoleDialogs().showError(title, text); });
    return runCapture(options, showEffects());
}
