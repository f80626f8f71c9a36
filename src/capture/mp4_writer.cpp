#include "capture/mp4_writer.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

// The encoder's two input streams.
constexpr int kVideoInput = 0;
constexpr int kAudioInput = 1;
constexpr int kInputs = 2;

constexpr const char* kEncoderProgram = "ffmpeg";
// Pixel-art frames compress well: a low constant rate factor keeps the edges crisp at small cost.
constexpr const char* kVideoQuality = "20";
constexpr const char* kVideoPreset = "veryfast";
constexpr const char* kAudioBitrate = "192k";
// Packets of 1,024 sample frames: about twenty seconds of sound.
constexpr const char* kAudioQueuePackets = "1024";

// Pixels 0x00RRGGBB as they lie in memory.
constexpr const char* kRawPixelFormat =
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    "0rgb";
#else
    "bgr0";
#endif

} // namespace

Mp4Writer::~Mp4Writer() {
    std::string ignored;
    close(ignored);
}

bool Mp4Writer::open(const std::string& outputPath, int w, int h, int fps, int sampleRate, int ch,
                     std::string& error) {
    path = outputPath;
    width = w;
    height = h;
    channels = ch;

    const std::string size = std::to_string(w) + "x" + std::to_string(h);
    const std::string rate = std::to_string(fps);
    const std::string samples = std::to_string(sampleRate);
    const std::string channelCount = std::to_string(ch);
    const std::string videoIn = childInputName(kVideoInput);
    const std::string audioIn = childInputName(kAudioInput);
    const std::vector<std::string> args = {
        kEncoderProgram, "-hide_banner", "-nostdin", "-loglevel", "error", "-y",
        // Both inputs are fully described, so nothing needs probing: ffmpeg must not wait for more of
        // one stream than the writer has given it while the writer waits on the other.
        // The picture: raw frames at their final size.
        "-probesize", "32", "-analyzeduration", "0", "-f", "rawvideo", "-pix_fmt", kRawPixelFormat,
        "-video_size", size, "-framerate", rate, "-i", videoIn,
        // The sound: interleaved little-endian 16-bit samples.
        // The encoder holds back some frames before its first packet, while the sound keeps coming:
        // room for many seconds of sound, so its pipe never fills while ffmpeg waits for pictures.
        "-thread_queue_size", kAudioQueuePackets, "-probesize", "32", "-analyzeduration", "0", "-f", "s16le",
        "-ar", samples, "-ac", channelCount, "-i", audioIn, "-map", "0:v", "-map", "1:a", "-vf",
        "scale=out_color_matrix=bt709:out_range=tv,format=yuv420p", "-c:v", "libx264", "-preset",
        kVideoPreset, "-crf", kVideoQuality, "-colorspace", "bt709", "-color_primaries", "bt709",
        "-color_trc", "bt709", "-color_range", "tv", "-c:a", "aac", "-b:a", kAudioBitrate,
        // The index first, so players can start before the whole file has arrived.
        "-movflags", "+faststart", outputPath};
    ChildProcess::Failure failure;
    encoder = startChildProcess(args, kInputs, failure);
    if (!encoder) {
        if (failure.step == ChildProcess::Failure::Step::Pipes)
            error = std::string("could not create pipes for ffmpeg: ") + std::strerror(failure.systemError);
        else
            error = std::string("could not start ffmpeg (Debian package ffmpeg): ") +
                    std::strerror(failure.systemError);
        return false;
    }
    broken = false;
    return true;
}

bool Mp4Writer::writeAll(int input, const void* data, std::size_t bytes) {
    if (!broken && !encoder->write(input, data, bytes)) broken = true;
    return !broken;
}

bool Mp4Writer::writeFrame(const std::uint32_t* pixels) {
    return isOpen() && writeAll(kVideoInput, pixels, sizeof(std::uint32_t) * width * height);
}

bool Mp4Writer::writeAudio(const std::int16_t* samples, std::size_t frames) {
    if (!isOpen()) return false;
    const std::size_t count = frames * channels;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    std::vector<std::int16_t> swapped(samples, samples + count);
    for (std::int16_t& s : swapped)
        s = static_cast<std::int16_t>(__builtin_bswap16(static_cast<std::uint16_t>(s)));
    samples = swapped.data();
#endif
    return writeAll(kAudioInput, samples, count * sizeof(std::int16_t));
}

bool Mp4Writer::close(std::string& error) {
    if (!isOpen()) return true;
    // Ending both streams lets ffmpeg finish the file and exit.
    ChildProcess::Exit exit;
    ChildProcess::Failure failure;
    const bool waited = encoder->wait(exit, failure);
    encoder.reset();
    if (!waited) {
        error = "could not wait for ffmpeg: " + std::string(std::strerror(failure.systemError));
        return false;
    }
    if (exit.exited && exit.code == 0) {
        if (!broken) return true;
        error = "ffmpeg stopped taking data for " + path;
        return false;
    }
    if (exit.exited)
        error = "ffmpeg could not write " + path + " (exit code " + std::to_string(exit.code) + ")";
    else
        error = "ffmpeg ended abnormally while writing " + path;
    return false;
}
