#include "forge/pictures/picture_set.h"

#include "forge/pictures/picture_makers.h"
#include "forge/pictures/space_painter.h"

#include "forge/common/write_file.h"
#include "forge/pcx/pcx_encoder.h"
#include "forge/pictures/grey_jpeg_writer.h"
#include "forge/pictures/palette_quantizer.h"
#include "imagelib/bgl_image.h"
#include "imagelib/bgl_jpeg.h"

#include <algorithm>

namespace forge {

namespace {

// High enough that gradients and faint gas keep their smoothness.
constexpr int kJpegQuality = 92;

} // namespace

const std::vector<PictureRecipe>& pictureRecipes() {
    static const std::vector<PictureRecipe> recipes = {
        {"320girl2.jpg", PictureFormat::JpegColour, makeTitlePicture},
        {"corpse2.jpg", PictureFormat::JpegColour, makeClosingPicture},
        {"corpse.pcx", PictureFormat::Pcx8, makeFigure},
        {"zoom01t.jpg", PictureFormat::JpegColour, makeZoomGalaxy},
        {"zoom2t.jpg", PictureFormat::JpegGrey, makeZoomHalo},
        {"zoom3x.jpg", PictureFormat::JpegColour, makeZoomStarburst},
        {"hubsu2.jpg", PictureFormat::JpegColour, makeDeepField},
        {"galak2k.jpg", PictureFormat::JpegColour, makeTiltedGalaxy},
        {"pleisu2.jpg", PictureFormat::JpegColour, makeStarCluster},
        {"spirsu2.jpg", PictureFormat::JpegColour, makeSpiralGalaxy},
        {"galakse.jpg", PictureFormat::JpegColour, makeNebulaTexture},
        {"galak2.jpg", PictureFormat::JpegColour, makeMetaballBackdrop},
        {"test3.pcx", PictureFormat::Pcx24, makeMoonColumn},
        {"schap4.jpg", PictureFormat::JpegColour, makeStarStreakTexture},
        {"bonnmcga.jpg", PictureFormat::JpegColour, makePanelTexture},
        {"goldmap.jpg", PictureFormat::JpegColour, makeGoldStudio},
        {"pleisu2m.jpg", PictureFormat::JpegColour, makeCorridorTexture},
        {"sprayb3.pcx", PictureFormat::Pcx24, makeSprayLayer},
        {"orion2.jpg", PictureFormat::JpegColour, makeEmissionNebula},
        {"orion5.jpg", PictureFormat::JpegColour, makeReflectionNebula},
        {"flare.jpg", PictureFormat::JpegColour, makeFlare},
        {"orion.jpg", PictureFormat::JpegColour, makeTunnelTexture},
        {"zklogo.pcx", PictureFormat::Pcx8, makeMakerLogo},
    };
    return recipes;
}

std::string writePicture(const PictureRecipe& recipe, const std::string& outDir) {
    const Canvas canvas = recipe.paint();
    if (canvas.width <= 0 || canvas.height <= 0) return std::string("cannot paint ") + recipe.name;
    const std::string path = outDir + "/" + recipe.name;
    const std::vector<uint8_t> rgb = toRgbBytes(canvas);
    switch (recipe.format) {
        case PictureFormat::JpegColour: {
            bglimage* image = bgl_create_image(uint16_t(canvas.width), uint16_t(canvas.height), 24, 0);
            if (!image) return path + ": " + bgl_last_error();
            std::copy(rgb.begin(), rgb.end(), image->image);
            bgl_set_jpeg_quality(kJpegQuality);
            const int saved = bgl_save_jpg(path.c_str(), image);
            bgl_free_image(image);
            if (!saved) return path + ": " + bgl_last_error();
            return {};
        }
        case PictureFormat::JpegGrey: {
            std::vector<uint8_t> levels(rgb.size() / 3), file;
            for (size_t i = 0; i < levels.size(); ++i)
                levels[i] =
                    uint8_t((rgb[3 * i] * 299 + rgb[3 * i + 1] * 587 + rgb[3 * i + 2] * 114 + 500) / 1000);
            if (std::string error = encodeGreyJpeg(canvas.width, canvas.height, levels, kJpegQuality, &file);
                !error.empty())
                return path + ": " + error;
            return writeFile(path, file);
        }
        case PictureFormat::Pcx8: {
            const IndexedPicture indexed = quantize(rgb);
            return writeFile(path, encodePcx8(canvas.width, canvas.height, indexed.indices.data(),
                                              indexed.palette.data()));
        }
        case PictureFormat::Pcx24:
            return writeFile(path, encodePcx24(canvas.width, canvas.height, rgb.data()));
    }
    return path + ": unknown picture format";
}

std::string writePictures(const std::string& outDir) {
    for (const PictureRecipe& recipe : pictureRecipes())
        if (std::string error = writePicture(recipe, outDir); !error.empty()) return error;
    return {};
}

} // namespace forge
