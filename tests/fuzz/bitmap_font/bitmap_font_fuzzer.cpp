// Any bytes as a font file: loading, drawing text at the buffer's edges and making text pictures
// must stay inside their buffers.
#include "imagelib/bgl_image.h"
#include "resources/bitmap_font.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    constexpr int kWidth = 64, kHeight = 48;
    BitmapFont font;
    font.loadFromBytes(data, size);
    std::vector<uint8_t> pixels(size_t(kWidth) * kHeight * 4);
    const char* texts[] = {"HALCYONVECTRUM", "[CODE] a-z 0/9", "\xff\x80\x01"};
    for (const char* text : texts)
        for (int y : {-3, 0, 20, kHeight - 1})
            for (int x : {-300, 0, 30, kWidth - 2}) font.drawText(pixels.data(), kWidth, kHeight, text, x, y);
    for (const char* text : texts)
        if (bglimage* image = font.makeTextImage(text)) bgl_free_image(image);
    return 0;
}
