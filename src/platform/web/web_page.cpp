#include "platform/web/web_page.h"

#include <emscripten.h>

#include <cinttypes>
#include <cstdio>

// The run's page object. Every call tolerates a page that left something out (a bare test page).
// clang-format off
// A run that ends while resumed here (exit() throws ExitStatus to unwind) has already told the page.
EM_JS(void, hv_page_wait_for_animation_frame, (), {
    return Asyncify.handleSleep(function(wakeUp) {
        requestAnimationFrame(function() {
            try {
                wakeUp();
            } catch (e) {
                if (!(e instanceof ExitStatus)) throw e;
            }
        });
    });
});

EM_JS(void, hv_page_fit_canvas, (int* size), {
    var page = Module["hvPage"];
    var fitted = page && page.fitCanvas ? page.fitCanvas() : [320, 240];
    HEAP32[size >> 2] = fitted[0];
    HEAP32[(size >> 2) + 1] = fitted[1];
});

EM_JS(void, hv_page_draw, (const void* rgba, int width, int height, const int* plan, int smooth), {
    var page = Module["hvPage"];
    if (!page || !page.draw) return;
    var pixels = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
    var p = plan >> 2;
    page.draw(pixels, width, height, { x: HEAP32[p], y: HEAP32[p + 1], width: HEAP32[p + 2],
        height: HEAP32[p + 3], factor: HEAP32[p + 4], smooth: smooth != 0 });
});

EM_JS(int, hv_page_next_key, (), {
    var page = Module["hvPage"];
    return page && page.nextKey ? page.nextKey() | 0 : 0;
});

EM_JS(void, hv_page_show_error, (const char* title, const char* text), {
    var page = Module["hvPage"];
    if (page && page.showError) page.showError(UTF8ToString(title), UTF8ToString(text));
});

EM_JS(void, hv_page_frame_shown, (double frame, const char* checksum, const char* effect), {
    var page = Module["hvPage"];
    if (page && page.frameShown) page.frameShown(frame, UTF8ToString(checksum), UTF8ToString(effect));
});

EM_JS(void, hv_page_log_line, (const char* line), {
    var page = Module["hvPage"];
    if (page && page.logLine) page.logLine(UTF8ToString(line));
});
// clang-format on

void pageWaitForAnimationFrame() {
    hv_page_wait_for_animation_frame();
}

void pageFitCanvas(int& width, int& height) {
    int size[2] = {0, 0};
    hv_page_fit_canvas(size);
    width = size[0];
    height = size[1];
}

void pageDraw(const std::uint32_t* rgba, int width, int height, const ScalePlan& plan, bool smooth) {
    const int numbers[5] = {plan.target.x, plan.target.y, plan.target.width, plan.target.height, plan.factor};
    hv_page_draw(rgba, width, height, numbers, smooth ? 1 : 0);
}

int pageNextKey() {
    return hv_page_next_key();
}

void pageShowError(const std::string& title, const std::string& text) {
    hv_page_show_error(title.c_str(), text.c_str());
}

void pageFrameShown(long frame, std::uint64_t checksum, const std::string& effect) {
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016" PRIx64, checksum);
    hv_page_frame_shown(static_cast<double>(frame), hex, effect.c_str());
}

void pageLogLine(const std::string& line) {
    hv_page_log_line(line.c_str());
}

double pageMilliseconds() {
    return emscripten_get_now();
}
