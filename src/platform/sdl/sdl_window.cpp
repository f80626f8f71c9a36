#include "platform/sdl/sdl_window.h"

#include <SDL.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/screen.h"
#include "platform/error.h"
#include "platform/view_fit.h"

namespace {

constexpr int kIconSize = 32;

// Our icon: a small tunnel of rings fading from gold at the rim to blue in the middle.
std::vector<std::uint32_t> drawIcon() {
    std::vector<std::uint32_t> pixels(kIconSize * kIconSize);
    const int centre = kIconSize / 2;
    for (int y = 0; y < kIconSize; ++y) {
        for (int x = 0; x < kIconSize; ++x) {
            int dx = x - centre, dy = y - centre;
            int d2 = dx * dx + dy * dy;
            std::uint32_t argb = 0;
            if (d2 < centre * centre) {
                int ring = (d2 / 24) & 1;
                int depth = 255 * d2 / (centre * centre);
                std::uint32_t r = ring ? depth : depth / 3;
                std::uint32_t g = ring ? depth * 3 / 4 : depth / 4;
                std::uint32_t b = ring ? 40 : 255 - depth / 2;
                argb = 0xff000000u | (r << 16) | (g << 8) | b;
            }
            pixels[y * kIconSize + x] = argb;
        }
    }
    return pixels;
}

class SdlWindow : public Window {
public:
    explicit SdlWindow(SDL_Window* w) : window(w) {}
    ~SdlWindow() override {
        if (texture) SDL_DestroyTexture(texture);
        if (renderer) SDL_DestroyRenderer(renderer);
        SDL_DestroyWindow(window);
    }

    void attachConsole(int width, int height, bool fullscreen) override {
        if (fullscreen) SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
        SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
        if (!renderer) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
        if (!renderer) throw Error(std::string("could not open the console: ") + SDL_GetError());
        texture =
            SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, width, height);
        if (!texture) throw Error(std::string("could not open the console: ") + SDL_GetError());
        if (fullscreen) SDL_ShowCursor(SDL_DISABLE);
    }

    void present(const std::uint32_t* pixels, int /*width*/, int /*height*/, int pitch) override {
        if (!renderer) return;
        SDL_UpdateTexture(texture, nullptr, pixels, pitch);
        int outputWidth = 0, outputHeight = 0;
        SDL_GetRendererOutputSize(renderer, &outputWidth, &outputHeight);
        const ViewRect view = fitDisplayAspect(outputWidth, outputHeight);
        const SDL_Rect target{view.x, view.y, view.width, view.height};
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
        SDL_RenderCopy(renderer, texture, nullptr, &target);
        SDL_RenderPresent(renderer);
    }

protected:
    void pumpEvents() override {
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            switch (event.type) {
                case SDL_QUIT:
                    postMessage({MessageKind::Close, 0});
                    break;
                case SDL_WINDOWEVENT:
                    if (event.window.event == SDL_WINDOWEVENT_CLOSE) postMessage({MessageKind::Close, 0});
                    break;
                case SDL_KEYDOWN: {
                    int key = event.key.keysym.sym == SDLK_ESCAPE ? kKeyEscape : event.key.keysym.sym;
                    postMessage({MessageKind::KeyDown, key});
                    break;
                }
                default:
                    break;
            }
        }
    }

private:
    SDL_Window* window;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
};

} // namespace

bool initVideo(std::string& error) {
    if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        error = SDL_GetError();
        return false;
    }
    // With no display SDL falls back to a driver that draws nowhere, and the show would play
    // unseen. Such a driver counts only when asked for by name (as the tests do).
    const char* driver = SDL_GetCurrentVideoDriver();
    const bool headless =
        driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
    if (headless && !SDL_getenv("SDL_VIDEODRIVER")) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
        error = "no display";
        return false;
    }
    return true;
}

std::unique_ptr<Window> createSdlWindow(bool windowed) {
    std::string reason;
    if (!initVideo(reason)) throw Error("could not create window");
    Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
    if (!windowed) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    SDL_Window* window = SDL_CreateWindow("halcyonvectrum", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                          kScreenWidth, kScreenHeight, flags);
    if (!window) throw Error("could not create window");
    std::vector<std::uint32_t> icon = drawIcon();
    SDL_Surface* iconSurface = SDL_CreateRGBSurfaceWithFormatFrom(icon.data(), kIconSize, kIconSize, 32,
                                                                  kIconSize * 4, SDL_PIXELFORMAT_ARGB8888);
    if (iconSurface) {
        SDL_SetWindowIcon(window, iconSurface);
        SDL_FreeSurface(iconSurface);
    }
    return std::make_unique<SdlWindow>(window);
}
