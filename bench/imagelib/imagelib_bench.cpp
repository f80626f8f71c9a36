// Picture library speed: decoding 640x480 JPEG, PCX and TGA from memory, and the load-time
// operations the effects use on a 512x512 picture.
#include "forge/pcx/pcx_encoder.h"
#include "imagelib/bgl.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include <unistd.h>

namespace {

constexpr int kDecodeWidth = 640, kDecodeHeight = 480;
constexpr int kFilterSide = 512;
constexpr uint16_t kTextureSide = 256;

// A picture with smooth areas and detail, like a photograph more than noise.
std::vector<uint8_t> photoLike(int width, int height) {
    std::vector<uint8_t> rgb(size_t(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &rgb[(size_t(y) * width + x) * 3];
            p[0] = uint8_t(x * 255 / width);
            p[1] = uint8_t((x * y) >> 7);
            p[2] = uint8_t(((x / 16 + y / 16) % 2) * 120 + y / 4);
        }
    return rgb;
}

bglimage* rgbImage(int width, int height) {
    bglimage* image = bgl_create_image(uint16_t(width), uint16_t(height), 24, 0);
    const std::vector<uint8_t> rgb = photoLike(width, height);
    std::copy(rgb.begin(), rgb.end(), image->image);
    return image;
}

std::vector<uint8_t> jpegBytes() {
    const std::string path =
        (std::filesystem::temp_directory_path() / ("hv-bench-" + std::to_string(::getpid()) + ".jpg"))
            .string();
    bglimage* image = rgbImage(kDecodeWidth, kDecodeHeight);
    bgl_save_jpg(path.c_str(), image);
    bgl_free_image(image);
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    std::remove(path.c_str());
    return bytes;
}

std::vector<uint8_t> pcxBytes() {
    std::vector<uint8_t> indices(size_t(kDecodeWidth) * kDecodeHeight), palette(768);
    const std::vector<uint8_t> rgb = photoLike(kDecodeWidth, kDecodeHeight);
    for (size_t i = 0; i < indices.size(); ++i)
        indices[i] = uint8_t((rgb[i * 3] & 0xF0) | (rgb[i * 3 + 2] >> 4));
    return forge::encodePcx8(kDecodeWidth, kDecodeHeight, indices.data(), palette.data());
}

// Uncompressed 24-bit, bottom-up: the commonest layout.
std::vector<uint8_t> tgaBytes() {
    std::vector<uint8_t> file = {0,
                                 0,
                                 2,
                                 0,
                                 0,
                                 0,
                                 0,
                                 0,
                                 0,
                                 0,
                                 0,
                                 0,
                                 uint8_t(kDecodeWidth & 0xFF),
                                 uint8_t(kDecodeWidth >> 8),
                                 uint8_t(kDecodeHeight & 0xFF),
                                 uint8_t(kDecodeHeight >> 8),
                                 24,
                                 0};
    const std::vector<uint8_t> rgb = photoLike(kDecodeWidth, kDecodeHeight);
    file.insert(file.end(), rgb.begin(), rgb.end());
    return file;
}

template <typename Decode>
void decodeLoop(benchmark::State& state, const std::vector<uint8_t>& bytes, Decode decode) {
    for (auto _ : state) {
        bglimage* image = decode(bytes.data(), bytes.size(), BglReadLimits{});
        benchmark::DoNotOptimize(image);
        bgl_free_image(image);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kDecodeWidth * kDecodeHeight * 3);
}

void BM_DecodeJpeg640x480(benchmark::State& state) {
    decodeLoop(state, jpegBytes(), bgl_decode_jpg);
}
void BM_DecodePcx640x480(benchmark::State& state) {
    decodeLoop(state, pcxBytes(), bgl_decode_pcx);
}
void BM_DecodeTga640x480(benchmark::State& state) {
    decodeLoop(state, tgaBytes(), bgl_decode_tga);
}

// Runs `operation` on a fresh copy of a 512x512 picture of `depth` bits each iteration; only the
// operation is timed.
template <typename Operation> void inPlaceLoop(benchmark::State& state, int depth, Operation operation) {
    bglimage* source = rgbImage(kFilterSide, kFilterSide);
    if (depth == 32) bgl_convert_to_32bit(source);
    for (auto _ : state) {
        state.PauseTiming();
        bglimage* image = bgl_duplicate_image(source);
        state.ResumeTiming();
        benchmark::DoNotOptimize(operation(image));
        state.PauseTiming();
        bgl_free_image(image);
        state.ResumeTiming();
    }
    bgl_free_image(source);
}

void BM_ConvertTo32bit512(benchmark::State& state) {
    inPlaceLoop(state, 24, bgl_convert_to_32bit);
}
void BM_ScaleSize512To256(benchmark::State& state) {
    inPlaceLoop(state, 32, [](bglimage* image) { return bgl_scale_size(kTextureSide, kTextureSide, image); });
}
void BM_BlurMore512(benchmark::State& state) {
    inPlaceLoop(state, 32, bgl_blur_more);
}
void BM_Tiler512(benchmark::State& state) {
    inPlaceLoop(state, 32, bgl_tiler);
}

// The library prints progress lines while verbose; benchmarks measure it quiet.
// Its "verbose off" line is kept out of the report.
const bool quiet = [] {
    std::fflush(stdout);
    const int saved = dup(STDOUT_FILENO);
    std::FILE* sink = std::fopen("/dev/null", "w");
    if (sink) dup2(fileno(sink), STDOUT_FILENO);
    bgl_verbose_off();
    std::fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    if (sink) std::fclose(sink);
    return true;
}();

} // namespace

BENCHMARK(BM_DecodeJpeg640x480)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodePcx640x480)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeTga640x480)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertTo32bit512)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScaleSize512To256)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BlurMore512)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Tiler512)->Unit(benchmark::kMillisecond);
