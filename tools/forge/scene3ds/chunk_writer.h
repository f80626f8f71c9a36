// Builds a chunked little-endian file in memory: a chunk's length is filled in when it ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class ChunkWriter {
public:
    // Opens a chunk: writes its id and a length that end() fills in.
    void begin(uint16_t id);
    // Closes the innermost open chunk; its length counts its header and everything after it.
    void end();

    void u8(uint8_t value);
    void u16(uint16_t value);
    void u32(uint32_t value);
    void f32(float value);
    // A zero-terminated string.
    void str(const std::string& text);
    void raw(const void* data, size_t size);

    // Overwrites 4 bytes at an offset already written (to build damaged files on purpose).
    void patchU32(size_t offset, uint32_t value);

    size_t size() const { return bytes_.size(); }
    bool allClosed() const { return open_.empty(); }
    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
    std::vector<size_t> open_; // offsets of the headers of open chunks
};
