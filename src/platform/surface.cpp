#include "platform/surface.h"

#include <algorithm>

#include "platform/console.h"
#include "platform/error.h"

namespace {
// Far beyond any screen; keeps width * height * 4 well inside an int.
constexpr int kMaxSurfaceSide = 8192;
} // namespace

Surface::Surface(int width, int height, const Format& format)
    : widthPixels(width), heightPixels(height), pixelFormat(format) {
    if (width <= 0 || height <= 0 || width > kMaxSurfaceSide || height > kMaxSurfaceSide)
        throw Error("invalid surface size");
    if (!format.isScreenFormat()) throw Error("unsupported surface format");
    memory.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
}

void* Surface::lock() {
    if (isLocked) throw Error("surface is already locked");
    isLocked = true;
    return memory.data();
}

void Surface::unlock() {
    if (!isLocked) throw Error("surface is not locked");
    isLocked = false;
}

void Surface::clear(const Color& color) {
    std::fill(memory.begin(), memory.end(), color.pixel());
}

void Surface::copy(Console& console) const {
    if (isLocked) throw Error("cannot copy a locked surface");
    console.load(memory.data(), widthPixels, heightPixels, pitch());
}
