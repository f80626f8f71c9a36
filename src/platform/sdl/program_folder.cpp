#include "platform/sdl/program_folder.h"

#include <SDL.h>

#include <filesystem>
#include <system_error>

void enterProgramFolder() {
    if (char* base = SDL_GetBasePath()) {
        std::error_code ec;
        // SDL names it in UTF-8 on every system.
        std::filesystem::current_path(std::filesystem::u8path(base), ec);
        SDL_free(base);
    }
}
