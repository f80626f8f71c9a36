// The loader front of the picture readers that decode from memory.
#include "imagelib/bgl_read.h"

#include <vector>

#include "core/read_file.h"

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
