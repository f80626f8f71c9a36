// halcyon-forge OUTDIR: writes every file the show reads into OUTDIR.
// halcyon-forge --contact-sheet FILE.jpg OUTDIR: one picture showing every picture of OUTDIR.
#include "forge/contact_sheet/contact_sheet.h"
#include "forge/font/font_file.h"
#include "forge/music/soundtrack.h"
#include "forge/pictures/picture_set.h"
#include "forge/scenes/scene_files.h"
#include "forge/tunnel/tunnel_table.h"
#include "imagelib/bgl_image.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

int usage() {
    std::fprintf(stderr, "usage: halcyon-forge OUTDIR\n"
                         "       halcyon-forge --contact-sheet FILE.jpg OUTDIR\n");
    return 2;
}

int fail(const std::string& message) {
    std::fprintf(stderr, "halcyon-forge: %s\n", message.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    // Progress lines of the picture library would only clutter the build's output.
    bgl_verbose_off();
    if (argc == 4 && std::strcmp(argv[1], "--contact-sheet") == 0) {
        if (std::string error = forge::writeContactSheet(argv[2], argv[3]); !error.empty())
            return fail(error);
        return 0;
    }
    if (argc != 2 || argv[1][0] == '-') return usage();
    const std::string outDir = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(outDir, ec);
    if (ec) return fail("cannot create " + outDir + ": " + ec.message());

    if (std::string error = forge::writeFontFile(outDir); !error.empty()) return fail(error);
    if (std::string error = forge::writeTunnelTable(outDir); !error.empty()) return fail(error);
    if (std::string error = forge::writePictures(outDir); !error.empty()) return fail(error);
    if (std::string error = forge::writeSoundtrack(outDir); !error.empty()) return fail(error);
    if (std::string error = forge::writeScenes(outDir); !error.empty()) return fail(error);
    return 0;
}
