#include "forge/pictures/picture_set.h"

#include "forge/pictures/picture_makers.h"
#include "forge/pictures/space_painter.h"

#include <cstdio>

namespace forge {

const std::vector<PictureSpec>& pictureSpecs() {
    static const std::vector<PictureSpec> specs = {
        {"320girl2.jpg", PictureFormat::JpegColour, makeTitlePicture},
        {"corpse2.jpg", PictureFormat::JpegColour, makeClosingPicture},
        {"galak2.jpg", PictureFormat::JpegColour, makeMetaballBackdrop},
    };
    return specs;
}

std::string writePicture(const PictureSpec& spec, const std::string& outDir) {
    const Canvas canvas = spec.paint();
    const std::vector<uint8_t> rgb = toRgbBytes(canvas);
    const std::string path = outDir + "/" + spec.name + ".ppm";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return "cannot write " + path;
    std::fprintf(f, "P6 %d %d 255\n", canvas.width, canvas.height);
    std::fwrite(rgb.data(), 1, rgb.size(), f);
    std::fclose(f);
    return {};
}

std::string writePictures(const std::string& outDir) {
    for (const PictureSpec& spec : pictureSpecs())
        if (std::string error = writePicture(spec, outDir); !error.empty()) return error;
    return {};
}

} // namespace forge
