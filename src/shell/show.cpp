#include "shell/show.h"

#include "effects/show_state.h"
#include "engine3d/raster.h"
#include "imagelib/bgl_image.h"
#include "music/music.h"
#include "platform/console.h"
#include "platform/dialogs.h"
#include "platform/error.h"
#include "platform/surface.h"
#include "platform/timer.h"
#include "platform/window.h"
#include "shell/loading_screen.h"
#include "shell/main_window.h"
#include "shell/timeline.h"

namespace {

const Format kScreenFormat(32, 0xff0000, 0xff00, 0xff, 0);

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
    Timer timer = platform.fixedFrameSeconds > 0.0 ? Timer(platform.fixedFrameSeconds) : Timer();
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
    if (!music.play()) return 1;

    for (;;) {
        Message message;
        while (window->peekMessage(message)) {
            if (message.kind == MessageKind::Quit) {
                music.shutdown();
                return 0;
            }
            mainWindowProc(*window, message);
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
        present(console);
    }
}

} // namespace

int runShow(ShowPlatform& platform, const EffectRegistry& registry) {
    // The picture library's progress lines would flood standard output while the effects load.
    bgl_verbose_off();
    bool windowed = false;
    switch (platform.dialogs.askYesNoCancel(kQuestionTitle, kQuestionText)) {
        case Answer::Yes:
            windowed = false;
            break;
        case Answer::No:
            windowed = true;
            break;
        case Answer::Cancel:
            return 1;
        case Answer::Other:
            break;
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
