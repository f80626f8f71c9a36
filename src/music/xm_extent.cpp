#include "music/xm_extent.h"

#include <cstring>

#include "core/byte_cursor.h"

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

// The extent reached so far when the file ends inside a header that says how far to go on.
constexpr std::uint64_t kCutShort = ~0ull;

} // namespace

std::optional<std::uint64_t> xmDeclaredExtent(const std::uint8_t* data, std::size_t size) {
    if (size < kSignatureBytes || std::memcmp(data, kXmSignature, kSignatureBytes) != 0) return std::nullopt;
    // Every field is read at its own offset; a field past the end sets the cursor's error, and the
    // offsets only grow, so one check after a header's fields covers them all.
    ByteCursor file(data, size);
    const auto u16At = [&file](std::uint64_t offset) {
        file.seek(offset);
        return file.u16();
    };
    const auto u32At = [&file](std::uint64_t offset) {
        file.seek(offset);
        return file.u32();
    };
    const std::uint16_t version = u16At(kVersionOffset);
    if (!file.failed() && version != kLayoutVersion) return std::nullopt;
    const std::uint32_t headerSize = u32At(kHeaderSizeOffset);
    const std::uint16_t patterns = u16At(kPatternCountOffset);
    const std::uint16_t instruments = u16At(kInstrumentCountOffset);
    if (file.failed()) return kCutShort;

    std::uint64_t at = kHeaderSizeOffset + std::uint64_t(headerSize);
    for (std::uint32_t p = 0; p < patterns; ++p) {
        const std::uint32_t length = u32At(at);
        const std::uint16_t packed = u16At(at + kPatternDataSizeOffset);
        if (file.failed()) return kCutShort;
        at += std::uint64_t(length) + packed;
    }
    for (std::uint32_t i = 0; i < instruments; ++i) {
        const std::uint32_t length = u32At(at);
        const std::uint16_t samples = u16At(at + kSampleCountOffset);
        if (file.failed()) return kCutShort;
        const std::uint64_t headers = at + length;
        std::uint64_t sampleData = 0;
        for (std::uint32_t s = 0; s < samples; ++s) {
            sampleData += u32At(headers + s * kSampleHeaderBytes);
            if (file.failed()) return kCutShort;
        }
        at = headers + samples * kSampleHeaderBytes + sampleData;
    }
    return at;
}
