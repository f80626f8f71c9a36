#include "capture/capture_session.h"

#include <vector>

#include "capture/stop_request.h"
#include "core/audio_format.h"
#include "core/screen.h"

CaptureSession::CaptureSession(CaptureOptions o) : options(std::move(o)) {
    if (options.fps < 1) options.fps = 1;
    if (options.every < 1) options.every = 1;
    if (options.scale < 1) options.scale = 1;
    if (options.seconds > 0.0) frameLimit = static_cast<long>(options.seconds * options.fps + 0.5);
    if (options.songSeconds > 0.0)
        songFrameLimit = static_cast<long>(options.songSeconds * options.fps + 0.5);
    if (options.startSync < 0 && options.startSeconds < 0.0) outputStartFrame = 0;
}

CaptureSession::~CaptureSession() {
    discard();
}

bool CaptureSession::open(std::string& error) {
    // Every file first, ffmpeg last: a path that cannot be written fails before anything runs.
    const bool opened = (options.y4mPath.empty() || y4m.open(options.y4mPath, options.fps, error)) &&
                        (options.wavPath.empty() || wav.open(options.wavPath, error)) &&
                        (options.pngDir.empty() || pngs.open(options.pngDir, error)) &&
                        (options.mp4Path.empty() ||
                         mp4.open(options.mp4Path, kScreenWidth, kScreenHeight, kMp4Width, kMp4Height,
                                  options.fps, kAudioSampleRate, kAudioChannels, error));
    if (!opened) discard();
    return opened;
}

bool CaptureSession::close(std::string& error) {
    std::string fileError;
    if (!wav.close(fileError)) fail(fileError);
    if (!y4m.close(fileError)) fail(fileError);
    if (!mp4.close(fileError)) fail(fileError);
    error = firstError;
    return firstError.empty();
}

bool CaptureSession::commit(std::string& error) {
    if (!wav.commit(error) || !y4m.commit(error) || !mp4.commit(error)) return false;
    pngs.keep();
    return true;
}

void CaptureSession::discard() {
    mp4.abort();
    wav.discard();
    y4m.discard();
    pngs.discard();
}

void CaptureSession::fail(const std::string& message) {
    if (firstError.empty()) firstError = message;
}

void CaptureSession::musicStarted() {
    if (musicStartFrame < 0) musicStartFrame = frame;
}

void CaptureSession::noteSync(int value) {
    if (outputStartFrame < 0 && options.startSync >= 0 && value == options.startSync)
        outputStartFrame = frame;
}

bool CaptureSession::outputStarted() {
    if (outputStartFrame < 0 && options.startSeconds >= 0.0 && musicStartFrame >= 0 &&
        frame - musicStartFrame >= static_cast<long>(options.startSeconds * options.fps + 0.5))
        outputStartFrame = frame;
    return outputStartFrame >= 0;
}

bool CaptureSession::finished() const {
    return !firstError.empty() || stopped || (frameLimit >= 0 && written >= frameLimit) ||
           (songFrameLimit >= 0 && musicStartFrame >= 0 && frame - musicStartFrame >= songFrameLimit);
}

std::size_t CaptureSession::samplesForFrame(long index) const {
    // Frame n covers samples [n * rate / fps, (n + 1) * rate / fps): no drift for any fps.
    const auto edge = [this](long n) {
        return static_cast<std::uint64_t>(n) * kAudioSampleRate / options.fps;
    };
    return static_cast<std::size_t>(edge(index + 1) - edge(index));
}

std::size_t CaptureSession::audioFramesDue() const {
    return (audioWritten || finished()) ? 0 : samplesForFrame(frame);
}

void CaptureSession::writeAudio(const std::int16_t* samples, std::size_t frames) {
    if (finished()) return;
    audioWritten = true;
    if (!outputStarted()) return;
    if (mp4.isOpen() && !mp4.writeAudio(samples, frames))
        fail("ffmpeg stopped taking the sound of " + options.mp4Path);
    std::string wavError;
    if (wav.isOpen() && !wav.write(samples, frames, wavError)) fail(wavError);
}

void CaptureSession::present(const std::uint32_t* pixels, int width, int height, int pitch) {
    if (finished()) return;
    if (!audioWritten) {
        std::vector<std::int16_t> silence(samplesForFrame(frame) * kAudioChannels, 0);
        writeAudio(silence.data(), silence.size() / kAudioChannels);
    }
    const bool writing = outputStarted();
    if (writing) writeFrameFiles(pixels, width, height, pitch);
    if (onFrame)
        onFrame({pixels, width, height, pitch, frame, writing ? written : -1,
                 musicStartFrame >= 0 ? frame - musicStartFrame : -1});
    if (writing) ++written;
    ++frame;
    audioWritten = false;
    // Seen between frames only, so that the sound and the pictures end together.
    if (stopSignal() != 0) stopped = true;
}

void CaptureSession::writeFrameFiles(const std::uint32_t* pixels, int width, int height, int pitch) {
    const bool pngDue = pngs.isOpen() && written % options.every == 0;
    if (pngDue || y4m.isOpen()) {
        const FrameSize size = scaledFrameSize(width, height, options.scale, options.aspect);
        if (!fileScaler || fileScaler->width() != size.width || fileScaler->height() != size.height)
            fileScaler = std::make_unique<FrameScaler>(width, height, size.width, size.height);
        const std::uint32_t* out = pixels;
        int outPitch = pitch;
        if (!fileScaler->identity()) {
            fileScaler->scale(pixels, pitch, scaled);
            out = scaled.data();
            outPitch = size.width * static_cast<int>(sizeof(std::uint32_t));
        }
        std::string error;
        if (pngDue && !pngs.write(written, out, size.width, size.height, outPitch, error)) fail(error);
        std::string y4mError;
        if (y4m.isOpen() && !y4m.writeFrame(out, size.width, size.height, outPitch, y4mError)) fail(y4mError);
    }
    if (mp4.isOpen() && !mp4.writeFrame(pixels, width, height, pitch))
        fail("ffmpeg stopped taking the frames of " + options.mp4Path);
}
