#include "capture/wav_writer.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include "core/audio_format.h"

namespace {

constexpr int kWavHeaderBytes = 44;
constexpr std::uint64_t kMaxWavDataBytes = 0xffffffffull - kWavHeaderBytes;
constexpr int kBytesPerSample = 2;

void putLe(std::vector<unsigned char>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

std::vector<unsigned char> wavHeader(std::uint32_t dataBytes) {
    std::vector<unsigned char> h;
    const int blockAlign = kAudioChannels * kBytesPerSample;
    h.insert(h.end(), {'R', 'I', 'F', 'F'});
    putLe(h, dataBytes + kWavHeaderBytes - 8, 4);
    h.insert(h.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    putLe(h, 16, 4);
    putLe(h, 1, 2); // PCM
    putLe(h, kAudioChannels, 2);
    putLe(h, kAudioSampleRate, 4);
    putLe(h, kAudioSampleRate * blockAlign, 4);
    putLe(h, blockAlign, 2);
    putLe(h, 8 * kBytesPerSample, 2);
    h.insert(h.end(), {'d', 'a', 't', 'a'});
    putLe(h, dataBytes, 4);
    return h;
}

} // namespace

WavWriter::~WavWriter() {
    discard();
}

bool WavWriter::open(const std::string& path, std::string& error) {
    dataBytes = 0;
    if (!output.create(path, error)) return false;
    file = std::fopen(output.writingPath().c_str(), "wb");
    const std::vector<unsigned char> header = wavHeader(0);
    if (!file || std::fwrite(header.data(), 1, header.size(), file) != header.size()) {
        error = "could not create " + path + ": " + std::strerror(errno);
        discard();
        return false;
    }
    return true;
}

void WavWriter::discard() {
    if (file) std::fclose(file);
    file = nullptr;
    output.discard();
}

bool WavWriter::write(const std::int16_t* samples, std::size_t frames, std::string& error) {
    const std::size_t bytes = frames * kAudioChannels * sizeof(std::int16_t);
    if (dataBytes + bytes > kMaxWavDataBytes) {
        error = output.path() + " would exceed the wav size limit";
        return false;
    }
    std::vector<unsigned char> out;
    out.reserve(bytes);
    for (std::size_t i = 0; i < frames * kAudioChannels; ++i)
        putLe(out, static_cast<std::uint16_t>(samples[i]), kBytesPerSample);
    const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    dataBytes += bytes;
    if (!written) error = "could not write " + output.path();
    return written;
}

bool WavWriter::close(std::string& error) {
    if (!file) return true;
    const std::vector<unsigned char> header = wavHeader(static_cast<std::uint32_t>(dataBytes));
    bool ok = std::fseek(file, 0, SEEK_SET) == 0 &&
              std::fwrite(header.data(), 1, header.size(), file) == header.size();
    ok = std::fclose(file) == 0 && ok;
    file = nullptr;
    if (!ok) error = "could not write " + output.path();
    return ok;
}
