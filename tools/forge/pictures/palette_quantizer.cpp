#include "forge/pictures/palette_quantizer.h"

#include <algorithm>
#include <cstddef>

namespace forge {

namespace {

constexpr int kEntries = 256;
constexpr int kBlack = 0;

using Rgb = std::array<uint8_t, 3>;

struct Box {
    std::vector<Rgb> colours;
    int widestChannel() const {
        int best = 0, bestRange = -1;
        for (int c = 0; c < 3; ++c) {
            int low = 255, high = 0;
            for (const Rgb& rgb : colours) {
                low = std::min<int>(low, rgb[size_t(c)]);
                high = std::max<int>(high, rgb[size_t(c)]);
            }
            if (high - low > bestRange) {
                bestRange = high - low;
                best = c;
            }
        }
        return bestRange > 0 ? best : -1;
    }
};

} // namespace

IndexedPicture quantize(const std::vector<uint8_t>& rgb) {
    const size_t pixels = rgb.size() / 3;
    std::vector<Rgb> colours;
    for (size_t i = 0; i < pixels; ++i) {
        const Rgb c{rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]};
        if (c != Rgb{0, 0, 0}) colours.push_back(c);
    }
    // Median cut: split the box holding the most colours along its widest channel.
    std::vector<Box> boxes;
    if (!colours.empty()) boxes.push_back(Box{std::move(colours)});
    while (boxes.size() < size_t(kEntries - 1)) {
        size_t chosen = boxes.size();
        for (size_t i = 0; i < boxes.size(); ++i)
            if (boxes[i].colours.size() > 1 && boxes[i].widestChannel() >= 0 &&
                (chosen == boxes.size() || boxes[i].colours.size() > boxes[chosen].colours.size()))
                chosen = i;
        if (chosen == boxes.size()) break;
        Box& box = boxes[chosen];
        const size_t channel = size_t(box.widestChannel());
        // A full ordering keeps the split the same with every sort implementation.
        std::sort(box.colours.begin(), box.colours.end(), [channel](const Rgb& a, const Rgb& b) {
            return a[channel] != b[channel] ? a[channel] < b[channel] : a < b;
        });
        const size_t half = box.colours.size() / 2;
        Box upper{std::vector<Rgb>(box.colours.begin() + ptrdiff_t(half), box.colours.end())};
        box.colours.resize(half);
        boxes.push_back(std::move(upper));
    }

    IndexedPicture out;
    for (size_t b = 0; b < boxes.size(); ++b) {
        unsigned sum[3] = {0, 0, 0};
        for (const Rgb& c : boxes[b].colours)
            for (int k = 0; k < 3; ++k) sum[k] += c[size_t(k)];
        for (int k = 0; k < 3; ++k) {
            const unsigned mean =
                (sum[k] + unsigned(boxes[b].colours.size()) / 2) / unsigned(boxes[b].colours.size());
            // Never pure black: that entry belongs to the transparent pixels alone.
            out.palette[(b + 1) * 3 + size_t(k)] = uint8_t(std::max(mean, k == 2 ? 1u : 0u));
        }
    }
    const int used = int(boxes.size()) + 1;
    out.indices.resize(pixels);
    for (size_t i = 0; i < pixels; ++i) {
        const int r = rgb[3 * i], g = rgb[3 * i + 1], b = rgb[3 * i + 2];
        if (r == 0 && g == 0 && b == 0) {
            out.indices[i] = kBlack;
            continue;
        }
        int best = 1, bestDistance = 1 << 30;
        for (int e = 1; e < used; ++e) {
            const int dr = r - out.palette[size_t(e) * 3], dg = g - out.palette[size_t(e) * 3 + 1],
                      db = b - out.palette[size_t(e) * 3 + 2];
            const int distance = dr * dr * 3 + dg * dg * 4 + db * db * 2;
            if (distance < bestDistance) {
                bestDistance = distance;
                best = e;
            }
        }
        out.indices[i] = uint8_t(best);
    }
    return out;
}

} // namespace forge
