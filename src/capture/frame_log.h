#pragma once
// A text log of the written frames, one line each, for tests and for finding a moment of the
// show: the frame's number, its music frame, the sync value and count, a checksum of its pixels
// and the effect on screen.
#include <cstdint>
#include <cstdio>
#include <string>

#include "capture/capture_session.h"
#include "capture/output_file.h"

// FNV-1a over the red, green and blue of every pixel (the fourth byte is not part of the picture).
std::uint64_t frameChecksum(const std::uint32_t* pixels, int width, int height, int pitch);

class FrameLog {
public:
    FrameLog() = default;
    ~FrameLog();
    FrameLog(const FrameLog&) = delete;
    FrameLog& operator=(const FrameLog&) = delete;

    // Creates the log (under its temporary name, see output_file.h); false with a reason.
    bool open(const std::string& path, std::string& error);
    bool isOpen() const { return file != nullptr; }
    // Logs a written frame (others are skipped). `effect` may be null.
    void add(const CapturedFrame& frame, int syncValue, int syncCount, const char* effect);
    // Finishes the log; false with a reason. commit() then gives it its name, or discard()
    // removes it.
    bool close(std::string& error);
    bool commit(std::string& error) { return output.commit(error); }
    void discard();
    long lines() const { return written; }

private:
    OutputFile output;
    long written = 0;
    std::FILE* file = nullptr;
    bool failed = false;
};
