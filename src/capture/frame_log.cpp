#include "capture/frame_log.h"

#include <cerrno>
#include <cinttypes>
#include <cstring>

namespace {
constexpr std::uint64_t kFnvOffset = 0xcbf29ce484222325ull;
constexpr std::uint64_t kFnvPrime = 0x100000001b3ull;
} // namespace

std::uint64_t frameChecksum(const std::uint32_t* pixels, int width, int height, int pitch) {
    std::uint64_t hash = kFnvOffset;
    const auto* row = reinterpret_cast<const unsigned char*>(pixels);
    for (int y = 0; y < height; ++y, row += pitch) {
        const auto* p = reinterpret_cast<const std::uint32_t*>(row);
        for (int x = 0; x < width; ++x)
            for (int shift = 16; shift >= 0; shift -= 8) {
                hash ^= (p[x] >> shift) & 0xff;
                hash *= kFnvPrime;
            }
    }
    return hash;
}

FrameLog::~FrameLog() {
    discard();
}

void FrameLog::discard() {
    if (file) std::fclose(file);
    file = nullptr;
    output.discard();
}

bool FrameLog::open(const std::string& path, std::string& error) {
    written = 0;
    if (!output.create(path, error)) return false;
    file = std::fopen(output.writingPath().c_str(), "w");
    if (!file) {
        error = "could not create " + path + ": " + std::strerror(errno);
        output.discard();
        return false;
    }
    failed = std::fputs("# frame music_frame sync_value sync_count checksum effect\n", file) < 0;
    return true;
}

void FrameLog::add(const CapturedFrame& frame, int syncValue, int syncCount, const char* effect) {
    if (!file || frame.written < 0) return;
    const std::uint64_t sum = frameChecksum(frame.pixels, frame.width, frame.height, frame.pitch);
    if (std::fprintf(file, "%ld %ld %d %d %016" PRIx64 " %s\n", frame.written, frame.musicFrame, syncValue,
                     syncCount, sum, effect ? effect : "-") < 0)
        failed = true;
    ++written;
}

bool FrameLog::close(std::string& error) {
    if (!file) return true;
    if (std::fclose(file) != 0) failed = true;
    file = nullptr;
    if (failed) error = "could not write " + output.path();
    return !failed;
}
