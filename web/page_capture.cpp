#include "page_capture.h"

#include <cinttypes>
#include <cstdio>
#include <optional>

#include "capture/capture_music.h"
#include "capture/capture_session.h"
#include "capture/frame_log.h"
#include "core/command_line.h"
#include "effects/show_state.h"
#include "music/module_player.h"
#include "music/song_schedule.h"
#include "platform/web/web_clock.h"
#include "platform/web/web_dialogs.h"
#include "platform/web/web_page.h"
#include "platform/web/web_window.h"
#include "shell/effect_registry.h"
#include "shell/show.h"
#include "shell/show_options.h"

namespace {

constexpr int kMaxFps = 1000;
constexpr int kMaxSyncValue = 255;
constexpr double kMaxSeconds = 24 * 3600.0;
// The canvas shows a captured frame at most this often (in seconds of real time); every frame it
// shows gives the browser its turn until the next animation frame.
constexpr double kShowEverySeconds = 0.1;

// Every frame to the session; now and then one to the canvas, after which the browser has its turn.
class PageCaptureWindow : public Window {
public:
    explicit PageCaptureWindow(CaptureSession& s) : session(s), canvas(createWebWindow()) {}

    void attachConsole(int width, int height, bool fullscreen) override {
        canvas->attachConsole(width, height, fullscreen);
    }

    void present(const std::uint32_t* pixels, int width, int height, int pitch) override {
        session.present(pixels, width, height, pitch);
        TickClock& clock = pageClock();
        if (clock.seconds(clock.now() - lastShown) < kShowEverySeconds) return;
        canvas->present(pixels, width, height, pitch);
        lastShown = clock.now();
    }

protected:
    // Escape in the page ends the capture too; the session ends it once it has what was asked.
    void pumpEvents() override {
        Message message;
        while (canvas->peekMessage(message)) postMessage(message);
        if (session.finished() && !closeRequested) {
            closeRequested = true;
            postMessage({MessageKind::Close, 0});
        }
    }

private:
    CaptureSession& session;
    std::unique_ptr<Window> canvas;
    std::uint64_t lastShown = 0;
    bool closeRequested = false;
};

} // namespace

int runPageCapture(int argc, const char* const* argv) {
    CaptureOptions options;
    bool capture = false;
    CommandLine cli(kShowProgramName, "", "The page's capture mode: the show on the virtual clock.");
    cli.flag("--capture", "play the show on the virtual clock, logging every frame", capture)
        .integer("--fps", "N", "frames a second of the virtual clock (default 60)", 1, kMaxFps, options.fps)
        .number("--seconds", "S", "log S seconds (default: until the music's end marker)", 0.0, true,
                kMaxSeconds, options.seconds)
        .integer("--start-sync", "V", "begin at the first sync value V", 1, kMaxSyncValue, options.startSync)
        .number("--start-time", "S", "begin at S seconds of music", 0.0, false, kMaxSeconds,
                options.startSeconds);
    const int code = cli.parse(argc, argv);
    if (code != CommandLine::kGoOn) return code;
    if (cli.given("--start-sync") && cli.given("--start-time"))
        return cli.usageError("--start-sync and --start-time exclude each other");

    // A module that never sends its end marker would otherwise be captured for ever.
    ModulePlayer probe;
    std::string error;
    if (probe.load(kShowModulePath, error)) {
        const SongSchedule schedule = readSongSchedule(probe);
        if (!schedule.endMarker) options.songSeconds = schedule.endSeconds;
    }

    CaptureSession session(options);
    if (!session.open(error)) return cli.failure(error);
    const EffectRegistry& registry = showEffects();
    session.setFrameObserver([&registry](const CapturedFrame& frame) {
        if (frame.written < 0) return;
        const char* effect = effectName(registry, currentEffect);
        char line[160];
        std::snprintf(line, sizeof line, "%ld %ld %d %d %016" PRIx64 " %s", frame.written, frame.musicFrame,
                      syncValue, syncCount.load(),
                      frameChecksum(frame.pixels, frame.width, frame.height, frame.pitch),
                      effect ? effect : "-");
        pageLogLine(line);
    });

    std::unique_ptr<Music> music = createCaptureMusic(session);
    ShowPlatform platform{pageDialogs(), *music,
                          [&session](bool) { return std::make_unique<PageCaptureWindow>(session); },
                          1.0 / options.fps};
    const int result = runShow(platform, registry);
    if (!session.close(error)) return cli.failure(error);
    if (result == 0 && !session.outputBegan())
        return cli.failure("the show ended before the capture's start");
    return result;
}
