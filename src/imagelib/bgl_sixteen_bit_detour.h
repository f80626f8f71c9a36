// Filters that cannot work on 5:6:5 pixels take 16-bit pictures through 24 bits and back.
#pragma once

#include "imagelib/bgl_convert.h"
#include "imagelib/bgl_image.h"

struct BglDetourMessages {
    const char* warnings[3]; // verbose lines before converting
    const char* toError;     // pushed when the conversion to 24 bits fails
    const char* backError;   // pushed when the conversion back to 16 bits fails
};

// Converts a 16-bit picture to 24 bits; `converted` tells whether it did. 0 on failure.
inline int bgl_detour_enter(bglimage* image, const BglDetourMessages& messages, bool& converted) {
    converted = false;
    if (image->bits_per_pixel != 16) return 1;
    for (const char* line : messages.warnings) bgl_verbose("%s", line);
    if (!bgl_convert_to_24bit(image)) {
        bgl_push_error(messages.toError);
        return 0;
    }
    converted = true;
    return 1;
}

inline int bgl_detour_leave(bglimage* image, const BglDetourMessages& messages, bool converted) {
    if (converted && !bgl_convert_to_16bit(image)) {
        bgl_push_error(messages.backError);
        return 0;
    }
    return 1;
}
