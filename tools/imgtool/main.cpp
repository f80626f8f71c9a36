// imgtool: the picture library on the command line.
//   imgtool info FILE
//   imgtool topnm FILE OUT
//   imgtool convert IN OUT [--32bit|--24bit|--16bit|--gray|--8bit] [--scale WxH]
//                          [--blur|--blur-more|--tile|--invert|--flip-vertical|--flip-horizontal]
//                          [--quality N] [--verbose]
// Operations run in the order given. On failure the library's error trail is printed, oldest
// first, and the exit code is 1.
#include "picture_files.h"

#include "imagelib/bgl.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

struct ImageDeleter {
    void operator()(bglimage* image) const { bgl_free_image(image); }
};
using ImagePtr = std::unique_ptr<bglimage, ImageDeleter>;

int usage() {
    std::fprintf(stderr,
                 "usage: imgtool info FILE\n"
                 "       imgtool topnm FILE OUT        (OUT may be - for standard output)\n"
                 "       imgtool convert IN OUT [--32bit|--24bit|--16bit|--gray|--8bit] [--scale WxH]\n"
                 "                              [--blur|--blur-more|--tile|--invert|--flip-vertical|"
                 "--flip-horizontal]\n"
                 "                              [--quality N] [--verbose]\n");
    return kExitUsage;
}

int failed() {
    for (const char* message = bgl_first_error(); message; message = bgl_next_error()) {
        std::fprintf(stderr, "%s\n", message);
    }
    if (bgl_error_count() == 0) std::fprintf(stderr, "imgtool: failed\n");
    return kExitFailure;
}

// The library prints on standard output; imgtool keeps that stream for pictures, so the
// library's lines go to standard error. Returns the real standard output.
std::FILE* keepStandardOutputForPictures(bool verbose) {
    std::fflush(stdout);
    const int pictures = dup(STDOUT_FILENO);
    dup2(STDERR_FILENO, STDOUT_FILENO);
    if (!verbose) {
        // Its "verbose off" line is of no interest here.
        std::FILE* quiet = std::freopen("/dev/null", "w", stdout);
        bgl_verbose_off();
        std::fflush(stdout);
        if (quiet) dup2(STDERR_FILENO, STDOUT_FILENO);
    }
    return fdopen(pictures, "wb");
}

bool parseSize(const char* text, uint16_t& width, uint16_t& height) {
    unsigned w = 0, h = 0;
    char tail = 0;
    if (std::sscanf(text, "%ux%u%c", &w, &h, &tail) != 2 || w > 65535 || h > 65535) return false;
    width = uint16_t(w);
    height = uint16_t(h);
    return true;
}

int convert(int argc, char** argv, std::FILE* pictures) {
    using Operation = std::function<int(bglimage*)>;
    const std::map<std::string, Operation> operations = {
        {"--32bit", bgl_convert_to_32bit},
        {"--24bit", bgl_convert_to_24bit},
        {"--16bit", bgl_convert_to_16bit},
        {"--gray", bgl_convert_to_grayscale},
        {"--8bit", bgl_convert_to_8bit},
        {"--blur", bgl_blur},
        {"--blur-more", bgl_blur_more},
        {"--tile", bgl_tiler},
        {"--invert", bgl_invert_color},
        {"--flip-vertical", bgl_flip_vertical},
        {"--flip-horizontal", bgl_flip_horizontal},
    };
    std::vector<Operation> steps;
    for (int i = 4; i < argc; ++i) {
        const std::string option = argv[i];
        if (auto found = operations.find(option); found != operations.end()) {
            steps.push_back(found->second);
        } else if (option == "--scale" && i + 1 < argc) {
            uint16_t w, h;
            if (!parseSize(argv[++i], w, h)) return usage();
            steps.push_back([w, h](bglimage* image) { return bgl_scale_size(w, h, image); });
        } else if (option == "--quality" && i + 1 < argc) {
            char* end = nullptr;
            const long quality = std::strtol(argv[++i], &end, 10);
            if (*end != 0 || quality < 1 || quality > 100) return usage();
            bgl_set_jpeg_quality(int(quality));
        } else {
            std::fprintf(stderr, "imgtool: unknown option %s\n", option.c_str());
            return usage();
        }
    }
    ImagePtr image(imgtool::loadPicture(argv[2]));
    if (!image) return failed();
    for (const Operation& step : steps) {
        if (!step(image.get())) return failed();
    }
    return imgtool::savePicture(image.get(), argv[3], pictures) ? 0 : failed();
}

} // namespace

int main(int argc, char** argv) {
    // --verbose may stand anywhere; the rest are positional arguments and convert's options.
    std::vector<char*> args;
    bool verbose = false;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--verbose") == 0) {
            verbose = true;
        } else {
            args.push_back(argv[i]);
        }
    }
    const int count = int(args.size());
    if (count < 3) return usage();
    std::FILE* pictures = keepStandardOutputForPictures(verbose);
    if (!pictures) return failed();
    const std::string command = args[1];
    int result;
    if (command == "info" && count == 3) {
        ImagePtr image(imgtool::loadPicture(args[2]));
        if (!image) return failed();
        std::fprintf(pictures, "width %d\nheight %d\ndepth %d\npalette %d\n", image->width, image->height,
                     image->bits_per_pixel, image->palette_size);
        result = 0;
    } else if (command == "topnm" && count == 4) {
        ImagePtr image(imgtool::loadPicture(args[2]));
        result = image && imgtool::savePpm(image.get(), args[3], pictures) ? 0 : failed();
    } else if (command == "convert" && count >= 4) {
        result = convert(count, args.data(), pictures);
    } else {
        return usage();
    }
    std::fclose(pictures);
    return result;
}
