#include "platform/console.h"

#include <cstring>

#include "platform/error.h"
#include "platform/window.h"

bool Console::option(const char* name) {
    if (std::strcmp(name, "fullscreen output") == 0) {
        wantFullscreen = true;
        return true;
    }
    if (std::strcmp(name, "windowed output") == 0) {
        wantFullscreen = false;
        return true;
    }
    // Accepted for compatibility with the show's start-up; our display needs neither.
    return std::strcmp(name, "DirectX") == 0 || std::strcmp(name, "disable key buffering") == 0;
}

void Console::open(Window& target, int width, int height, const Format& format, int /*pages*/) {
    if (window) throw Error("console is already open");
    if (width <= 0 || height <= 0 || width > 8192 || height > 8192) throw Error("invalid console size");
    if (!format.isScreenFormat()) throw Error("unsupported console format");
    target.attachConsole(width, height, wantFullscreen);
    consoleWidth = width;
    consoleHeight = height;
    buffer.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    window = &target;
}

void Console::close() {
    window = nullptr;
    buffer.clear();
    consoleWidth = consoleHeight = 0;
}

void Console::load(const std::uint32_t* pixels, int width, int height, int pitch) {
    if (!window) throw Error("console is not open");
    if (width != consoleWidth || height != consoleHeight) throw Error("surface does not match the console");
    const auto* row = reinterpret_cast<const unsigned char*>(pixels);
    for (int y = 0; y < height; ++y, row += pitch)
        std::memcpy(&buffer[static_cast<std::size_t>(y) * width], row, sizeof(std::uint32_t) * width);
}

void Console::update() {
    if (!window) throw Error("console is not open");
    window->present(buffer.data(), consoleWidth, consoleHeight, consoleWidth * 4);
}
