#include "capture/y4m_writer.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <numeric>

namespace {

// BT.601 studio range.
inline int lumaOf(int r, int g, int b) {
    return ((66 * r + 129 * g + 25 * b + 128) >> 8) + 16;
}
inline int blueDiffOf(int r, int g, int b) {
    return ((-38 * r - 74 * g + 112 * b + 128) >> 8) + 128;
}
inline int redDiffOf(int r, int g, int b) {
    return ((112 * r - 94 * g - 18 * b + 128) >> 8) + 128;
}

} // namespace

Y4mWriter::~Y4mWriter() {
    discard();
}

bool Y4mWriter::open(const std::string& path, int framesPerSecond, std::string& error) {
    fps = framesPerSecond;
    headerWritten = false;
    if (!output.create(path, error)) return false;
    file = std::fopen(output.writingPath().c_str(), "wb");
    if (!file) {
        error = "could not create " + path + ": " + std::strerror(errno);
        output.discard();
        return false;
    }
    return true;
}

void Y4mWriter::discard() {
    if (file) std::fclose(file);
    file = nullptr;
    output.discard();
}

bool Y4mWriter::writeFrame(const std::uint32_t* pixels, int width, int height, int pitch,
                           std::string& error) {
    if (!headerWritten) {
        // Pixel aspect chosen so that the picture shows at 4:3.
        int aspectW = 4 * height, aspectH = 3 * width;
        const int g = std::gcd(aspectW, aspectH);
        std::fprintf(file, "YUV4MPEG2 W%d H%d F%d:1 Ip A%d:%d C420jpeg\n", width, height, fps, aspectW / g,
                     aspectH / g);
        headerWritten = true;
    }
    const int chromaW = (width + 1) / 2, chromaH = (height + 1) / 2;
    planes.assign(static_cast<std::size_t>(width) * height + 2 * chromaW * chromaH, 0);
    unsigned char* luma = planes.data();
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
    if (std::fputs("FRAME\n", file) < 0 ||
        std::fwrite(planes.data(), 1, planes.size(), file) != planes.size()) {
        error = "could not write " + output.path();
        return false;
    }
    return true;
}

bool Y4mWriter::close(std::string& error) {
    if (!file) return true;
    const bool ok = std::fclose(file) == 0;
    file = nullptr;
    if (!ok) error = "could not write " + output.path();
    return ok;
}
