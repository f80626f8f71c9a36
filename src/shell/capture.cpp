#include "shell/capture.h"

#include <cstdio>

#include "platform/dialogs.h"
#include "platform/module_player.h"
#include "platform/music_player.h"
#include "shell/show.h"
#include "shell/timeline.h"

namespace {

// A module that never sends its end marker would otherwise be captured for ever.
void limitToSongLength(CaptureOptions& options, const std::string& modulePath) {
    if (options.seconds > 0.0) return;
    ModulePlayer probe;
    std::string error;
    if (!probe.load(modulePath, error)) return; // the show itself reports the failure
    if (probe.syncs().contains(kEndOfShowSync)) return;
    options.seconds = probe.durationSeconds();
    std::fprintf(stderr, "halcyonvectrum-capture: the module has no end marker; capturing %.1f seconds\n",
                 options.seconds);
}

} // namespace

int runCapture(CaptureOptions options, const EffectRegistry& registry, const std::string& modulePath) {
    limitToSongLength(options, modulePath);
    CaptureSession session(options);
    std::string error;
    if (!session.open(error)) {
        std::fprintf(stderr, "halcyonvectrum-capture: %s\n", error.c_str());
        return 1;
    }
    ConsoleDialogs dialogs;
    std::unique_ptr<Music> music = createCaptureMusic(session);
    ShowPlatform platform{dialogs, *music, [&session](bool) { return createCaptureWindow(session); },
                          1.0 / options.fps, modulePath};
    int code = runShow(platform, registry);
    if (!session.close(error)) {
        std::fprintf(stderr, "halcyonvectrum-capture: %s\n", error.c_str());
        return 1;
    }
    if (code == 0)
        std::printf("halcyonvectrum-capture: %ld frames (%.2f seconds) captured\n", session.framesPresented(),
                    static_cast<double>(session.framesPresented()) / options.fps);
    return code;
}
