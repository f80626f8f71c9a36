#include "platform/sdl/sdl_window.h"
#include "platform/sdl/sdl_start.h"

#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/screen.h"
#include "platform/error.h"
#include "platform/window_size.h"
#include "resources/program_icon.h"

namespace {

constexpr const char* kWindowTitle = "halcyonvectrum";
constexpr const char* kNoWindow = "could not create window";
constexpr const char* kNoDisplayHint =
    "No display was found. halcyonvectrum-capture plays the show without one, into files:\n"
    "  halcyonvectrum-capture --mp4 show.mp4";
// Decorations assumed until the window manager tells the real ones: a title bar and thin borders.
constexpr int kAssumedFrameWidth = 8;
constexpr int kAssumedFrameHeight = 40;
// In a window, the cursor hides after this long without mouse motion.
constexpr Uint64 kCursorIdleMilliseconds = 2000;

void setIcon(SDL_Window* window) {
    std::vector<std::uint32_t> icon = drawProgramIcon(kProgramIconSide);
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        icon.data(), kProgramIconSide, kProgramIconSide, 32, kProgramIconSide * 4, SDL_PIXELFORMAT_ARGB8888);
    if (!surface) return;
    SDL_SetWindowIcon(window, surface);
    SDL_FreeSurface(surface);
}

// The part of the first display that windows may use (without panels and docks).
SDL_Rect usableDesktop() {
    SDL_Rect area{0, 0, 0, 0};
    if (SDL_GetDisplayUsableBounds(0, &area) == 0 && area.w > 0 && area.h > 0) return area;
    if (SDL_GetDisplayBounds(0, &area) == 0 && area.w > 0 && area.h > 0) return area;
    return {0, 0, kWindowStepWidth, kWindowStepHeight};
}

// Gives a shown window the largest whole-step client area that fits the desktop with the
// decorations the window manager really drew, centred in the usable area.
void fitToDesktop(SDL_Window* window, const SDL_Rect& desktop) {
    int top = 0, left = 0, bottom = 0, right = 0;
    if (SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right) != 0) {
        left = right = kAssumedFrameWidth / 2;
        top = kAssumedFrameHeight - kAssumedFrameWidth / 2;
        bottom = kAssumedFrameWidth / 2;
    }
    const WindowSize size = windowSizeFor(desktop.w, desktop.h, left + right, top + bottom);
    SDL_SetWindowSize(window, size.width, size.height);
    const int x = desktop.x + (desktop.w - (size.width + left + right)) / 2 + left;
    const int y = desktop.y + (desktop.h - (size.height + top + bottom)) / 2 + top;
    SDL_SetWindowPosition(window, x > desktop.x + left ? x : desktop.x + left,
                          y > desktop.y + top ? y : desktop.y + top);
}

class SdlWindow : public Window {
public:
    SdlWindow(SDL_Window* w, Scaler s) : window(w), scaler(s), lastMotion(SDL_GetTicks64()) {}
    ~SdlWindow() override {
        destroyTextures();
        if (renderer) SDL_DestroyRenderer(renderer);
        SDL_DestroyWindow(window);
    }

    void attachConsole(int width, int height, bool fullscreen) override {
        if (fullscreen != isFullscreen()) setFullscreen(fullscreen);
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
        if (!renderer) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
        if (!renderer) throw Error(std::string("could not open the console: ") + SDL_GetError());
        SDL_RendererInfo info;
        if (SDL_GetRendererInfo(renderer, &info) == 0) {
            maxTextureSide = std::min(info.max_texture_width, info.max_texture_height);
            if (!(info.flags & SDL_RENDERER_TARGETTEXTURE) && scaler == Scaler::Sharp) noStage();
        }
        sourceWidth = width;
        sourceHeight = height;
        if (!createSource()) throw Error(std::string("could not open the console: ") + SDL_GetError());
        updateCursor();
    }

