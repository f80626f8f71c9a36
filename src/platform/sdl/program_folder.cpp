#include "platform/sdl/program_folder.h"

#include <SDL.h>

#include <filesystem>
#include <system_error>

void enterProgramFolder() {
    if (char* base = SDL_GetBasePath()) {
        std::error_code ec;
        std::filesystem::current_path(base, ec);
        SDL_free(base);
    }
}
