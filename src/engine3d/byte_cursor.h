// A bounded little-endian reader over bytes in memory. Reading past `end` yields zeros and
// sets the sticky `failed` flag, so a reader checks once per chunk instead of after each value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

struct ByteCursor {
    const uint8_t* data;
    uint64_t pos;
    uint64_t end;
    bool failed;

    uint64_t remaining() const { return pos < end ? end - pos : 0; }

    bool take(void* out, uint64_t count) {
        if (failed || remaining() < count) {
            failed = true;
            std::memset(out, 0, count);
            return false;
        }
        std::memcpy(out, data + pos, count);
        pos += count;
        return true;
    }

    uint8_t u8() {
        uint8_t b = 0;
        take(&b, 1);
        return b;
    }
    uint16_t u16() {
        uint8_t b[2];
        take(b, 2);
        return uint16_t(b[0] | (b[1] << 8));
    }
    uint32_t u32() {
        uint8_t b[4];
        take(b, 4);
        return uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
    }
    float f32() {
        const uint32_t bits = u32();
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    }
};
