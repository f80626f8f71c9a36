// The loader front of the picture readers that decode from memory: GIF, PCX and TGA.
#include "imagelib/bgl_read.h"

#include <vector>

#include "core/read_file.h"
#include "imagelib/bgl_gif.h"
#include "imagelib/bgl_pcx.h"
#include "imagelib/bgl_tga.h"

namespace {

enum Reader { kGif, kPcx, kTga };
constexpr BglFileReader kReaders[] = {
    {"GIF", "GIF: File not found", "GIF: File too large", "GIF: Couldn't read imageheader", &bgl_decode_gif},
    {"PCX", "PCX: File not found", "PCX: File too large", "PCX: Cannot read header", &bgl_decode_pcx},
    {"TGA", "TGA: File not found", "TGA: File too large", "TGA: Cannot read header", &bgl_decode_tga},
};

} // namespace

bglimage* bgl_load_file(const char* filename, const BglFileReader& reader) {
    bgl_verbose("%s: Loading file \"%s\"...\n", reader.name, filename);
    std::vector<uint8_t> file;
    switch (readWholeFile(filename, kBglMaxFileBytes, file).status) {
        case ReadFileStatus::Ok:
            return reader.decode(file.data(), file.size(), BglReadLimits{});
        case ReadFileStatus::CannotOpen:
            bgl_push_error(reader.notFound);
            return nullptr;
        case ReadFileStatus::TooLarge:
            bgl_push_error(reader.tooLarge);
            return nullptr;
        case ReadFileStatus::ReadError:
            break;
    }
    bgl_push_error(reader.unreadable);
    return nullptr;
}

bglimage* bgl_load_gif(const char* filename) {
    return bgl_load_file(filename, kReaders[kGif]);
}
bglimage* bgl_load_pcx(const char* filename) {
    return bgl_load_file(filename, kReaders[kPcx]);
}
bglimage* bgl_load_tga(const char* filename) {
    return bgl_load_file(filename, kReaders[kTga]);
}
