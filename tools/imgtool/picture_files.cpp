// Reading and writing picture files for imgtool.
#include "picture_files.h"

#include "imagelib/bgl.h"
#include "ppm_reader.h"

#include <algorithm>
#include <cctype>

namespace imgtool {

std::string lowerEnding(const std::string& path) {
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return "";
    std::string ending = path.substr(dot + 1);
    std::transform(ending.begin(), ending.end(), ending.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    return ending;
}

bglimage* loadPicture(const std::string& path) {
    const std::string ending = lowerEnding(path);
    if (ending == "jpg" || ending == "jpeg") return bgl_load_jpg(path.c_str());
    if (ending == "pcx") return bgl_load_pcx(path.c_str());
    if (ending == "gif") return bgl_load_gif(path.c_str());
    if (ending == "tga") return bgl_load_tga(path.c_str());
    if (ending == "ppm" || ending == "pnm") return loadPpm(path);
    bgl_push_error("No reader for this file ending (jpg, jpeg, pcx, gif, tga, ppm, pnm)");
    return nullptr;
}

bool writePpm(bglimage* image, std::FILE* out) {
    if (!bgl_convert_to_24bit(image)) return false;
    std::fprintf(out, "P6\n%d %d\n255\n", image->width, image->height);
    const size_t bytes = size_t(bgl_image_bytes(image));
    if (std::fwrite(image->image, 1, bytes, out) != bytes || std::fflush(out) != 0) {
        bgl_push_error("Could not write PPM");
        return false;
    }
    return true;
}

bool savePpm(bglimage* image, const std::string& path, std::FILE* stdoutFile) {
    if (path == "-") return writePpm(image, stdoutFile);
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) {
        bgl_push_error("Cannot open file for writing");
        return false;
    }
    const bool written = writePpm(image, out);
    if (std::fclose(out) != 0 && written) {
        bgl_push_error("Could not write PPM");
        return false;
    }
    return written;
}

bool savePicture(bglimage* image, const std::string& path, std::FILE* stdoutFile) {
    const std::string ending = lowerEnding(path);
    if (ending == "jpg" || ending == "jpeg") {
        // JPEG holds colour only: indexed and 16-bit pictures go through 24 bits.
        if (image->bits_per_pixel != 24 && image->bits_per_pixel != 32 && !bgl_convert_to_24bit(image))
            return false;
        return bgl_save_jpg(path.c_str(), image) == 1;
    }
    if (path == "-" || ending == "ppm" || ending == "pnm") return savePpm(image, path, stdoutFile);
    bgl_push_error("Unknown output type (use .jpg, .jpeg, .ppm, .pnm or -)");
    return false;
}

} // namespace imgtool
