#pragma once
// The one whole-file reader: every file the show loads is read into memory through it, with a
// cap on its size checked before anything is allocated. Callers turn the result into their own
// messages.
#include <cstdint>
#include <vector>

enum class ReadFileStatus { Ok, CannotOpen, TooLarge, ReadError };

struct ReadFileResult {
    ReadFileStatus status = ReadFileStatus::Ok;
    int systemError = 0; // errno of a failed open or read; 0 otherwise

    bool ok() const { return status == ReadFileStatus::Ok; }
};

// Reads the whole file at path into bytes (emptied first). A file larger than maxBytes is
// refused without being read; bytes stays empty on every failure.
ReadFileResult readWholeFile(const char* path, std::uint64_t maxBytes, std::vector<std::uint8_t>& bytes);
