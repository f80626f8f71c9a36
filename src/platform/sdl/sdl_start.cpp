#include "platform/sdl/sdl_start.h"

#include <SDL.h>

#ifdef _WIN32
#include <windows.h>

#include <string>

#include "platform/windows/icon_resource.h"
#endif

namespace {

#ifdef _WIN32
// The class every window of the show belongs to. SDL adds its own device context per window
// (CS_OWNDC) for its OpenGL renderer; the icon, large and small, is the executable's IDI_MAIN.
constexpr const char* kWindowClassName = "HALCYONVECTRUM";
constexpr Uint32 kWindowClassStyle = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
#endif

} // namespace

void prepareSdl() {
    static bool prepared = false;
    if (prepared) return;
    prepared = true;
    SDL_SetMainReady();
#ifdef _WIN32
    const std::string icon = std::to_string(IDI_MAIN);
    SDL_SetHint(SDL_HINT_WINDOWS_INTRESOURCE_ICON, icon.c_str());
    SDL_SetHint(SDL_HINT_WINDOWS_INTRESOURCE_ICON_SMALL, icon.c_str());
    SDL_RegisterApp(kWindowClassName, kWindowClassStyle, GetModuleHandleW(nullptr));
#endif
}
