#include "capture/mp4_writer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The encoder's two input streams.
constexpr int kVideoInput = 0;
constexpr int kAudioInput = 1;
constexpr int kInputs = 2;

constexpr const char* kEncoderProgram = "ffmpeg";
// Where the encoder comes from, for the message when it cannot be started.
#ifdef _WIN32
constexpr const char* kEncoderSource = "an ffmpeg.exe on the PATH";
#else
constexpr const char* kEncoderSource = "Debian package ffmpeg";
#endif
// Pixel-art frames compress well: a low constant rate factor keeps the edges crisp at small cost.
constexpr const char* kVideoQuality = "20";
// The fastest preset, so that a whole show encodes within its own length on two cores (about
// 10 ms a frame here); CABAC, the deblocking filter and B-frames back on cost a tenth more and
// make the file a fifth smaller at the same quality.
constexpr const char* kVideoPreset = "ultrafast";
constexpr const char* kVideoTuning = "cabac=1:deblock=0,0:bframes=3";
constexpr const char* kAudioBitrate = "192k";
// Packets of 1,024 sample frames: about twenty seconds of sound, so ffmpeg reads the sound as it
// comes while its encoder holds back pictures.
constexpr const char* kAudioQueuePackets = "1024";

// What each stream may hold queued in this process. ffmpeg takes a picture only once it holds
// the sound up to it, and it takes sound in packets of 1,024 samples and a frame more for the AAC
// encoder: about 64 ms ahead. The video queue must let the show render further ahead than that,
// whatever the frame rate (at 1,000 frames a second 64 ms are 64 frames): a quarter of a second,
// and never fewer than a few frames. The sound may queue far more than ever comes to pass.
constexpr double kVideoQueueSeconds = 0.25;
constexpr std::size_t kMinVideoQueueFrames = 8;
constexpr std::size_t kAudioQueueSeconds = 30;

} // namespace

Mp4Writer::~Mp4Writer() {
    abort();
}

bool Mp4Writer::open(const std::string& path, int srcW, int srcH, int w, int h, int fps, int sampleRate,
                     int ch, std::string& error, std::chrono::milliseconds stallLimit) {
    // The temporary file is made first: a folder that cannot take it fails before ffmpeg starts.
    if (!output.create(path, error)) return false;
    stallSeconds = std::chrono::duration_cast<std::chrono::seconds>(stallLimit).count();
    sourceWidth = srcW;
    sourceHeight = srcH;
    channels = ch;

    const std::string size = std::to_string(w) + "x" + std::to_string(h);
    const std::string rate = std::to_string(fps);
    const std::string samples = std::to_string(sampleRate);
    const std::string channelCount = std::to_string(ch);
    const std::string videoIn = childInputName(kVideoInput);
    const std::string audioIn = childInputName(kAudioInput);
    const std::vector<std::string> args = {
        kEncoderProgram, "-hide_banner", "-nostdin", "-loglevel", "error", "-y",
        // Both inputs are fully described, so nothing needs probing.
        // The picture: planar 4:2:0 frames at their final size, in BT.709 studio range.
        "-probesize", "32", "-analyzeduration", "0", "-f", "rawvideo", "-pix_fmt", "yuv420p", "-video_size",
        size, "-framerate", rate, "-color_range", "tv", "-colorspace", "bt709", "-color_primaries", "bt709",
        "-color_trc", "bt709", "-i", videoIn,
        // The sound: interleaved little-endian 16-bit samples.
        "-thread_queue_size", kAudioQueuePackets, "-probesize", "32", "-analyzeduration", "0", "-f", "s16le",
        "-ar", samples, "-ac", channelCount, "-i", audioIn, "-map", "0:v", "-map", "1:a", "-c:v", "libx264",
        "-preset", kVideoPreset, "-x264-params", kVideoTuning, "-crf", kVideoQuality, "-pix_fmt", "yuv420p",
        "-colorspace", "bt709", "-color_primaries", "bt709", "-color_trc", "bt709", "-color_range", "tv",
        "-c:a", "aac", "-b:a", kAudioBitrate,
        // The index first, so players can start before the whole file has arrived; the container
        // named, as the file's ending may not say it.
        "-movflags", "+faststart", "-f", "mp4", output.writingPath()};
    ChildProcess::Failure failure;
    encoder = startChildProcess(args, kInputs, failure);
    if (!encoder) {
        if (failure.step == ChildProcess::Failure::Step::Pipes)
            error = "could not create pipes for ffmpeg: " + systemErrorText(failure.systemError);
        else
            error = std::string("could not start ffmpeg (") + kEncoderSource +
                    "): " + systemErrorText(failure.systemError);
        output.discard();
        return false;
    }
    scaler = std::make_unique<Yuv420Scaler>(srcW, srcH, w, h);
    converted.resize(scaler->frameBytes());
    const std::size_t frameBytes = sizeof(std::uint32_t) * srcW * srcH;
    const std::size_t queueFrames =
        std::max(kMinVideoQueueFrames, static_cast<std::size_t>(std::ceil(fps * kVideoQueueSeconds)));
    video = std::make_unique<StreamFeeder>(
        *encoder, kVideoInput, queueFrames * frameBytes, stallLimit,
        [this, srcW](const StreamFeeder::Block& block, std::size_t& bytes) -> const void* {
            scaler->convert(reinterpret_cast<const std::uint32_t*>(block.data()),
                            srcW * static_cast<int>(sizeof(std::uint32_t)), converted.data());
            bytes = converted.size();
            return converted.data();
        });
    audio = std::make_unique<StreamFeeder>(
        *encoder, kAudioInput, kAudioQueueSeconds * sampleRate * ch * sizeof(std::int16_t), stallLimit);
    broken = false;
    return true;
}

