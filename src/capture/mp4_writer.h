#pragma once
// An H.264/AAC mp4 written by the ffmpeg program: frames of 0x00RRGGBB pixels and interleaved
// 16-bit stereo samples go down two pipes to an ffmpeg child process, which encodes and muxes
// them. The pictures arrive at their final size; ffmpeg only converts colours (to 4:2:0, BT.709).
#include <cstdint>
#include <memory>
#include <string>

#include "platform/child_process.h"

class Mp4Writer {
public:
    Mp4Writer() = default;
    ~Mp4Writer();
    Mp4Writer(const Mp4Writer&) = delete;
    Mp4Writer& operator=(const Mp4Writer&) = delete;

    // Starts ffmpeg writing `path`; false with a reason when it cannot be started.
    bool open(const std::string& path, int width, int height, int fps, int sampleRate, int channels,
              std::string& error);
    bool isOpen() const { return encoder != nullptr; }

    // One frame of width x height pixels, rows packed; false once ffmpeg no longer takes data.
    bool writeFrame(const std::uint32_t* pixels);
    bool writeAudio(const std::int16_t* samples, std::size_t frames);

    // Ends both streams and waits for ffmpeg; false with a reason when it did not finish cleanly.
    bool close(std::string& error);

private:
    bool writeAll(int input, const void* data, std::size_t bytes);

    std::string path;
    std::unique_ptr<ChildProcess> encoder;
    int width = 0, height = 0, channels = 0;
    bool broken = false;
};
