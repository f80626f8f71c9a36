#include "forge/common/write_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace forge {

std::string writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return "cannot create " + path + ": " + std::strerror(errno);
    const size_t written = bytes.empty() ? 0 : std::fwrite(bytes.data(), 1, bytes.size(), file);
    const bool closed = std::fclose(file) == 0;
    if (written != bytes.size() || !closed) return "cannot write " + path + ": " + std::strerror(errno);
    return {};
}

} // namespace forge
