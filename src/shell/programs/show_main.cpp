// halcyonvectrum: the show in a window, with sound. It reads data/ beside the executable.
#include <SDL.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/dialogs.h"
#include "platform/music_player.h"
#include "platform/sdl_window.h"
#include "resources/fatal_error.h"
#include "shell/effect_registry.h"
#include "shell/show.h"

int main(int, char**) {
    // "data/..." is looked up beside the executable, wherever the show was started from.
    if (char* base = SDL_GetBasePath()) {
        std::error_code ec;
        std::filesystem::current_path(base, ec);
        SDL_free(base);
    }
    // Without a display the boxes print on standard error and the window cannot open.
    std::string reason;
    initVideo(reason);

    // A picture that cannot be read ends the show at once, after its "BGL error!" box.
    setFatalErrorHandler([](const char* title, const char* text) { systemDialogs().showError(title, text); });

    std::unique_ptr<Music> music = createLiveMusic();
    ShowPlatform platform{systemDialogs(), *music, createSdlWindow};
    const int code = runShow(platform, showEffects());
    music.reset();
    SDL_Quit();
    return code;
}
