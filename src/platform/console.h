#pragma once
// The display the show presents to: a back buffer of the console's size, shown in a window.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/format.h"

class Window;

class Console {
public:
    Console() = default;
    ~Console() { close(); }
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    // Known options: "fullscreen output", "windowed output", "DirectX", "disable key buffering".
    // Returns false for an unknown option (which changes nothing).
    bool option(const char* name);

    // Opens a width x height console in the window (full screen or windowed as the options said).
    // Throws Error when already open, for a bad size, or for a layout other than 0x00RRGGBB.
    void open(Window& window, int width, int height, const Format& format, int pages = 0);
    void close();
    bool isOpen() const { return window != nullptr; }

    // Copies a frame into the back buffer, converting the pitch (sizes must match the console's).
    void load(const std::uint32_t* pixels, int width, int height, int pitch);
    // Presents the back buffer.
    void update();

    int width() const { return consoleWidth; }
    int height() const { return consoleHeight; }
    bool fullscreen() const { return wantFullscreen; }
    const std::uint32_t* pixels() const { return buffer.data(); }

private:
    Window* window = nullptr;
    int consoleWidth = 0;
    int consoleHeight = 0;
    bool wantFullscreen = true;
    std::vector<std::uint32_t> buffer;
};
