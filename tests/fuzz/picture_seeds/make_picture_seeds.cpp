// make-picture-seeds DIR: writes a small seed corpus for each picture-reader fuzz target into
// DIR/seeds/<reader> and empties DIR/work/<reader>, where the fuzz runs put what they find.
#include "core/command_line.h"
#include "forge/common/write_file.h"
#include "forge/pcx/pcx_encoder.h"
#include "imagelib/bgl_image.h"
#include "imagelib/bgl_jpeg.h"
#include "imagelib/gif_test_writer.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include <jpeglib.h>

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> pattern(size_t bytes, int step) {
    std::vector<uint8_t> out(bytes);
    for (size_t i = 0; i < bytes; ++i) out[i] = uint8_t((i * step / 7) & 0xFF);
    return out;
}

bool put(const fs::path& path, const std::vector<uint8_t>& bytes) {
    const std::string error = forge::writeFile(path.string(), bytes);
    if (!error.empty()) std::fprintf(stderr, "make-picture-seeds: %s\n", error.c_str());
    return error.empty();
}

// JPEG with libjpeg directly: greyscale and progressive variants the library's writer does not make.
bool writeJpeg(const fs::path& path, int width, int height, int components, bool progressive) {
    std::FILE* file = std::fopen(path.string().c_str(), "wb");
    if (!file) return false;
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = components;
    info.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    if (progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    const std::vector<uint8_t> pixels = pattern(size_t(width) * height * components, 5);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<uint8_t*>(&pixels[size_t(info.next_scanline) * width * components]);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(file) == 0;
}

bool jpegSeeds(const fs::path& dir) {
    bglimage* image = bgl_create_image(19, 11, 24, 0);
    const std::vector<uint8_t> rgb = pattern(19 * 11 * 3, 3);
    std::copy(rgb.begin(), rgb.end(), image->image);
    const bool saved = bgl_save_jpg((dir / "colour.jpg").string().c_str(), image) == 1;
    bgl_free_image(image);
    return saved && writeJpeg(dir / "gray.jpg", 9, 7, 1, false) &&
           writeJpeg(dir / "progressive.jpg", 12, 10, 3, true);
}

bool pcxSeeds(const fs::path& dir) {
    const std::vector<uint8_t> indices = pattern(13 * 7, 9), palette = pattern(768, 1),
                               rgb = pattern(5 * 3 * 3, 11);
    std::vector<uint8_t> noMarker = forge::encodePcx8(6, 4, indices.data(), palette.data());
    noMarker.resize(noMarker.size() - 769);
    return put(dir / "eight.pcx", forge::encodePcx8(13, 7, indices.data(), palette.data())) &&
           put(dir / "rgb.pcx", forge::encodePcx24(5, 3, rgb.data())) && put(dir / "nopalette.pcx", noMarker);
}

bool gifSeeds(const fs::path& dir) {
    namespace gw = gifwriter;
    const std::vector<uint8_t> px = pattern(12 * 9, 13);
    std::vector<uint8_t> plain = gw::header("GIF87a", 12, 9, 7);
    gw::image(plain, 12, 9, 0, px, 8);
    plain.push_back(0x3B);
    std::vector<uint8_t> animated = gw::header("GIF89a", 12, 9, 1);
    animated.insert(animated.end(), {0x21, 0xF9, 4, 0, 5, 0, 0, 0});
    std::vector<uint8_t> small(px);
    for (uint8_t& p : small) p &= 3;
    gw::image(animated, 12, 9, 0x40, small, 2);
    gw::image(animated, 3, 2, 0, {1, 2, 3, 0, 1, 2}, 2);
    animated.push_back(0x3B);
    return put(dir / "plain.gif", plain) && put(dir / "animated.gif", animated);
}

std::vector<uint8_t> tgaHeader(uint8_t mapType, uint8_t type, int mapLength, uint8_t mapBits, int width,
                               int height, uint8_t bits, uint8_t descriptor) {
    return {
        0, mapType,         type, 0,    0,         uint8_t(mapLength), 0, mapBits, 0, 0, 0, 0, uint8_t(width),
        0, uint8_t(height), 0,    bits, descriptor};
}

bool tgaSeeds(const fs::path& dir) {
    std::vector<uint8_t> raw24 = tgaHeader(0, 2, 0, 0, 4, 3, 24, 0);
    const std::vector<uint8_t> body = pattern(4 * 3 * 3, 7);
    raw24.insert(raw24.end(), body.begin(), body.end());
    std::vector<uint8_t> rle32 = tgaHeader(0, 10, 0, 0, 5, 2, 32, 0x28);
    rle32.insert(rle32.end(), {0x84, 1, 2,  3,  4,  0x04, 1,  2,  3,  4,  5,  6,  7,
                               8,    9, 10, 11, 12, 13,   14, 15, 16, 17, 18, 19, 20});
    std::vector<uint8_t> mapped = tgaHeader(1, 9, 4, 16, 3, 3, 8, 0x20);
    mapped.insert(mapped.end(), {0x1F, 0, 0xE0, 0x03, 0, 0x7C, 0xFF, 0x7F, 0x82, 1, 0x05, 0, 1, 2, 3, 2, 1});
    std::vector<uint8_t> gray = tgaHeader(0, 11, 0, 0, 4, 4, 16, 0x08);
    gray.insert(gray.end(), {0x8F, 200, 255});
    std::vector<uint8_t> sixteen = tgaHeader(0, 2, 0, 0, 2, 2, 16, 0x31);
    sixteen.insert(sixteen.end(), {0xFF, 0xFF, 0x00, 0x80, 0x1F, 0x00, 0xE0, 0x03});
    return put(dir / "raw24.tga", raw24) && put(dir / "rle32.tga", rle32) &&
           put(dir / "mapped.tga", mapped) && put(dir / "gray.tga", gray) &&
           put(dir / "sixteen.tga", sixteen);
}

} // namespace

int main(int argc, char** argv) {
    std::string dir;
    CommandLine line(
        "make-picture-seeds", "DIR",
        "Writes a small seed corpus for each picture-reader fuzz target (jpeg, pcx, gif, tga)\n"
        "into DIR/seeds/READER and empties DIR/work/READER, where fuzz runs put what they find.");
    line.operand("DIR", dir);
    if (const int code = line.parse(argc, argv); code != CommandLine::kGoOn) return code;
    // The library's lines are not wanted here.
    bgl_set_quiet(1);
    const fs::path root = dir;
    struct Reader {
        const char* name;
        bool (*write)(const fs::path&);
    };
    const Reader readers[] = {{"jpeg", jpegSeeds}, {"pcx", pcxSeeds}, {"gif", gifSeeds}, {"tga", tgaSeeds}};
    for (const Reader& r : readers) {
        for (const fs::path& folder : {root / "seeds" / r.name, root / "work" / r.name}) {
            std::error_code ec;
            fs::remove_all(folder, ec);
            if (!ec) fs::create_directories(folder, ec);
            if (ec) return line.failure("cannot make " + folder.string() + ": " + ec.message());
        }
        if (!r.write(root / "seeds" / r.name))
            return line.failure("cannot write the " + std::string(r.name) + " seeds under " + dir);
    }
    return 0;
}
