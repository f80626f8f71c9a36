// The show's frame budget in one table. The whole show is captured without output at 60 frames a
// second, each effect's frames timed one by one and grouped by effect and phase; the blend
// primitives and pixman's compositing of the same pictures are timed beside them. Every time is
// also given as a ratio to a full-frame copy (Bitmap::draw of 320x200) measured in the same run,
// so that a busy machine slows the unit and the thing measured alike. Times are the thread's CPU
// time, which a preempted thread does not accrue; the whole show gives wall time as well.
// Run from the bin folder: the show reads data/.
#include <pixman.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "capture/capture.h"
#include "core/screen.h"
#include "effects/credits_effect.h"
#include "effects/first_zoom.h"
#include "effects/gold_scene.h"
#include "effects/metaball_scene.h"
#include "effects/second_warp.h"
#include "effects/second_zoom.h"
#include "effects/tunnel_effect.h"
#include "music/module_player.h"
#include "render2d/bitmap.h"
#include "shell/effect_registry.h"
#include "shell/timeline.h"

namespace {

constexpr int kFps = 60;
constexpr double kEffectBudget = 100.0; // frame copies per frame of a 2D effect
constexpr double kSceneBudget = 300.0;  // ... and of a 3D scene
constexpr double kPrimitiveBudget = 8.0;
constexpr double kLoadBudgetMs = 200.0;
constexpr double kShowSpeedTarget = 60.0; // seconds of show per second of capture
constexpr int kCopySamples = 400;
constexpr int kCopiesPerSample = 40;
constexpr int kPrimitiveSamples = 100;
constexpr int kCallsPerSample = 10;

double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

double processSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

double wallSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double median(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// ---- primitives ----

std::vector<Pixel> randomScreen(std::uint32_t seed, Pixel fourthByte = 0) {
    std::mt19937 random(seed);
    std::vector<Pixel> pixels(kScreenPixels);
    for (Pixel& p : pixels) p = (random() & kColourMask) | fourthByte;
    return pixels;
}

// Median microseconds of one call, from samples of several calls each.
template <class Fn> double microsecondsPerCall(Fn fn, int samples, int callsPerSample) {
    std::vector<double> perCall;
    for (int s = 0; s < samples; ++s) {
        const double start = threadSeconds();
        for (int c = 0; c < callsPerSample; ++c) fn();
        perCall.push_back((threadSeconds() - start) * 1e6 / callsPerSample);
    }
    return median(perCall);
}

struct Screens {
    std::vector<Pixel> source = randomScreen(1);
    std::vector<Pixel> screen = randomScreen(2);
    Bitmap bitmap{source.data(), kScreenWidth, kScreenHeight};
};

double frameCopyMicroseconds(Screens& s) {
    return microsecondsPerCall([&] { s.bitmap.draw(s.screen.data(), kScreenWidth, kScreenHeight, 0, 0); },
                               kCopySamples, kCopiesPerSample);
}

struct PrimitiveTime {
    const char* name;
    double microseconds;
};

std::vector<PrimitiveTime> timePrimitives(Screens& s) {
    Pixel* d = s.screen.data();
    const Bitmap& b = s.bitmap;
    constexpr int w = kScreenWidth, h = kScreenHeight;
    const auto time = [](auto fn) { return microsecondsPerCall(fn, kPrimitiveSamples, kCallsPerSample); };
    std::vector<PrimitiveTime> times = {
        {"drawTransparent", time([&] { b.drawTransparent(d, w, h, 0, 0); })},
        {"drawAdd", time([&] { b.drawAdd(d, w, h, 0, 0); })},
        {"drawSubtract", time([&] { b.drawSubtract(d, w, h, 0, 0); })},
        {"drawAddScaled (0.5)", time([&] { b.drawAddScaled(d, w, h, 0, 0, 0.5f); })},
        {"drawBlend (0.5)", time([&] { b.drawBlend(d, w, h, 0, 0, 0.5f); })},
        {"drawFaded (0.5)", time([&] { b.drawFaded(d, w, h, 0, 0, 0.5f); })},
        {"drawStretched (1:1)", time([&] { b.drawStretched(d, w, h, 0.0f, 0.0f, w, h); })},
        {"scaleInPlace (1.0)", time([&] { Bitmap(d, w, h).scaleInPlace(1.0f); })},
    };

    // pixman's SRC, ADD and OVER (the source at half alpha) of the same a8r8g8b8 pictures.
    std::vector<Pixel> halfAlpha = randomScreen(1, 0x80000000u);
    constexpr int stride = kScreenWidth * static_cast<int>(sizeof(Pixel));
    pixman_image_t* src = pixman_image_create_bits(PIXMAN_a8r8g8b8, w, h, s.source.data(), stride);
    pixman_image_t* half = pixman_image_create_bits(PIXMAN_a8r8g8b8, w, h, halfAlpha.data(), stride);
    pixman_image_t* dst = pixman_image_create_bits(PIXMAN_a8r8g8b8, w, h, d, stride);
    const auto pixman = [&](pixman_op_t op, pixman_image_t* from) {
        return time([&] { pixman_image_composite32(op, from, nullptr, dst, 0, 0, 0, 0, 0, 0, w, h); });
    };
    times.push_back({"pixman SRC (copy)", pixman(PIXMAN_OP_SRC, src)});
    times.push_back({"pixman ADD", pixman(PIXMAN_OP_ADD, src)});
    times.push_back({"pixman OVER (half alpha)", pixman(PIXMAN_OP_OVER, half)});
    pixman_image_unref(src);
    pixman_image_unref(half);
    pixman_image_unref(dst);
    return times;
}

// ---- the whole show ----

// The phase an effect drew its frame in, for those that have phases.
int phaseOf(const Effect* effect) {
    if (const auto* e = dynamic_cast<const FirstZoom*>(effect)) return e->phase;
    if (const auto* e = dynamic_cast<const SecondZoom*>(effect)) return e->phase;
    if (const auto* e = dynamic_cast<const SecondWarp*>(effect)) return e->phase;
    if (const auto* e = dynamic_cast<const TunnelEffect*>(effect)) return e->phase;
    if (const auto* e = dynamic_cast<const CreditsEffect*>(effect)) return e->phase;
    if (const auto* e = dynamic_cast<const GoldScene*>(effect)) return e->phase;
    return 0;
}

bool isScene(const Effect* effect) {
    return dynamic_cast<const GoldScene*>(effect) || dynamic_cast<const MetaballScene*>(effect);
}

// Stands in the registry for one effect and times its load and each of its frames.
class TimedEffect final : public Effect {
public:
    explicit TimedEffect(const EffectSlot& slot) : inner(slot) {}

    void render() override {
        const double start = threadSeconds();
        inner.effect->render();
        frameMs[phaseOf(inner.effect)].push_back((threadSeconds() - start) * 1e3);
    }

    EffectSlot inner;
    double loadMs = 0.0;
    std::map<int, std::vector<double>> frameMs; // by phase
};

EffectRegistry timedRegistry(const std::vector<std::unique_ptr<TimedEffect>>& timed) {
    EffectRegistry registry;
    for (const auto& t : timed) {
        EffectSlot slot = t->inner;
        slot.effect = t.get();
        slot.load = [](Effect& e) {
            auto& self = static_cast<TimedEffect&>(e);
            const double start = threadSeconds();
            self.inner.load(*self.inner.effect);
            self.loadMs = (threadSeconds() - start) * 1e3;
        };
        slot.start = [](Effect& e) {
            auto& self = static_cast<TimedEffect&>(e);
            self.inner.start(*self.inner.effect);
        };
        registry.push_back(slot);
    }
    return registry;
}

// Seconds of music up to the end marker: the show's length.
double showSeconds(const std::string& modulePath) {
    ModulePlayer player;
    std::string error;
    if (!player.load(modulePath, error)) return 0.0;
    for (const SyncCommand& sync : player.syncs().inSongOrder())
        if (sync.value == kEndOfShowSync) return player.secondsAt(sync.order, sync.row);
    return player.durationSeconds();
}

const char* verdict(bool met) {
    return met ? "met" : "**over**";
}

} // namespace

int main(int, char** argv) {
    std::filesystem::current_path(std::filesystem::absolute(argv[0]).parent_path());
    const std::string modulePath = "data/halcyver.xm";
    if (!std::filesystem::exists(modulePath)) {
        std::fprintf(stderr, "bench_show: no generated content in %s/data\n",
                     std::filesystem::current_path().c_str());
        return 1;
    }

    Screens screens;
    std::vector<double> copies = {frameCopyMicroseconds(screens)};
    const std::vector<PrimitiveTime> primitives = timePrimitives(screens);

    std::vector<std::unique_ptr<TimedEffect>> timed;
    for (const EffectSlot& slot : showEffects())
        if (slot.effect) timed.push_back(std::make_unique<TimedEffect>(slot));
    const EffectRegistry registry = timedRegistry(timed);
    CaptureOptions options;
    options.fps = kFps;
    const double wallStart = wallSeconds(), cpuStart = processSeconds();
    const int code = runCapture(options, registry, modulePath);
    const double wall = wallSeconds() - wallStart, cpu = processSeconds() - cpuStart;
    if (code != 0) {
        std::fprintf(stderr, "bench_show: the capture ended with code %d\n", code);
        return 1;
    }
    const double length = showSeconds(modulePath);

    // The unit once more after the show; the median of both runs is the one the table uses.
    copies.push_back(frameCopyMicroseconds(screens));
    const double copyUs = (copies[0] + copies[1]) / 2.0;
    const double copyMs = copyUs / 1e3;

    std::printf("\nFrame copy (Bitmap::draw of 320x200): %.2f us (before the show %.2f, after %.2f)\n\n",
                copyUs, copies[0], copies[1]);

    std::printf("| Effect | Phase | Frames | Median ms | Worst ms | Median / copy | Budget |\n");
    std::printf("|---|---|---|---|---|---|---|\n");
    double loadMs = 0.0;
    for (const auto& timedEffect : timed) {
        const TimedEffect& t = *timedEffect;
        loadMs += t.loadMs;
        const double budget = isScene(t.inner.effect) ? kSceneBudget : kEffectBudget;
        for (const auto& [phase, ms] : t.frameMs) {
            const double med = median(ms);
            const double ratio = med / copyMs;
            std::printf("| %s | %d | %zu | %.3f | %.3f | %.0fx | %.0fx %s |\n", t.inner.name, phase,
                        ms.size(), med, *std::max_element(ms.begin(), ms.end()), ratio, budget,
                        verdict(ratio <= budget));
        }
    }

    std::printf("\n| Primitive (320x200) | us | / copy | Budget |\n|---|---|---|---|\n");
    for (const PrimitiveTime& p : primitives) {
        const double ratio = p.microseconds / copyUs;
        const bool ours = std::string(p.name).rfind("pixman", 0) != 0;
        std::printf("| %s | %.2f | %.1fx | %s |\n", p.name, p.microseconds, ratio,
                    ours ? verdict(ratio <= kPrimitiveBudget) : "(reference)");
    }

    std::printf("\n| Whole show, captured without output | |\n|---|---|\n");
    std::printf("| show length | %.1f s at %d frames a second |\n", length, kFps);
    std::printf("| capture, CPU time | %.2f s: %.0fx real time (target %.0fx: %s) |\n", cpu, length / cpu,
                kShowSpeedTarget, verdict(length / cpu >= kShowSpeedTarget));
    std::printf("| capture, wall time | %.2f s: %.0fx real time |\n", wall, length / wall);
    std::printf("| loading the twelve effects, CPU time | %.0f ms (target %.0f ms: %s) |\n", loadMs,
                kLoadBudgetMs, verdict(loadMs <= kLoadBudgetMs));
    return 0;
}
