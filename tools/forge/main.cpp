// halcyon-forge DIR: writes every file the show reads into DIR.
// halcyon-forge --contact-sheet FILE DIR: one picture showing every picture of DIR.
#include "capture/still_picture.h"
#include "core/command_line.h"
#include "forge/contact_sheet/contact_sheet.h"
#include "forge/font/font_file.h"
#include "forge/icon/icon_file.h"
#include "forge/music/soundtrack.h"
#include "forge/pictures/picture_set.h"
#include "forge/scenes/scene_files.h"
#include "forge/tunnel/tunnel_table.h"
#include "imagelib/bgl_image.h"

#include <filesystem>
#include <string>
#include <system_error>

namespace {

constexpr const char* kProgram = "halcyon-forge";

} // namespace

int main(int argc, char** argv) {
    std::string sheetPath, dir;
    CommandLine line(
        kProgram, "DIR",
        "Writes every file the show reads (pictures, font, tunnel table, music, scenes) into DIR.");
    line.text("--contact-sheet", "FILE",
              "write nothing; instead one picture of every picture in DIR (and the\n"
              "tunnel table applied to its texture), JPEG or PNG by the name's ending",
              sheetPath)
        .operand("DIR", dir);
    if (const int code = line.parse(argc, argv); code != CommandLine::kGoOn) return code;
    StillFormat format;
    if (line.given("--contact-sheet") && !stillFormatFor(sheetPath, format))
        return line.usageError("--contact-sheet " + sheetPath + ": " + kStillEndings);
    // The picture library's lines would only clutter the build's output.
    bgl_set_quiet(1);

    std::error_code ec;
    if (line.given("--contact-sheet")) {
        if (!std::filesystem::exists(dir, ec)) return line.failure(dir + ": No such file or directory");
        if (!std::filesystem::is_directory(dir, ec)) return line.failure(dir + ": Not a directory");
        if (const std::string problem = outputFileProblem(sheetPath); !problem.empty())
            return line.failure("cannot write " + sheetPath + ": " + problem);
        if (std::string error = forge::writeContactSheet(sheetPath, dir); !error.empty())
            return line.failure(error);
        return 0;
    }
    std::filesystem::create_directories(dir, ec);
    if (ec) return line.failure("cannot create " + dir + ": " + ec.message());

    for (auto write : {forge::writeFontFile, forge::writeTunnelTable, forge::writePictures,
                       forge::writeSoundtrack, forge::writeScenes, forge::writeIconFile})
        if (std::string error = write(dir); !error.empty()) return line.failure(error);
    return 0;
}
