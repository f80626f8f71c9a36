#include "capture/show_contact_sheet.h"

#include <algorithm>

#include "imagelib/bgl_image.h"
#include "resources/bitmap_font.h"

namespace {

constexpr int kSheetQuality = 90;
constexpr std::uint8_t kBackground[3] = {22, 22, 30};
// The first label line (the time) is dimmer than the second (the effect).
constexpr unsigned kLineBrightness[ShowContactSheet::kLabelLines] = {170, 255};

struct SheetPixels {
    int width, height;
    std::vector<std::uint8_t> rgb;
    std::uint8_t* at(int x, int y) { return &rgb[(static_cast<std::size_t>(y) * width + x) * 3]; }
};

// A text line at half the font's size (each 2x2 block of the text picture averaged), lighter
// than what is beneath, cut at maxWidth.
void drawLabel(SheetPixels& sheet, const BitmapFont& font, const std::string& text, int x, int y,
               int maxWidth, unsigned brightness) {
    bglimage* image = font.makeTextImage(text.c_str());
    if (!image) return;
    const int w = std::min(image->width / 2, maxWidth), h = image->height / 2;
    const auto grey = [image](int px, int py) {
        return static_cast<unsigned>(image->image[(static_cast<std::size_t>(py) * image->width + px) * 4]);
    };
    for (int ty = 0; ty < h; ++ty)
        for (int tx = 0; tx < w; ++tx) {
            const unsigned sum = grey(2 * tx, 2 * ty) + grey(2 * tx + 1, 2 * ty) + grey(2 * tx, 2 * ty + 1) +
                                 grey(2 * tx + 1, 2 * ty + 1);
            const unsigned level = sum / 4 * brightness / 255;
            std::uint8_t* out = sheet.at(x + tx, y + ty);
            for (int c = 0; c < 3; ++c) out[c] = static_cast<std::uint8_t>(std::max<unsigned>(out[c], level));
        }
    bgl_free_image(image);
}

int cellStepX() {
    return ShowContactSheet::kCellWidth + ShowContactSheet::kGap;
}
int cellStepY() {
    return ShowContactSheet::kCellHeight +
           ShowContactSheet::kLabelLines * ShowContactSheet::kLabelLineHeight + ShowContactSheet::kGap;
}

} // namespace

void ShowContactSheet::add(const CapturedFrame& frame, const std::string& firstLine,
                           const std::string& secondLine) {
    Entry entry;
    entry.lines[0] = firstLine;
    entry.lines[1] = secondLine;
    entry.rgb.resize(static_cast<std::size_t>(kCellWidth) * kCellHeight * 3);
    // Each cell pixel is the average of the frame pixels its area covers (at least one).
    std::uint8_t* out = entry.rgb.data();
    for (int y = 0; y < kCellHeight; ++y) {
        const int y0 = y * frame.height / kCellHeight;
        const int y1 = std::max(y0 + 1, (y + 1) * frame.height / kCellHeight);
        for (int x = 0; x < kCellWidth; ++x) {
            const int x0 = x * frame.width / kCellWidth;
            const int x1 = std::max(x0 + 1, (x + 1) * frame.width / kCellWidth);
            unsigned sum[3] = {0, 0, 0}, count = 0;
            for (int sy = y0; sy < y1; ++sy) {
                const auto* row = reinterpret_cast<const std::uint32_t*>(
                    reinterpret_cast<const unsigned char*>(frame.pixels) +
                    static_cast<std::ptrdiff_t>(sy) * frame.pitch);
                for (int sx = x0; sx < x1; ++sx, ++count) {
                    sum[0] += row[sx] >> 16 & 0xff;
                    sum[1] += row[sx] >> 8 & 0xff;
                    sum[2] += row[sx] & 0xff;
                }
            }
            for (int c = 0; c < 3; ++c) *out++ = static_cast<std::uint8_t>((sum[c] + count / 2) / count);
        }
    }
    entries.push_back(std::move(entry));
}

int ShowContactSheet::width() const {
    return kGap + kColumns * cellStepX();
}

int ShowContactSheet::height() const {
    const int rows = std::max(1, (cells() + kColumns - 1) / kColumns);
    return kGap + rows * cellStepY();
}

bool ShowContactSheet::write(const std::string& path, StillFormat format, const BitmapFont& font,
                             std::string& error) const {
    SheetPixels sheet{width(), height(), {}};
    sheet.rgb.resize(static_cast<std::size_t>(sheet.width) * sheet.height * 3);
    for (std::size_t i = 0; i < sheet.rgb.size(); ++i) sheet.rgb[i] = kBackground[i % 3];

    for (int i = 0; i < cells(); ++i) {
        const Entry& entry = entries[i];
        const int x = kGap + (i % kColumns) * cellStepX();
        const int y = kGap + (i / kColumns) * cellStepY();
        for (int row = 0; row < kCellHeight; ++row)
            std::copy_n(&entry.rgb[static_cast<std::size_t>(row) * kCellWidth * 3], kCellWidth * 3,
                        sheet.at(x, y + row));
        for (int line = 0; line < kLabelLines; ++line)
            drawLabel(sheet, font, entry.lines[line], x, y + kCellHeight + 1 + line * kLabelLineHeight,
                      kCellWidth, kLineBrightness[line]);
    }
    return writeStill(path, format, sheet.rgb.data(), sheet.width, sheet.height, kSheetQuality, error);
}
