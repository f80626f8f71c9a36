// A small GIF writer for the reader's tests: a real LZW encoder (codes grow to 12 bits and the
// table starts over with a clear code), and helpers to lay out the file's blocks.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace gifwriter {

class BitPacker {
public:
    void put(int code, int width) {
        accumulator_ |= uint32_t(code) << bits_;
        bits_ += width;
        while (bits_ >= 8) {
            bytes.push_back(uint8_t(accumulator_ & 0xFF));
            accumulator_ >>= 8;
            bits_ -= 8;
        }
    }
    void flush() {
        if (bits_ > 0) bytes.push_back(uint8_t(accumulator_ & 0xFF));
        accumulator_ = 0;
        bits_ = 0;
    }
    std::vector<uint8_t> bytes;

private:
    uint32_t accumulator_ = 0;
    int bits_ = 0;
};

// LZW codes of `pixels` for minimum code size `s`, packed least significant bit first.
inline std::vector<uint8_t> lzw(const std::vector<uint8_t>& pixels, int s) {
    const int clear = 1 << s, end = clear + 1;
    BitPacker out;
    std::map<std::pair<int, int>, int> table;
    int width = s + 1, next = clear + 2;
    out.put(clear, width);
    if (pixels.empty()) {
        out.put(end, width);
        out.flush();
        return out.bytes;
    }
    int prefix = pixels[0];
    for (size_t i = 1; i < pixels.size(); ++i) {
        const int b = pixels[i];
        auto found = table.find({prefix, b});
        if (found != table.end()) {
            prefix = found->second;
            continue;
        }
        out.put(prefix, width);
        table[{prefix, b}] = next++;
        if (next > (1 << width) && width < 12) ++width;
        if (next == 4096) {
            out.put(clear, width);
            table.clear();
            width = s + 1;
            next = clear + 2;
        }
        prefix = b;
    }
    out.put(prefix, width);
    out.put(end, width);
    out.flush();
    return out.bytes;
}

inline void put16(std::vector<uint8_t>& f, int v) {
    f.push_back(uint8_t(v & 0xFF));
    f.push_back(uint8_t((v >> 8) & 0xFF));
}

// Splits data into sub-blocks of at most 255 bytes, ended by a zero-length block.
inline void putSubBlocks(std::vector<uint8_t>& f, const std::vector<uint8_t>& data) {
    for (size_t i = 0; i < data.size(); i += 255) {
        const size_t n = std::min<size_t>(255, data.size() - i);
        f.push_back(uint8_t(n));
        f.insert(f.end(), data.begin() + long(i), data.begin() + long(i + n));
    }
    f.push_back(0);
}

// Signature, screen descriptor and a global table of 2^(n+1) entries (entry i = (i, 2i, 3i)).
inline std::vector<uint8_t> header(const char* signature, int width, int height, int n) {
    std::vector<uint8_t> f(signature, signature + 6);
    put16(f, width);
    put16(f, height);
    f.push_back(uint8_t(0x80 | (7 << 4) | n));
    f.push_back(0);
    f.push_back(0);
    for (int i = 0; i < (2 << n); ++i) {
        f.push_back(uint8_t(i));
        f.push_back(uint8_t(2 * i));
        f.push_back(uint8_t(3 * i));
    }
    return f;
}

// An image descriptor (packed byte as given) followed by its LZW data.
inline void image(std::vector<uint8_t>& f, int width, int height, uint8_t packed,
                  const std::vector<uint8_t>& pixels, int s) {
    f.push_back(0x2C);
    put16(f, 0);
    put16(f, 0);
    put16(f, width);
    put16(f, height);
    f.push_back(packed);
    f.push_back(uint8_t(s));
    putSubBlocks(f, lzw(pixels, s));
}

} // namespace gifwriter