    void present(const std::uint32_t* pixels, int /*width*/, int /*height*/, int pitch) override {
        if (!renderer || !source) return;
        SDL_UpdateTexture(source, nullptr, pixels, pitch);
        int outputWidth = 0, outputHeight = 0;
        SDL_GetRendererOutputSize(renderer, &outputWidth, &outputHeight);
        const ScalePlan plan =
            planScale(scaler, outputWidth, outputHeight, sourceWidth, sourceHeight, maxTextureSide);
        const SDL_Rect target{plan.target.x, plan.target.y, plan.target.width, plan.target.height};
        const bool staged = plan.factor > 0 && prepareStage(plan);
        if (staged) {
            // The whole-factor, nearest-pixel stage: every source pixel becomes the same block.
            SDL_SetRenderTarget(renderer, stage);
            SDL_RenderCopy(renderer, source, nullptr, nullptr);
            SDL_SetRenderTarget(renderer, nullptr);
        }
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
        SDL_RenderCopy(renderer, staged ? stage : source, nullptr, &target);
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
                case SDL_KEYDOWN:
                    keyDown(event.key);
                    break;
                case SDL_MOUSEMOTION:
                    lastMotion = SDL_GetTicks64();
                    break;
                case SDL_RENDER_DEVICE_RESET:
                    // The renderer lost its textures: make them again.
                    destroyTextures();
                    createSource();
                    break;
                default:
                    break;
            }
        }
        updateCursor();
    }

private:
    void keyDown(const SDL_KeyboardEvent& key) {
        const SDL_Keycode sym = key.keysym.sym;
        const bool altEnter = (sym == SDLK_RETURN || sym == SDLK_KP_ENTER) && (key.keysym.mod & KMOD_ALT);
        if (altEnter || sym == SDLK_F11) {
            if (!key.repeat) setFullscreen(!isFullscreen());
            return;
        }
        postMessage({MessageKind::KeyDown, sym == SDLK_ESCAPE ? kKeyEscape : static_cast<int>(sym)});
    }

    bool isFullscreen() const { return (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0; }

    void setFullscreen(bool on) {
        SDL_SetWindowFullscreen(window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
        lastMotion = SDL_GetTicks64();
        updateCursor();
    }

    void updateCursor() {
        const bool visible = !isFullscreen() && SDL_GetTicks64() - lastMotion < kCursorIdleMilliseconds;
        if (visible == cursorShown) return;
        SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
        cursorShown = visible;
    }

    bool createSource() {
        source = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, sourceWidth,
                                   sourceHeight);
        if (!source) return false;
        SDL_SetTextureScaleMode(source,
                                scaler == Scaler::Smooth ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
        return true;
    }

    // The render target of the sharp scaler's first stage, at the plan's size; false when the
    // renderer cannot make one (then the picture goes straight to its place, nearest-pixel).
    bool prepareStage(const ScalePlan& plan) {
        if (stageUnavailable) return false;
        if (stage && stageWidth == plan.stageWidth && stageHeight == plan.stageHeight) return true;
        if (stage) SDL_DestroyTexture(stage);
        stage = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_TARGET, plan.stageWidth,
                                  plan.stageHeight);
        if (!stage) {
            noStage();
            return false;
        }
        SDL_SetTextureScaleMode(stage, SDL_ScaleModeLinear);
        stageWidth = plan.stageWidth;
        stageHeight = plan.stageHeight;
        return true;
    }

    void noStage() {
        if (!stageUnavailable)
            std::fprintf(
                stderr,
                "halcyonvectrum: the renderer cannot scale in two stages (%s); scaling nearest-pixel\n",
                SDL_GetError());
        stageUnavailable = true;
    }

    void destroyTextures() {
        if (stage) SDL_DestroyTexture(stage);
        if (source) SDL_DestroyTexture(source);
        stage = source = nullptr;
        stageWidth = stageHeight = 0;
    }

    SDL_Window* window;
    Scaler scaler;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* source = nullptr;
    SDL_Texture* stage = nullptr;
    int sourceWidth = kScreenWidth, sourceHeight = kScreenHeight;
    int stageWidth = 0, stageHeight = 0;
    int maxTextureSide = 0;
    bool stageUnavailable = false;
    Uint64 lastMotion;
    bool cursorShown = true;
};

} // namespace

bool initVideo(std::string& error) {
    if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
    prepareSdl();
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

std::unique_ptr<Window> createSdlWindow(bool windowed, Scaler scaler) {
    std::string reason;
    if (!initVideo(reason)) throw Error(std::string(kNoWindow) + "\n" + kNoDisplayHint);
    const SDL_Rect desktop = usableDesktop();
    // The size the window has in full screen's place too, so leaving full screen finds it.
    const WindowSize size = windowSizeFor(desktop.w, desktop.h, kAssumedFrameWidth, kAssumedFrameHeight);
    Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
    if (!windowed) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    SDL_Window* window = SDL_CreateWindow(kWindowTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                          size.width, size.height, flags);
    if (!window) throw Error(std::string(kNoWindow) + "\n" + SDL_GetError());
    setIcon(window);
    if (windowed) fitToDesktop(window, desktop);
    return std::make_unique<SdlWindow>(window, scaler);
}
