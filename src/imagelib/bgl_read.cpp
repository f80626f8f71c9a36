// Loading a whole picture file into memory for the readers.
#include "imagelib/bgl_read.h"

#include <cstdio>

BglFileStatus bgl_read_file(const char* filename, uint64_t maxBytes, std::vector<uint8_t>& out) {
    std::FILE* file = std::fopen(filename, "rb");
    if (!file) return BglFileStatus::notFound;
    BglFileStatus status = BglFileStatus::ok;
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
    if (size < 0 || std::fseek(file, 0, SEEK_SET) != 0) {
        status = BglFileStatus::readError;
    } else if (uint64_t(size) > maxBytes) {
        status = BglFileStatus::tooLarge;
    } else {
        out.resize(size_t(size));
        if (size > 0 && std::fread(out.data(), 1, out.size(), file) != out.size())
            status = BglFileStatus::readError;
    }
    std::fclose(file);
    return status;
}
