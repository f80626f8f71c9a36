#pragma once
// The one bounded little-endian reader over bytes in memory, under every file reader. A read
// past the end yields zeros and sets a sticky error; once set, every later read yields zeros
// too, so a reader checks the error once per header, chunk or record instead of after each value.
#include <cstddef>
#include <cstdint>
#include <cstring>

class ByteCursor {
public:
    ByteCursor(const std::uint8_t* data, std::uint64_t size) : ByteCursor(data, 0, size) {}
    // A window [from, end) of the bytes; positions still count from `data`.
    ByteCursor(const std::uint8_t* data, std::uint64_t from, std::uint64_t end)
        : data_(data), pos_(from < end ? from : end), end_(end) {}

    std::uint8_t u8() {
        std::uint8_t b = 0;
        take(&b, 1);
        return b;
    }
    std::uint16_t u16() {
        std::uint8_t b[2];
        take(b, 2);
        return std::uint16_t(b[0] | (b[1] << 8));
    }
    std::uint32_t u32() {
        std::uint8_t b[4];
        take(b, 4);
        return std::uint32_t(b[0]) | (std::uint32_t(b[1]) << 8) | (std::uint32_t(b[2]) << 16) |
               (std::uint32_t(b[3]) << 24);
    }
    float f32() {
        const std::uint32_t bits = u32();
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    }

    // Copies count bytes. When fewer remain, copies what there is, zeroes the rest, moves to the
    // end and sets the error; false then.
    bool take(void* out, std::uint64_t count) {
        auto* bytes = static_cast<std::uint8_t*>(out);
        const std::uint64_t have = failed_ ? 0 : available(count);
        if (have > 0) std::memcpy(bytes, data_ + pos_, std::size_t(have));
        pos_ += have;
        if (have == count) return true;
        std::memset(bytes + have, 0, std::size_t(count - have));
        fail();
        return false;
    }
    // Moves count bytes on; past the end it stops there and sets the error.
    bool skip(std::uint64_t count) {
        const std::uint64_t have = failed_ ? 0 : available(count);
        pos_ += have;
        if (have == count) return true;
        fail();
        return false;
    }
    // Moves to an absolute position (held to the end); a later read there fails as usual.
    void seek(std::uint64_t position) { pos_ = position < end_ ? position : end_; }

    std::uint64_t pos() const { return pos_; }
    std::uint64_t end() const { return end_; }
    std::uint64_t remaining() const { return end_ - pos_; }
    bool atEnd() const { return pos_ >= end_; }
    bool failed() const { return failed_; }
    // The bytes at the position, remaining() of them; for readers that look before they take.
    const std::uint8_t* here() const { return data_ + pos_; }

private:
    std::uint64_t available(std::uint64_t count) const { return count < end_ - pos_ ? count : end_ - pos_; }
    void fail() {
        failed_ = true;
        pos_ = end_;
    }

    const std::uint8_t* data_;
    std::uint64_t pos_;
    std::uint64_t end_;
    bool failed_ = false;
};
