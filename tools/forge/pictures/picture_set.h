// Every picture of the show's data folder: its file name, its file format and its painter.
#pragma once

#include "forge/pictures/canvas.h"

#include <string>
#include <vector>

namespace forge {

enum class PictureFormat {
    JpegColour,
    JpegGrey, // one component: the show's reader gives an 8-bit grey picture
    Pcx8,     // one plane with a 256-colour palette; pure black stays palette entry 0
    Pcx24,    // three planes
};

struct PictureRecipe {
    const char* name;
    PictureFormat format;
    Canvas (*paint)();
};

const std::vector<PictureRecipe>& pictureRecipes();

// Paints and writes every picture into outDir. Returns an empty string or the first failure.
std::string writePictures(const std::string& outDir);

// Paints one picture and writes it in its format.
std::string writePicture(const PictureRecipe& recipe, const std::string& outDir);

} // namespace forge
