// One picture (JPEG or PNG, by the name's ending) that shows every picture of a data folder in
// labelled cells, so the whole set can be judged at a glance. It reads the files back with the show's own
// readers and labels them with the show's own font.
#pragma once

#include <string>

namespace forge {

// Writes the sheet to sheetPath (its ending .jpg, .jpeg or .png) from the pictures, font and
// tunnel table in dataDir. Returns an empty string on success, otherwise the first failure.
std::string writeContactSheet(const std::string& sheetPath, const std::string& dataDir);

} // namespace forge
