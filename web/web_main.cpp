// halcyonvectrum in a web page: the show in the page's canvas with its sound, paced by the
// browser's animation frames; or, with --capture, the page's capture mode. The page asks the
// start-up question itself and passes the answer (--window or --fullscreen) with the options of
// its address. The content is the data package the page loads before the program starts.
#include <SDL.h>

#include <cstdlib>
#include <cstring>

#include "capture/frame_log.h"
#include "core/command_line.h"
#include "effects/show_state.h"
#include "page_capture.h"
#include "platform/sdl/sdl_audio_output.h"
#include "platform/web/web_clock.h"
#include "platform/web/web_dialogs.h"
#include "platform/web/web_page.h"
#include "platform/web/web_window.h"
#include "resources/fatal_error.h"
#include "shell/effect_registry.h"
#include "shell/live_show.h"
#include "shell/show_options.h"

namespace {

// Tells the page of every frame shown: its number, its checksum and the effect on screen.
FrameListener reportFrames() {
    return [frame = 0L](const std::uint32_t* pixels, int width, int height, int pitch) mutable {
        const char* effect = effectName(showEffects(), currentEffect);
        pageFrameShown(frame++, frameChecksum(pixels, width, height, pitch), effect ? effect : "");
    };
}

// The show or the capture; returns the exit code.
int runPage(int argc, char** argv) {
    // A picture that cannot be read ends the show at once, after its "BGL error!" message.
    setFatalErrorHandler([](const char* title, const char* text) { pageDialogs().showError(title, text); });
    if (argc > 1 && std::strcmp(argv[1], "--capture") == 0) return runPageCapture(argc, argv);

    ShowOptions options;
    int code = parseShowOptions(argc, argv, options);
    if (code != CommandLine::kGoOn) return code;
    double startSeconds = 0.0;
    code = findStartSeconds(options, kShowModulePath, startSeconds);
    if (code != CommandLine::kGoOn) return code;

    const Scaler scaler = options.scaler;
    code = runLiveShow(options, startSeconds, pageDialogs(), pageClock(), createSdlAudioOutput,
                       [scaler](bool) { return createWebWindow(scaler, reportFrames()); });
    SDL_Quit();
    return code;
}

} // namespace

int main(int argc, char** argv) {
    // A main() that was suspended at an animation frame returns into the browser's event loop,
    // where its code would be lost: exit() hands it to the page (Module.onExit) in every case.
    std::exit(runPage(argc, argv));
}
