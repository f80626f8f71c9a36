#pragma once
// An H.264/AAC mp4 written by the ffmpeg program. The show's frames of 0x00RRGGBB pixels are
// enlarged and converted to 4:2:0 BT.709 here (Yuv420Scaler), and go with the interleaved 16-bit
// samples down two pipes to an ffmpeg child process, which only encodes and muxes them. Each pipe
// is fed by a thread of its own (StreamFeeder), so neither stream can block the other, and the
// show renders its next frames while ffmpeg encodes.
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "capture/output_file.h"
#include "capture/stream_feeder.h"
#include "capture/yuv420_scaler.h"
#include "platform/child_process.h"

class Mp4Writer {
public:
    // How long ffmpeg may take no data at all before the writer gives up on it as hung.
    static constexpr std::chrono::seconds kStallLimit{120};

    Mp4Writer() = default;
    ~Mp4Writer();
    Mp4Writer(const Mp4Writer&) = delete;
    Mp4Writer& operator=(const Mp4Writer&) = delete;

    // Starts ffmpeg writing an mp4 to `path` (under its temporary name, see output_file.h; an
    // mp4 whatever the name's ending), from frames of sourceWidth x sourceHeight shown at
    // width x height. False with a reason when the file cannot be made or ffmpeg not started.
    bool open(const std::string& path, int sourceWidth, int sourceHeight, int width, int height, int fps,
              int sampleRate, int channels, std::string& error,
              std::chrono::milliseconds stallLimit = kStallLimit);
    bool isOpen() const { return encoder != nullptr; }

    // One source frame (pitch in bytes); false once ffmpeg no longer takes data, or for a frame
    // of another size than the one opened with.
    bool writeFrame(const std::uint32_t* pixels, int width, int height, int pitch);
    bool writeAudio(const std::int16_t* samples, std::size_t frames);

    // Ends both streams and waits for ffmpeg to finish the file; false with a reason when it did
    // not finish cleanly. commit() then gives the file its name.
    bool close(std::string& error);
    bool commit(std::string& error) { return output.commit(error); }
    // Ends ffmpeg at once, if it still runs, and removes its file (for a capture that failed).
    void abort();

private:
    // Stops the feeders and collects ffmpeg; true when it exited with code 0.
    bool finishEncoder(std::string& error);

    OutputFile output;
    std::unique_ptr<ChildProcess> encoder;
    std::unique_ptr<Yuv420Scaler> scaler;
    std::vector<unsigned char> converted; // the video feeder's output buffer, used on its thread only
    std::vector<std::uint32_t> packed;    // a frame whose rows are not contiguous, packed
    std::unique_ptr<StreamFeeder> video, audio;
    int sourceWidth = 0, sourceHeight = 0, channels = 0;
    long long stallSeconds = 0;
    bool broken = false;
};
