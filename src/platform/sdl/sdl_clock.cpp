#include "platform/sdl/sdl_clock.h"

#include <SDL.h>

namespace {

class SdlClock : public TickClock {
public:
    std::uint64_t now() override { return SDL_GetPerformanceCounter(); }
    std::uint64_t ticksPerSecond() const override { return SDL_GetPerformanceFrequency(); }
    void sleep(int milliseconds) override {
        SDL_Delay(milliseconds > 0 ? static_cast<Uint32>(milliseconds) : 0);
    }
};

} // namespace

TickClock& sdlClock() {
    static SdlClock clock;
    return clock;
}
