#pragma once
// An off-screen picture of 32-bit pixels that effects lock, draw into and unlock.
#include <cstdint>
#include <vector>

#include "platform/color.h"
#include "platform/format.h"

class Console;

class Surface {
public:
    // Throws Error for a size that is not positive or a pixel layout other than 0x00RRGGBB.
    Surface(int width, int height, const Format& format);

    // The pixel memory: height rows of width pixels, rows contiguous (pitch = width * 4 bytes).
    // Every lock is paired with one unlock; locking twice throws Error.
    void* lock();
    void unlock();

    // Fills every pixel with the colour.
    void clear(const Color& color);

    // Copies the whole surface into the console's back buffer (sizes must match).
    void copy(Console& console) const;

    int width() const { return widthPixels; }
    int height() const { return heightPixels; }
    int pitch() const { return widthPixels * static_cast<int>(sizeof(std::uint32_t)); }
    const Format& format() const { return pixelFormat; }
    bool locked() const { return isLocked; }

    // Read access without a lock, for presenting and for tests.
    const std::uint32_t* pixels() const { return memory.data(); }

private:
    int widthPixels;
    int heightPixels;
    Format pixelFormat;
    std::vector<std::uint32_t> memory;
    bool isLocked = false;
};
