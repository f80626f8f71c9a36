#include "capture/still_picture.h"

#include <algorithm>
#include <cctype>
#include <limits>

#include "capture/png_writer.h"
#include "imagelib/bgl_image.h"
#include "imagelib/bgl_jpeg.h"

bool stillFormatFor(const std::string& path, StillFormat& format) {
    const std::size_t dot = path.find_last_of("./");
    if (dot == std::string::npos || path[dot] != '.') return false;
    std::string ending = path.substr(dot + 1);
    std::transform(ending.begin(), ending.end(), ending.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    if (ending == "jpg" || ending == "jpeg")
        format = StillFormat::Jpeg;
    else if (ending == "png")
        format = StillFormat::Png;
    else
        return false;
    return true;
}

bool writeStill(const std::string& path, StillFormat format, const std::uint8_t* rgb, int width, int height,
                int jpegQuality, std::string& error) {
    if (format == StillFormat::Png) return writePngRgb(path, rgb, width, height, error);
    // The picture library's JPEG writer holds sides of up to 65,535 pixels.
    constexpr int kMaxSide = std::numeric_limits<std::uint16_t>::max();
    if (width > kMaxSide || height > kMaxSide) {
        error = "too large for a JPEG (" + std::to_string(width) + "x" + std::to_string(height) + ")";
        return false;
    }
    bglimage* image =
        bgl_create_image(static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height), 24, 0);
    if (!image) {
        error = bgl_last_error() ? bgl_last_error() : "out of memory";
        return false;
    }
    std::copy(rgb, rgb + static_cast<std::size_t>(width) * height * 3, image->image);
    bgl_set_jpeg_quality(jpegQuality);
    const int saved = bgl_save_jpg(path.c_str(), image);
    bgl_free_image(image);
    if (!saved) {
        error = bgl_last_error() ? bgl_last_error() : "could not write";
        return false;
    }
    return true;
}
