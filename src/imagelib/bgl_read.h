// What every picture reader shares: the size limits, loading a whole file, and one bounded
// cursor over its bytes. A read past the end yields zeros and sets a sticky error, so a reader
// checks once per header or block instead of after every byte.
#pragma once

#include "imagelib/bgl_image.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

// Limits a reader applies before allocating. The defaults are the library's; fuzzers pass
// smaller ones to keep every input quick.
struct BglReadLimits {
    uint32_t maxSide = kBglMaxSide;
    uint64_t maxBytes = kBglMaxBytes;

    bool fits(uint64_t width, uint64_t height, uint64_t bufferBytes) const {
        return width <= maxSide && height <= maxSide && bufferBytes <= maxBytes;
    }
};

enum class BglFileStatus { ok, notFound, tooLarge, readError };

// Reads a whole file; files beyond `maxBytes` are refused rather than read.
BglFileStatus bgl_read_file(const char* filename, uint64_t maxBytes, std::vector<uint8_t>& out);

class BglCursor {
public:
    BglCursor(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    uint8_t u8() {
        if (pos_ >= size_) {
            failed_ = true;
            return 0;
        }
        return data_[pos_++];
    }
    uint16_t u16le() {
        const uint16_t lo = u8();
        return uint16_t(lo | (u8() << 8));
    }
    // Copies n bytes; what lies past the end is zero. Returns the bytes really copied.
    size_t read(uint8_t* out, size_t n) {
        const size_t have = available(n);
        if (have) std::memcpy(out, data_ + pos_, have);
        if (have < n) {
            std::memset(out + have, 0, n - have);
            failed_ = true;
        }
        pos_ += have;
        return have;
    }
    bool skip(size_t n) {
        const size_t have = available(n);
        pos_ += have;
        if (have < n) failed_ = true;
        return have == n;
    }
    void seek(size_t pos) { pos_ = pos < size_ ? pos : size_; }

    size_t pos() const { return pos_; }
    size_t size() const { return size_; }
    size_t remaining() const { return size_ - pos_; }
    bool atEnd() const { return pos_ >= size_; }
    bool failed() const { return failed_; }
    const uint8_t* here() const { return data_ + pos_; }

private:
    size_t available(size_t n) const { return n < size_ - pos_ ? n : size_ - pos_; }

    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    bool failed_ = false;
};

// Largest picture file a reader loads into memory.
constexpr uint64_t kBglMaxFileBytes = uint64_t(1) << 30;
