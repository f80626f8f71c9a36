#include "platform/capture_session.h"

#include <cerrno>
#include <cstring>
#include <numeric>
#include <vector>

#include "platform/png_writer.h"

namespace {

constexpr int kWavHeaderBytes = 44;
constexpr std::uint64_t kMaxWavDataBytes = 0xffffffffull - kWavHeaderBytes;

void putLe(std::vector<unsigned char>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

std::vector<unsigned char> wavHeader(std::uint32_t dataBytes) {
    std::vector<unsigned char> h;
    const int blockAlign = CaptureSession::kChannels * 2;
    h.insert(h.end(), {'R', 'I', 'F', 'F'});
    putLe(h, dataBytes + kWavHeaderBytes - 8, 4);
    h.insert(h.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    putLe(h, 16, 4);
    putLe(h, 1, 2); // PCM
    putLe(h, CaptureSession::kChannels, 2);
    putLe(h, CaptureSession::kSampleRate, 4);
    putLe(h, CaptureSession::kSampleRate * blockAlign, 4);
    putLe(h, blockAlign, 2);
    putLe(h, 16, 2);
    h.insert(h.end(), {'d', 'a', 't', 'a'});
    putLe(h, dataBytes, 4);
    return h;
}

// BT.601 studio range, the colour space y4m players assume.
inline int lumaOf(int r, int g, int b) {
    return ((66 * r + 129 * g + 25 * b + 128) >> 8) + 16;
}
inline int blueDiffOf(int r, int g, int b) {
    return ((-38 * r - 74 * g + 112 * b + 128) >> 8) + 128;
}
inline int redDiffOf(int r, int g, int b) {
    return ((112 * r - 94 * g - 18 * b + 128) >> 8) + 128;
}

class CaptureWindow : public Window {
public:
    explicit CaptureWindow(CaptureSession& s) : session(s) {}
    void attachConsole(int, int, bool) override {}
    void present(const std::uint32_t* pixels, int width, int height, int pitch) override {
        session.present(pixels, width, height, pitch);
    }

protected:
    void pumpEvents() override {
        if (session.finished() && !closeRequested) {
            closeRequested = true;
            postMessage({MessageKind::Close, 0});
        }
    }

private:
    CaptureSession& session;
    bool closeRequested = false;
};

} // namespace

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
    std::string ignored;
    close(ignored);
}

bool CaptureSession::open(std::string& error) {
    if (!options.y4mPath.empty()) {
        y4m = std::fopen(options.y4mPath.c_str(), "wb");
        if (!y4m) {
            error = "could not create " + options.y4mPath + ": " + std::strerror(errno);
            return false;
        }
    }
    if (!options.wavPath.empty()) {
        wav = std::fopen(options.wavPath.c_str(), "wb");
        std::vector<unsigned char> header = wavHeader(0);
        if (!wav || std::fwrite(header.data(), 1, header.size(), wav) != header.size()) {
            error = "could not create " + options.wavPath + ": " + std::strerror(errno);
            return false;
        }
    }
    if (!options.mp4Path.empty() &&
        !mp4.open(options.mp4Path, kMp4Width, kMp4Height, options.fps, kSampleRate, kChannels, error))
        return false;
    return true;
}

bool CaptureSession::close(std::string& error) {
    if (wav) {
        std::vector<unsigned char> header = wavHeader(static_cast<std::uint32_t>(wavBytes));
        if (std::fseek(wav, 0, SEEK_SET) != 0 ||
            std::fwrite(header.data(), 1, header.size(), wav) != header.size())
            fail("could not write " + options.wavPath);
        if (std::fclose(wav) != 0) fail("could not write " + options.wavPath);
        wav = nullptr;
    }
    if (y4m) {
        if (std::fclose(y4m) != 0) fail("could not write " + options.y4mPath);
        y4m = nullptr;
    }
    std::string mp4Error;
    if (!mp4.close(mp4Error)) fail(mp4Error);
    error = firstError;
    return firstError.empty();
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
    return !firstError.empty() || (frameLimit >= 0 && written >= frameLimit) ||
           (songFrameLimit >= 0 && musicStartFrame >= 0 && frame - musicStartFrame >= songFrameLimit);
}

std::size_t CaptureSession::samplesForFrame(long index) const {
    // Frame n covers samples [n * rate / fps, (n + 1) * rate / fps): no drift for any fps.
    const auto edge = [this](long n) { return static_cast<std::uint64_t>(n) * kSampleRate / options.fps; };
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
    if (!wav) return;
    const std::size_t bytes = frames * kChannels * sizeof(std::int16_t);
    if (wavBytes + bytes > kMaxWavDataBytes) {
        fail(options.wavPath + " would exceed the wav size limit");
        return;
    }
    // Little-endian samples whatever the host.
    std::vector<unsigned char> out;
    out.reserve(bytes);
    for (std::size_t i = 0; i < frames * kChannels; ++i)
        putLe(out, static_cast<std::uint16_t>(samples[i]), 2);
    if (std::fwrite(out.data(), 1, out.size(), wav) != out.size()) fail("could not write " + options.wavPath);
    wavBytes += bytes;
}

void CaptureSession::present(const std::uint32_t* pixels, int width, int height, int pitch) {
    if (finished()) return;
    if (!audioWritten) {
        std::vector<std::int16_t> silence(samplesForFrame(frame) * kChannels, 0);
        writeAudio(silence.data(), silence.size() / kChannels);
    }
    const bool writing = outputStarted();
    if (writing) writeFrameFiles(pixels, width, height, pitch);
    if (onFrame)
        onFrame({pixels, width, height, pitch, frame, writing ? written : -1,
                 musicStartFrame >= 0 ? frame - musicStartFrame : -1});
    if (writing) ++written;
    ++frame;
    audioWritten = false;
}

void CaptureSession::writeFrameFiles(const std::uint32_t* pixels, int width, int height, int pitch) {
    const bool pngDue = !options.pngDir.empty() && written % options.every == 0;
    if (pngDue || y4m) {
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
        if (pngDue) {
            char name[32];
            std::snprintf(name, sizeof name, "/frame%06ld.png", written);
            std::string error;
            if (!writePng(options.pngDir + name, out, size.width, size.height, outPitch, error)) fail(error);
        }
        if (y4m) writeY4mFrame(out, size.width, size.height, outPitch);
    }
    if (mp4.isOpen()) {
        if (!mp4Scaler) mp4Scaler = std::make_unique<FrameScaler>(width, height, kMp4Width, kMp4Height);
        mp4Scaler->scale(pixels, pitch, scaled);
        if (!mp4.writeFrame(scaled.data())) fail("ffmpeg stopped taking the frames of " + options.mp4Path);
    }
}

void CaptureSession::writeY4mFrame(const std::uint32_t* pixels, int width, int height, int pitch) {
    if (!y4mHeaderWritten) {
        // Pixel aspect chosen so that the picture shows at 4:3, as it was made to be seen.
        int aspectW = 4 * height, aspectH = 3 * width;
        const int g = std::gcd(aspectW, aspectH);
        std::fprintf(y4m, "YUV4MPEG2 W%d H%d F%d:1 Ip A%d:%d C420jpeg\n", width, height, options.fps,
                     aspectW / g, aspectH / g);
        y4mHeaderWritten = true;
    }
    const int chromaW = (width + 1) / 2, chromaH = (height + 1) / 2;
    std::vector<unsigned char> plane(static_cast<std::size_t>(width) * height + 2 * chromaW * chromaH);
    unsigned char* luma = plane.data();
    unsigned char* cb = luma + static_cast<std::size_t>(width) * height;
    unsigned char* cr = cb + chromaW * chromaH;
    const auto at = [&](int x, int y) {
        return reinterpret_cast<const std::uint32_t*>(reinterpret_cast<const unsigned char*>(pixels) +
                                                      static_cast<std::size_t>(y) * pitch)[x];
    };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint32_t p = at(x, y);
            luma[y * width + x] = static_cast<unsigned char>(lumaOf(p >> 16 & 0xff, p >> 8 & 0xff, p & 0xff));
        }
    for (int cy = 0; cy < chromaH; ++cy)
        for (int cx = 0; cx < chromaW; ++cx) {
            int r = 0, g = 0, b = 0, n = 0;
            for (int y = 2 * cy; y < std::min(2 * cy + 2, height); ++y)
                for (int x = 2 * cx; x < std::min(2 * cx + 2, width); ++x, ++n) {
                    std::uint32_t p = at(x, y);
                    r += p >> 16 & 0xff;
                    g += p >> 8 & 0xff;
                    b += p & 0xff;
                }
            r /= n, g /= n, b /= n;
            cb[cy * chromaW + cx] = static_cast<unsigned char>(blueDiffOf(r, g, b));
            cr[cy * chromaW + cx] = static_cast<unsigned char>(redDiffOf(r, g, b));
        }
    if (std::fputs("FRAME\n", y4m) < 0 || std::fwrite(plane.data(), 1, plane.size(), y4m) != plane.size())
        fail("could not write " + options.y4mPath);
}

std::unique_ptr<Window> createCaptureWindow(CaptureSession& session) {
    return std::make_unique<CaptureWindow>(session);
}
