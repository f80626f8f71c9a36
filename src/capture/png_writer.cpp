#include "capture/png_writer.h"

#include <png.h>

#include <cstring>
#include <vector>

bool writePng(const std::string& path, const std::uint32_t* pixels, int width, int height, int pitch,
              std::string& error) {
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
    const auto* row = reinterpret_cast<const unsigned char*>(pixels);
    std::uint8_t* out = rgb.data();
    for (int y = 0; y < height; ++y, row += pitch) {
        const auto* px = reinterpret_cast<const std::uint32_t*>(row);
        for (int x = 0; x < width; ++x) {
            *out++ = static_cast<std::uint8_t>(px[x] >> 16);
            *out++ = static_cast<std::uint8_t>(px[x] >> 8);
            *out++ = static_cast<std::uint8_t>(px[x]);
        }
    }
    return writePngRgb(path, rgb.data(), width, height, error);
}

bool writePngRgb(const std::string& path, const std::uint8_t* rgb, int width, int height,
                 std::string& error) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    if (!png_image_write_to_file(&image, path.c_str(), 0, rgb, width * 3, nullptr)) {
        error = image.message;
        png_image_free(&image);
        return false;
    }
    return true;
}
