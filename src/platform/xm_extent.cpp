#include "platform/xm_extent.h"

#include <cstring>

namespace {

constexpr char kXmSignature[] = "Extended Module: ";
constexpr std::size_t kSignatureBytes = sizeof kXmSignature - 1;
constexpr std::size_t kVersionOffset = 58;
constexpr unsigned kLayoutVersion = 0x0104;
constexpr std::size_t kHeaderSizeOffset = 60; // the header size counts from here
constexpr std::size_t kPatternCountOffset = 70;
constexpr std::size_t kInstrumentCountOffset = 72;
constexpr std::size_t kPatternDataSizeOffset = 7; // within a pattern header
constexpr std::size_t kSampleCountOffset = 27;    // within an instrument header
constexpr std::uint64_t kSampleHeaderBytes = 40;

// Little-endian reads that stay inside the file: a read past the end yields none.
class Cursor {
public:
    Cursor(const char* d, std::size_t s) : data(reinterpret_cast<const unsigned char*>(d)), size(s) {}
    std::optional<std::uint32_t> at(std::uint64_t offset, int bytes) const {
        if (offset + static_cast<std::uint64_t>(bytes) > size) return std::nullopt;
        std::uint32_t value = 0;
        for (int i = bytes - 1; i >= 0; --i)
            value = value << 8 | data[offset + static_cast<std::uint64_t>(i)];
        return value;
    }

private:
    const unsigned char* data;
    std::size_t size;
};

// The extent reached so far when the file ends inside a header that says how far to go on.
constexpr std::uint64_t kCutShort = ~0ull;

} // namespace

std::optional<std::uint64_t> xmDeclaredExtent(const char* data, std::size_t size) {
    const Cursor file(data, size);
    if (size < kSignatureBytes || std::memcmp(data, kXmSignature, kSignatureBytes) != 0) return std::nullopt;
    const auto version = file.at(kVersionOffset, 2);
    if (version && *version != kLayoutVersion) return std::nullopt;
    const auto headerSize = file.at(kHeaderSizeOffset, 4);
    const auto patterns = file.at(kPatternCountOffset, 2);
    const auto instruments = file.at(kInstrumentCountOffset, 2);
    if (!version || !headerSize || !patterns || !instruments) return kCutShort;

    std::uint64_t at = kHeaderSizeOffset + *headerSize;
    for (std::uint32_t p = 0; p < *patterns; ++p) {
        const auto length = file.at(at, 4);
        const auto packed = file.at(at + kPatternDataSizeOffset, 2);
        if (!length || !packed) return kCutShort;
        at += *length + *packed;
    }
    for (std::uint32_t i = 0; i < *instruments; ++i) {
        const auto length = file.at(at, 4);
        const auto samples = file.at(at + kSampleCountOffset, 2);
        if (!length || !samples) return kCutShort;
        const std::uint64_t headers = at + *length;
        std::uint64_t sampleData = 0;
        for (std::uint32_t s = 0; s < *samples; ++s) {
            const auto bytes = file.at(headers + s * kSampleHeaderBytes, 4);
            if (!bytes) return kCutShort;
            sampleData += *bytes;
        }
        at = headers + *samples * kSampleHeaderBytes + sampleData;
    }
    return at;
}
