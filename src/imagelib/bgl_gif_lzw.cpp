// LZW decoding for GIF. Each code names a string: a prefix code plus one last byte. Strings are
// unwound backwards onto a stack and popped into the raster, so they come out in order.
#include "imagelib/bgl_gif_lzw.h"

#include <cstdlib>

namespace {

constexpr int kMaxCodes = 4096;
constexpr int kMaxCodeSize = 11; // minimum code size; codes then grow to 12 bits at most
constexpr int kNoPrevious = -1;

struct LzwState {
    uint16_t prefix[kMaxCodes];
    uint8_t last[kMaxCodes];
    uint8_t stack[kMaxCodes];
    int minCodeSize;
    int codeWidth;
    int clear, end, next, mask;
    int previous;
    uint8_t firstByte;
    uint8_t* raster;
    uint64_t rasterSize;
    uint64_t written;
};

void resetTable(LzwState& s) {
    s.codeWidth = s.minCodeSize + 1;
    s.next = s.clear + 2;
    s.mask = (1 << s.codeWidth) - 1;
    s.previous = kNoPrevious;
}

void emit(LzwState& s, uint8_t byte) {
    if (s.written < s.rasterSize) s.raster[s.written] = byte;
    ++s.written;
}

// One code. 0 for a code beyond the next free one, or a string longer than the stack.
int gif_decode_code(LzwState& s, int code) {
    if (code == s.clear) {
        resetTable(s);
        return 1;
    }
    if (s.previous == kNoPrevious) {
        s.firstByte = s.last[code];
        emit(s, s.firstByte);
        s.previous = code;
        return 1;
    }
    if (code > s.next) {
        bgl_verbose("GIF: Code %d too large for %d\n", code, s.next);
        return 0;
    }
    int top = 0;
    int c = code;
    if (code == s.next) {
        s.stack[top++] = s.firstByte;
        c = s.previous;
    }
    // A stale table can chain strings into a loop; the stack's size bounds every real string.
    while (c > s.clear) {
        if (top >= kMaxCodes - 1) return 0;
        s.stack[top++] = s.last[c];
        c = s.prefix[c];
    }
    s.firstByte = s.last[c];
    s.stack[top++] = s.firstByte;
    if (s.next < kMaxCodes) {
        s.prefix[s.next] = uint16_t(s.previous);
        s.last[s.next] = s.firstByte;
        ++s.next;
        if ((s.next & s.mask) == 0 && s.next < kMaxCodes) {
            ++s.codeWidth;
            s.mask = 2 * s.mask + 1;
        }
    }
    s.previous = code;
    while (top > 0) emit(s, s.stack[--top]);
    return 1;
}

} // namespace

int gif_decode(ByteCursor& in, uint8_t* raster, int width, int height) {
    // Heap, not stack: the tables take some 16 KB.
    auto* s = static_cast<LzwState*>(std::calloc(1, sizeof(LzwState)));
    if (!s) return 0;
    s->minCodeSize = in.u8();
    if (in.failed() || s->minCodeSize > kMaxCodeSize) {
        bgl_push_error("GIF: Invalid LZW code size");
        std::free(s);
        return 0;
    }
    s->clear = 1 << s->minCodeSize;
    s->end = s->clear + 1;
    for (int i = 0; i < s->clear; ++i) s->last[i] = uint8_t(i);
    resetTable(*s);
    s->raster = raster;
    s->rasterSize = uint64_t(width) * height;

    int result = 1;
    uint32_t accumulator = 0;
    int bits = 0;
    bool stopped = false;
    while (!stopped) {
        const uint8_t length = in.u8();
        if (in.failed()) {
            bgl_push_error("GIF: File ends inside image data");
            result = 0;
            break;
        }
        if (length == 0) break;
        if (in.remaining() < length) {
            bgl_push_error("GIF: File ends inside image data");
            result = 0;
            break;
        }
        const uint8_t* block = in.here();
        in.skip(length);
        for (int i = 0; i < length && !stopped; ++i) {
            accumulator |= uint32_t(block[i]) << bits;
            bits += 8;
            while (bits >= s->codeWidth) {
                const int code = int(accumulator & uint32_t(s->mask));
                accumulator >>= s->codeWidth;
                bits -= s->codeWidth;
                if (code == s->end) {
                    stopped = true;
                    break;
                }
                if (!gif_decode_code(*s, code)) {
                    result = 0;
                    stopped = true;
                    break;
                }
            }
        }
        if (!stopped && s->written >= s->rasterSize) {
            bgl_verbose("GIF: Raster full before eoi code\n");
            stopped = true;
        }
    }
    if (result && s->written != s->rasterSize) {
        bgl_verbose("GIF: WARNING: wrong rastersize: %ld bytes\n", long(s->written));
        bgl_verbose("GIF:          instead of %ld bytes\n", long(s->rasterSize));
    }
    std::free(s);
    return result;
}
