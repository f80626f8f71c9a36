// halcyonvectrum: the show in a window, with sound. It reads data/ beside the executable.
#include <SDL.h>

#include "platform/live_music.h"
#include "platform/sdl/program_folder.h"
#include "platform/sdl/sdl_audio_output.h"
#include "platform/sdl/sdl_clock.h"
#include "platform/sdl/sdl_dialogs.h"
#include "platform/sdl/sdl_window.h"
#include "resources/fatal_error.h"
#include "shell/effect_registry.h"
#include "shell/show.h"

int main(int, char**) {
    enterProgramFolder();
    // Without a display the boxes print on standard error and the window cannot open.
    std::string reason;
    initVideo(reason);

    // A picture that cannot be read ends the show at once, after its "BGL error!" box.
    setFatalErrorHandler([](const char* title, const char* text) { systemDialogs().showError(title, text); });

    std::unique_ptr<Music> music = createLiveMusic(createSdlAudioOutput(), sdlClock());
    ShowPlatform platform{systemDialogs(), *music, [](bool windowed) { return createSdlWindow(windowed); }};
    const int code = runShow(platform, showEffects());
    music.reset();
    SDL_Quit();
    return code;
}
