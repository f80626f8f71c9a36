#pragma once
// A text log of the written frames, one line each, for tests and for finding a moment of the
// show: the frame's number, its music frame, the sync value and count, a checksum of its pixels
// and the effect on screen.
#include <cstdint>
#include <cstdio>
#include <string>

#include "capture/capture_session.h"

// FNV-1a over the red, green and blue of every pixel (the fourth byte is not part of the picture).
std::uint64_t frameChecksum(const std::uint32_t* pixels, int width, int height, int pitch);

class FrameLog {
public:
    FrameLog() = default;
    ~FrameLog();
    FrameLog(const FrameLog&) = delete;
    FrameLog& operator=(const FrameLog&) = delete;

    bool open(const std::string& path, std::string& error);
    // Logs a written frame (others are skipped). `effect` may be null.
    void add(const CapturedFrame& frame, int syncValue, int syncCount, const char* effect);
    bool close(std::string& error);

private:
    std::string path;
    std::FILE* file = nullptr;
    bool failed = false;
};
