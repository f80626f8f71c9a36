#include "shell/show.h"

#include <cmath>

#include "effects/show_state.h"
#include "engine3d/raster.h"
#include "imagelib/bgl_image.h"
#include "music/music.h"
#include "platform/console.h"
#include "platform/dialogs.h"
#include "platform/error.h"
#include "platform/step_pacer.h"
#include "platform/surface.h"
#include "platform/tick_clock.h"
#include "platform/timer.h"
#include "platform/window.h"
#include "shell/loading_screen.h"
#include "shell/main_window.h"
#include "shell/timeline.h"

namespace {

const Format kScreenFormat(32, 0xff0000, 0xff00, 0xff, 0);

// While the show runs ahead to its start point, a frame is shown this often (in seconds of real
// time), so the window shows the run going by instead of standing still.
constexpr double kAheadPresentSeconds = 0.25;

// Whatever of the sound system has been started, so every exit stops exactly that.
class MusicSession {
public:
    MusicSession(Music& m, Dialogs& d) : music(m), dialogs(d) {}
    ~MusicSession() { shutdown(); }

    void shutdown() {
        if (started) music.shutdown();
        started = false;
    }

    bool start(const std::string& path) {
        started = true;
        std::string error;
        if (!music.init(error) || !music.loadModule(path, error)) return fail(error);
        return true;
    }

    bool play() {
        std::string error;
        return music.play(error) || fail(error);
    }

    bool cue(double seconds) {
        std::string error;
        return music.cue(seconds, error) || fail(error);
    }

    // Copies the play status into the show's globals; the count comes from the same snapshot.
    bool poll() {
        PlayStatus status;
        std::string error;
        if (!music.poll(status, error)) return fail(error);
        musicPosition = status.position;
        musicPattern = status.pattern;
        musicRow = status.row;
        syncValue = status.syncValue;
        syncCount.store(status.syncCount);
        return true;
    }

private:
    // The sound system's message in its own box; the caller then ends the show with code 1.
    bool fail(const std::string& message) {
        dialogs.showError(kMusicErrorTitle, message.empty() ? "Unknown error" : message);
        shutdown();
        return false;
    }

    Music& music;
    Dialogs& dialogs;
    bool started = false;
};

void present(Console& console) {
    backSurface->copy(console);
    console.update();
}

// The frames the show runs ahead before the start point, at `rate` frames a second: the frame
// under way at that moment of the music is the first one played live. (The slack keeps a start
// on a frame's edge, such as 0.7 s at 60, from landing a frame early through rounding.)
long framesBefore(double startSeconds, int rate) {
    constexpr double kSlackFrames = 1e-6;
    if (startSeconds <= 0.0) return 0;
    return static_cast<long>(std::floor(startSeconds * rate + kSlackFrames));
}

// Start-up from the window on, then the frame loop. Returns the exit code.
int playShow(ShowPlatform& platform, const EffectRegistry& registry, MusicSession& music, bool windowed) {
    std::unique_ptr<Window> window = platform.createMainWindow(windowed);
    if (!window) throw Error("could not create window");

    Console console;
    console.option("DirectX");
    console.option(windowed ? "windowed output" : "fullscreen output");
    console.open(*window, kScreenWidth, kScreenHeight, kScreenFormat, 0);
    console.option("disable key buffering");

    // Created once and kept for the whole process, as every effect holds on to it.
    if (!backSurface) backSurface = new Surface(kScreenWidth, kScreenHeight, kScreenFormat);
    backSurface->clear(Color(0, 0, 0, 1));

    // Capture mode steps a virtual clock from the start. A live show runs on the real clock, paced,
    // after any frames it runs ahead on a virtual one (stepping as a capture would).
    const bool realClock = platform.fixedFrameSeconds <= 0.0;
    TickClock& clock = platform.clock ? *platform.clock : steadyClock();
    const int aheadRate = platform.stepsPerSecond > 0 ? platform.stepsPerSecond : kShowStepsPerSecond;
    const long aheadFrames = realClock ? framesBefore(platform.startSeconds, aheadRate) : 0;
    Timer timer = !realClock        ? Timer(platform.fixedFrameSeconds)
                  : aheadFrames > 0 ? Timer(1.0 / aheadRate)
                                    : Timer(clock);
    StepPacer pacer(realClock ? platform.stepsPerSecond : 0, clock.ticksPerSecond());
    row_offsets_init();

    createSharedObjects();
    drawLoadingScreen(console);
    int progress = kProgressStart;
    for (const EffectSlot& slot : registry) {
        if (slot.effect) slot.load(*slot.effect);
        drawProgress(console, &progress, kProgressRow);
    }

    backSurface->clear(Color(0, 0, 0, 1));
    present(console);

    syncCount.store(0);
    resetShowTime();
    currentEffect = nullptr;
    int handledSyncCount = 0;
    timer.start();
    if (aheadFrames == 0 && !music.play()) return 1;
    std::uint64_t lastAheadPresent = clock.now();

    for (long frame = 0;; ++frame) {
        Message message;
        while (window->peekMessage(message)) {
            if (message.kind == MessageKind::Quit) {
                music.shutdown();
                return 0;
            }
            mainWindowProc(*window, message);
        }
        const bool ahead = frame < aheadFrames;
        if (ahead) {
            // This frame's share of the music, at once and unheard.
            if (!music.cue(static_cast<double>(frame + 1) / aheadRate)) return 1;
        } else {
            if (frame == aheadFrames && aheadFrames > 0) {
                // The start point: the music plays on from here, and the real clock takes over.
                if (!music.play()) return 1;
                timer = Timer(clock);
                timer.start();
            }
            if (realClock) waitForStep(pacer, clock);
        }
        if (!music.poll()) return 1;
        advanceShowTime(timer.delta() * 100.0);
        // The count and the value were published together, so the value is the one that came with it.
        const int count = syncCount.load();
        if (count != handledSyncCount) {
            applyTimeline(syncValue, registry, *window);
            handledSyncCount = count;
        }
        if (currentEffect) currentEffect->render();
        if (!ahead) {
            present(console);
        } else if (clock.seconds(clock.now() - lastAheadPresent) >= kAheadPresentSeconds) {
            present(console);
            lastAheadPresent = clock.now();
        }
    }
}

} // namespace

int runShow(ShowPlatform& platform, const EffectRegistry& registry) {
    // The picture library's progress lines would flood standard output while the effects load.
    bgl_verbose_off();
    bool windowed = platform.display == DisplayChoice::Window;
    const Answer answer = platform.display == DisplayChoice::Ask
                              ? platform.dialogs.askYesNoCancel(kQuestionTitle, kQuestionText)
                              : Answer::Other;
    switch (answer) {
        case Answer::Yes:
            windowed = false;
            break;
        case Answer::No:
            windowed = true;
            break;
        case Answer::Cancel:
            return 1;
        case Answer::Other:
            break; // the command line's choice, or full screen when no box could be shown
    }

    MusicSession music(platform.music, platform.dialogs);
    if (!music.start(platform.modulePath)) return 1;

    try {
        return playShow(platform, registry, music, windowed);
    } catch (const Error& error) {
        error.report(platform.dialogs);
        music.shutdown();
        // A failure, not an orderly end.
        return 1;
    } catch (const std::exception& error) {
        // Anything else (such as running out of memory) ends the same way rather than aborting.
        platform.dialogs.showError(kErrorBoxTitle, error.what());
        music.shutdown();
        return 1;
    }
}
