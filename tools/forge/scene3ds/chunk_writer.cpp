#include "forge/scene3ds/chunk_writer.h"

#include <cstring>
#include <stdexcept>

void ChunkWriter::begin(uint16_t id) {
    open_.push_back(bytes_.size());
    u16(id);
    u32(0);
}

void ChunkWriter::end() {
    if (open_.empty()) throw std::logic_error("ChunkWriter::end without an open chunk");
    const size_t start = open_.back();
    open_.pop_back();
    patchU32(start + 2, uint32_t(bytes_.size() - start));
}

void ChunkWriter::u8(uint8_t value) {
    bytes_.push_back(value);
}

void ChunkWriter::u16(uint16_t value) {
    bytes_.push_back(uint8_t(value & 0xFF));
    bytes_.push_back(uint8_t(value >> 8));
}

void ChunkWriter::u32(uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) bytes_.push_back(uint8_t((value >> shift) & 0xFF));
}

void ChunkWriter::f32(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    u32(bits);
}

void ChunkWriter::str(const std::string& text) {
    raw(text.c_str(), text.size() + 1);
}

void ChunkWriter::raw(const void* data, size_t size) {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    bytes_.insert(bytes_.end(), p, p + size);
}

void ChunkWriter::patchU32(size_t offset, uint32_t value) {
    if (offset + 4 > bytes_.size()) throw std::out_of_range("ChunkWriter::patchU32 past the end");
    for (int i = 0; i < 4; ++i) bytes_[offset + size_t(i)] = uint8_t((value >> (8 * i)) & 0xFF);
}