bool Mp4Writer::writeFrame(const std::uint32_t* pixels, int width, int height, int pitch) {
    if (!isOpen() || broken || width != sourceWidth || height != sourceHeight) return false;
    const std::size_t rowBytes = sizeof(std::uint32_t) * sourceWidth;
    if (static_cast<std::size_t>(pitch) != rowBytes) {
        packed.resize(static_cast<std::size_t>(sourceWidth) * sourceHeight);
        for (int y = 0; y < sourceHeight; ++y)
            std::memcpy(&packed[static_cast<std::size_t>(y) * sourceWidth],
                        reinterpret_cast<const unsigned char*>(pixels) +
                            static_cast<std::ptrdiff_t>(y) * pitch,
                        rowBytes);
        pixels = packed.data();
    }
    if (!video->push(pixels, rowBytes * sourceHeight)) broken = true;
    return !broken;
}

bool Mp4Writer::writeAudio(const std::int16_t* samples, std::size_t frames) {
    if (!isOpen() || broken) return false;
    const std::size_t count = frames * channels;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    std::vector<std::int16_t> swapped(samples, samples + count);
    for (std::int16_t& s : swapped)
        s = static_cast<std::int16_t>(__builtin_bswap16(static_cast<std::uint16_t>(s)));
    samples = swapped.data();
#endif
    if (!audio->push(samples, count * sizeof(std::int16_t))) broken = true;
    return !broken;
}

bool Mp4Writer::finishEncoder(std::string& error) {
    const bool stalled = video->stalled() || audio->stalled();
    video.reset();
    audio.reset();
    ChildProcess::Exit exit;
    ChildProcess::Failure failure;
    const bool waited = encoder->wait(exit, failure);
    encoder.reset();
    if (!waited) {
        error = "could not wait for ffmpeg: " + systemErrorText(failure.systemError);
        return false;
    }
    if (stalled) {
        error = "ffmpeg took no data for " + std::to_string(stallSeconds) + " seconds while writing " +
                output.path();
        return false;
    }
    if (exit.exited && exit.code == 0) {
        if (!broken) return true;
        error = "ffmpeg stopped taking data for " + output.path();
        return false;
    }
    if (exit.exited)
        error = "ffmpeg could not write " + output.path() + " (exit code " + std::to_string(exit.code) + ")";
    else
        error = "ffmpeg ended abnormally while writing " + output.path();
    return false;
}

bool Mp4Writer::close(std::string& error) {
    if (!isOpen()) return true;
    // Both streams end once written out (ffmpeg may wait for the end of the sound before it takes
    // the last pictures); then it finishes the file and exits.
    video->endStream();
    audio->endStream();
    const bool videoWritten = video->finish();
    const bool audioWritten = audio->finish();
    if (!videoWritten || !audioWritten) {
        broken = true;
        encoder->terminate();
    }
    return finishEncoder(error);
}

void Mp4Writer::abort() {
    if (isOpen()) {
        encoder->terminate();
        std::string ignored;
        finishEncoder(ignored);
    }
    output.discard();
}
