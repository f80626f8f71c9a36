#include "core/read_file.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <new>

ReadFileResult readWholeFile(const char* path, std::uint64_t maxBytes, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    errno = 0;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(path ? std::fopen(path, "rb") : nullptr,
                                                               &std::fclose);
    if (!file) return {ReadFileStatus::CannotOpen, path ? errno : ENOENT};
    long size = -1;
    if (std::fseek(file.get(), 0, SEEK_END) == 0) size = std::ftell(file.get());
    if (size < 0 || std::fseek(file.get(), 0, SEEK_SET) != 0) return {ReadFileStatus::ReadError, errno};
    if (static_cast<std::uint64_t>(size) > maxBytes) return {ReadFileStatus::TooLarge, 0};
    try {
        bytes.resize(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        return {ReadFileStatus::ReadError, ENOMEM};
    }
    if (size > 0 && std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        const int error = std::ferror(file.get()) ? errno : 0;
        bytes.clear();
        return {ReadFileStatus::ReadError, error};
    }
    return {};
}
