// imgtool: the picture library on the command line.
//   imgtool info FILE
//   imgtool topnm FILE OUT
//   imgtool convert IN OUT [conversions in order] [--quality N]
// On failure every message of the library's error trail is printed, oldest first, after the
// program's and the file's names, and the exit code is 1.
#include "picture_files.h"

#include "core/command_line.h"
#include "imagelib/bgl.h"

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

constexpr const char* kProgram = "imgtool";
constexpr int kMinQuality = 1, kMaxQuality = 100;
constexpr unsigned kMaxSide = 65535; // the picture record's limit

struct ImageDeleter {
    void operator()(bglimage* image) const { bgl_free_image(image); }
};
using ImagePtr = std::unique_ptr<bglimage, ImageDeleter>;
using Operation = std::function<int(bglimage*)>;

// clang-format off
constexpr const char* kCommands =
    "Commands:\n"
    "  info FILE       width, height, depth and palette size\n"
    "  topnm FILE OUT  the picture as 8-bit RGB PPM (OUT may be - for standard output)\n"
    "  convert IN OUT  IN put through the conversions given, in their order, written by\n"
    "                  OUT's ending: JPEG (.jpg, .jpeg) or PPM (.ppm, .pnm, or - for\n"
    "                  standard output)\n"
    "\n"
    "FILE and IN are read by their ending: JPEG, PCX, GIF and TGA by the picture library,\n"
    "binary PPM (P6, 8-bit) by imgtool itself. The flips keep the library's names, which name\n"
    "the mirror's axis: --flip-vertical mirrors left and right, --flip-horizontal turns the\n"
    "picture upside down.";
// clang-format on

// The library's error trail, oldest first, each message after the program's and the file's
// names (the library's own messages name no file).
int failed(const std::string& file) {
    for (const char* message = bgl_first_error(); message; message = bgl_next_error())
        std::fprintf(stderr, "%s: %s: %s\n", kProgram, file.c_str(), message);
    if (bgl_error_count() == 0) std::fprintf(stderr, "%s: %s: failed\n", kProgram, file.c_str());
    return 1;
}

// The library prints its progress lines on standard output, which imgtool keeps for pictures:
// with --verbose they go to standard error, otherwise the library keeps quiet. Returns the
// stream for pictures.
std::FILE* pictureOutput(bool verbose) {
    if (!verbose) {
        bgl_set_quiet(1);
#ifdef _WIN32
        _setmode(_fileno(stdout), _O_BINARY); // pictures are bytes: no "\r" before each "\n" byte
#endif
        return stdout;
    }
    std::fflush(stdout);
    const int pictures = dup(STDOUT_FILENO);
    dup2(STDERR_FILENO, STDOUT_FILENO);
    if (pictures < 0) return nullptr;
#ifdef _WIN32
    // Pictures are bytes: no "\r" before each "\n" byte.
    _setmode(pictures, _O_BINARY);
#endif
    return fdopen(pictures, "wb");
}

bool parseSize(const std::string& text, std::uint16_t& width, std::uint16_t& height) {
    unsigned w = 0, h = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%ux%u%c", &w, &h, &tail) != 2 || w < 1 || h < 1 || w > kMaxSide ||
        h > kMaxSide)
        return false;
    width = std::uint16_t(w);
    height = std::uint16_t(h);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    std::string command, input, output;
    std::vector<Operation> steps;
    bool verbose = false;
    int quality = 0;
    CommandLine line(kProgram, "COMMAND FILE [OUT]",
                     "The picture library on the command line: facts, PPM output and conversions.");
    const auto step = [&line, &steps](const char* name, const char* help, Operation op) {
        line.action(name, help, [&steps, op] { steps.push_back(op); });
    };
    step("--32bit", "convert: to 32 bits a pixel", bgl_convert_to_32bit);
    step("--24bit", "convert: to 24 bits a pixel", bgl_convert_to_24bit);
    step("--16bit", "convert: to 16 bits a pixel (5:6:5)", bgl_convert_to_16bit);
    step("--gray", "convert: to greyscale", bgl_convert_to_grayscale);
    step("--8bit", "convert: to 8 bits a pixel with a palette", bgl_convert_to_8bit);
    step("--blur", "convert: soften", bgl_blur);
    step("--blur-more", "convert: soften more", bgl_blur_more);
    step("--tile", "convert: make the picture wrap seamlessly", bgl_tiler);
    step("--invert", "convert: invert the colours", bgl_invert_color);
    step("--flip-vertical", "convert: mirror left and right (about the vertical axis)", bgl_flip_vertical);
    step("--flip-horizontal", "convert: turn upside down (about the horizontal axis)", bgl_flip_horizontal);
    line.custom("--scale", "WxH", "convert: scale to W x H pixels, nearest pixel",
                [&steps](const std::string& value, std::string& why) {
                    why = "must be WIDTHxHEIGHT, each 1 to 65535";
                    std::uint16_t w, h;
                    if (!parseSize(value, w, h)) return false;
                    steps.push_back([w, h](bglimage* image) { return bgl_scale_size(w, h, image); });
                    return true;
                })
        .integer("--quality", "N", "convert: the JPEG quality", kMinQuality, kMaxQuality, quality)
        .flag("--verbose", "the picture library's progress lines, on standard error", verbose)
        .operand("COMMAND", command)
        .operand("FILE", input)
        .operand("OUT", output, false)
        .epilog(kCommands);
    if (const int code = line.parse(argc, argv); code != CommandLine::kGoOn) return code;

    const bool converting = command == "convert";
    if (command != "info" && command != "topnm" && !converting)
        return line.usageError("unknown command '" + command + "' (info, topnm or convert)");
    if (command == "info" && !output.empty()) return line.usageError("info takes one FILE");
    if (command != "info" && output.empty()) return line.usageError("missing OUT");
    if (!converting && (!steps.empty() || line.given("--quality")))
        return line.usageError("the conversions and --quality belong to convert");
    const std::string ending = imgtool::lowerEnding(output);
    if (converting && output != "-" && ending != "jpg" && ending != "jpeg" && ending != "ppm" &&
        ending != "pnm")
        return line.usageError("OUT " + output + ": must end in .jpg, .jpeg, .ppm or .pnm, or be -");

    // The files are looked at before the library is: it would say "File not found" for a folder
    // that it cannot read, or try to read one.
    if (const std::string problem = inputFileProblem(input); !problem.empty())
        return line.failure(input + ": " + problem);
    if (!output.empty() && output != "-")
        if (const std::string problem = outputFileProblem(output); !problem.empty())
            return line.failure("cannot write " + output + ": " + problem);
    if (line.given("--quality")) bgl_set_jpeg_quality(quality);

    std::FILE* pictures = pictureOutput(verbose);
    if (!pictures) return line.failure("cannot keep standard output for pictures");
    ImagePtr image(imgtool::loadPicture(input));
    if (!image) return failed(input);
    int result = 0;
    if (command == "info") {
        std::fprintf(pictures, "width %d\nheight %d\ndepth %d\npalette %d\n", image->width, image->height,
                     image->bits_per_pixel, image->palette_size);
    } else if (command == "topnm") {
        if (!imgtool::savePpm(image.get(), output, pictures)) result = failed(output);
    } else {
        for (const Operation& op : steps)
            if (!op(image.get())) return failed(input);
        if (!imgtool::savePicture(image.get(), output, pictures)) result = failed(output);
    }
    if (std::fflush(pictures) != 0 && result == 0) result = line.failure("could not write standard output");
    return result;
}
