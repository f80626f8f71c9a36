#include "platform/web/web_window.h"

#include <vector>

#include "platform/web/web_page.h"

namespace {

// 0x00RRGGBB, bytes B, G, R, unused in memory, as bytes R, G, B, A (opaque) for the canvas.
std::uint32_t canvasPixel(std::uint32_t pixel) {
    return 0xff000000u | (pixel & 0x00ff00u) | ((pixel >> 16) & 0xffu) | ((pixel & 0xffu) << 16);
}

class WebWindow : public Window {
public:
    WebWindow(Scaler s, FrameListener l) : scaler(s), listener(std::move(l)) {}

    void attachConsole(int, int, bool) override {}

    void present(const std::uint32_t* pixels, int width, int height, int pitch) override {
        if (listener) listener(pixels, width, height, pitch);
        rgba.resize(static_cast<std::size_t>(width) * height);
        std::uint32_t* out = rgba.data();
        for (int y = 0; y < height; ++y) {
            const std::uint32_t* row = reinterpret_cast<const std::uint32_t*>(
                reinterpret_cast<const unsigned char*>(pixels) + static_cast<std::size_t>(y) * pitch);
            for (int x = 0; x < width; ++x) *out++ = canvasPixel(row[x]);
        }
        int outputWidth = 0, outputHeight = 0;
        pageFitCanvas(outputWidth, outputHeight);
        const ScalePlan plan = planScale(scaler, outputWidth, outputHeight, width, height);
        pageDraw(rgba.data(), width, height, plan, scaler == Scaler::Smooth);
        pageWaitForAnimationFrame();
    }

protected:
    void pumpEvents() override {
        for (int key = pageNextKey(); key != 0; key = pageNextKey()) postMessage({MessageKind::KeyDown, key});
    }

private:
    Scaler scaler;
    FrameListener listener;
    std::vector<std::uint32_t> rgba;
};

} // namespace

std::unique_ptr<Window> createWebWindow(Scaler scaler, FrameListener listener) {
    return std::make_unique<WebWindow>(scaler, std::move(listener));
}
