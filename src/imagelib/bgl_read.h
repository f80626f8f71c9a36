// What every picture reader shares: the size limits, the bounded cursor over a file's bytes
// (core/byte_cursor.h) and one loader front that reads a whole file for a reader's decoder.
#pragma once

#include "core/byte_cursor.h"
#include "imagelib/bgl_image.h"

#include <cstddef>
#include <cstdint>

// Limits a reader applies before allocating. The defaults are the library's; fuzzers pass
// smaller ones to keep every input quick.
struct BglReadLimits {
    uint32_t maxSide = kBglMaxSide;
    uint64_t maxBytes = kBglMaxBytes;

    bool fits(uint64_t width, uint64_t height, uint64_t bufferBytes) const {
        return width <= maxSide && height <= maxSide && bufferBytes <= maxBytes;
    }
};

// Largest picture file a reader loads into memory.
constexpr uint64_t kBglMaxFileBytes = uint64_t(1) << 30;

using BglDecoder = bglimage* (*)(const uint8_t* data, size_t size, const BglReadLimits& limits);

// A reader as the loader front sees it: its name for the verbose line, the messages it pushes
// when its file cannot be had, and its decoder.
struct BglFileReader {
    const char* name;       // "GIF"
    const char* notFound;   // "GIF: File not found"
    const char* tooLarge;   // "GIF: File too large"
    const char* unreadable; // the reader's message for a file that cannot be read
    BglDecoder decode;
};

// Announces the file (verbose mode), reads it whole and decodes it with the library's limits.
// A file that cannot be read gets the reader's message on the error stack.
bglimage* bgl_load_file(const char* filename, const BglFileReader& reader);
