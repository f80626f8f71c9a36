// halcyonvectrum: the show in a window, with sound. It reads data/ beside the executable.
#include <SDL.h>

#include "core/command_line.h"
#include "platform/sdl/program_folder.h"
#include "platform/sdl/sdl_audio_output.h"
#include "platform/sdl/sdl_clock.h"
#include "platform/sdl/sdl_dialogs.h"
#include "platform/sdl/sdl_window.h"
#include "platform/standard_streams.h"
#include "resources/fatal_error.h"
#include "shell/live_show.h"
#include "shell/show_options.h"

int main(int argc, char** argv) {
    connectStandardStreams();
    ShowOptions options;
    int code = parseShowOptions(argc, argv, options);
    if (code != CommandLine::kGoOn) return code;

    enterProgramFolder();
    double startSeconds = 0.0;
    code = findStartSeconds(options, kShowModulePath, startSeconds);
    if (code != CommandLine::kGoOn) return code;

    // Without a display the boxes print on standard error and the window cannot open.
    std::string reason;
    initVideo(reason);

    // A picture that cannot be read ends the show at once, after its "BGL error!" box.
    setFatalErrorHandler([](const char* title, const char* text) { systemDialogs().showError(title, text); });

    const Scaler scaler = options.scaler;
    code = runLiveShow(options, startSeconds, systemDialogs(), sdlClock(), createSdlAudioOutput,
                       [scaler](bool windowed) { return createSdlWindow(windowed, scaler); });
    SDL_Quit();
    return code;
}
