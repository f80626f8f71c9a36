#include "capture/capture.h"

#include <cstdio>
#include <optional>

#include "capture/capture_music.h"
#include "capture/capture_progress.h"
#include "capture/capture_window.h"
#include "capture/frame_log.h"
#include "capture/show_contact_sheet.h"
#include "effects/show_state.h"
#include "music/module_player.h"
#include "music/song_schedule.h"
#include "platform/dialogs.h"
#include "resources/bitmap_font.h"
#include "shell/show.h"
#include "shell/timeline.h"

namespace {

constexpr const char* kProgramName = "halcyonvectrum-capture";

// What the module says about the capture before it runs.
struct SongPlan {
    bool loaded = false;
    double endSeconds = 0.0; // where the show ends: the end marker, or the song's end
    bool endMarker = false;
    bool startSyncFound = false;
    double startSeconds = 0.0; // music time where the output begins
};

SongPlan planSong(const CaptureOptions& options, const std::string& modulePath) {
    SongPlan plan;
    ModulePlayer probe;
    std::string error;
    if (!probe.load(modulePath, error)) return plan; // the show itself reports the failure
    plan.loaded = true;
    const SongSchedule schedule = readSongSchedule(probe);
    plan.endSeconds = schedule.endSeconds;
    plan.endMarker = schedule.endMarker;
    if (options.startSeconds > 0.0) plan.startSeconds = options.startSeconds;
    if (options.startSync >= 0) {
        if (const std::optional<double> at = schedule.firstSync(options.startSync)) {
            plan.startSyncFound = true;
            plan.startSeconds = *at;
        }
    }
    return plan;
}

std::string clockLabel(long musicFrame, int fps) {
    if (musicFrame < 0) return "loading";
    const long seconds = musicFrame / fps;
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", seconds / 60, seconds % 60);
    return text;
}

std::string secondsText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", seconds);
    return text;
}

bool report(const std::string& error) {
    std::fprintf(stderr, "%s: %s\n", kProgramName, error.c_str());
    return false;
}

} // namespace

int runCapture(CaptureOptions options, const EffectRegistry& registry, const std::string& modulePath) {
    ShowCaptureOptions show;
    show.session = std::move(options);
    return runCapture(std::move(show), registry, modulePath);
}

int runCapture(ShowCaptureOptions options, const EffectRegistry& registry, const std::string& modulePath) {
    CaptureOptions& sessionOptions = options.session;
    const SongPlan plan = planSong(sessionOptions, modulePath);
    if (plan.loaded) {
        if (sessionOptions.startSync >= 0 && !plan.startSyncFound) {
            report("the music has no sync value " + std::to_string(sessionOptions.startSync));
            return 1;
        }
        // A module that never sends its end marker would otherwise be captured for ever.
        if (!plan.endMarker) {
            sessionOptions.songSeconds = plan.endSeconds;
            std::fprintf(stderr, "%s: the module has no end marker; capturing %.1f seconds of music\n",
                         kProgramName, plan.endSeconds);
        }
    }

    CaptureSession session(sessionOptions);
    std::string error;
    if (!session.open(error)) {
        report(error);
        return 1;
    }
    FrameLog log;
    if (!options.logPath.empty() && !log.open(options.logPath, error)) {
        report(error);
        return 1;
    }

    double progressEnd = plan.endSeconds;
    if (sessionOptions.seconds > 0.0 && plan.startSeconds + sessionOptions.seconds < progressEnd)
        progressEnd = plan.startSeconds + sessionOptions.seconds;
    CaptureProgress progress(stderr, progressEnd, session.fps());
    ShowContactSheet sheet;
    const bool wantSheet = !options.contactSheetPath.empty();
    session.setFrameObserver([&](const CapturedFrame& frame) {
        const char* effect = effectName(registry, currentEffect);
        if (options.progress) progress.update(frame, effect);
        if (frame.written < 0) return;
        log.add(frame, syncValue, syncCount.load(), effect);
        // The first frame written, then one per whole second of music.
        if (wantSheet &&
            (frame.written == 0 || (frame.musicFrame >= 0 && frame.musicFrame % session.fps() == 0)))
            sheet.add(frame, clockLabel(frame.musicFrame, session.fps()), effect ? effect : "no effect");
    });

    ConsoleDialogs dialogs;
    std::unique_ptr<Music> music = createCaptureMusic(session);
    ShowPlatform platform{dialogs, *music, [&session](bool) { return createCaptureWindow(session); },
                          1.0 / sessionOptions.fps, modulePath};
    int code = runShow(platform, registry);
    if (options.progress) progress.finish();

    bool ok = session.close(error) || report(error);
    // Asked for a part of the show that never came: nothing was written, which is no success.
    if (code == 0 && !session.outputBegan()) {
        if (sessionOptions.startSync >= 0)
            ok = report("the show ended before sync value " + std::to_string(sessionOptions.startSync));
        else
            ok = report("the show ended before " + secondsText(sessionOptions.startSeconds) +
                        " seconds of music");
    }
    ok = (log.close(error) || report(error)) && ok;
    if (wantSheet && code == 0 && ok) {
        const BitmapFont noGlyphs;
        ok = sheet.write(options.contactSheetPath, font ? *font : noGlyphs, error) || report(error);
    }
    if (!ok) return 1;
    if (code == 0)
        std::printf("%s: %ld frames (%.2f seconds) written\n", kProgramName, session.framesWritten(),
                    static_cast<double>(session.framesWritten()) / sessionOptions.fps);
    return code;
}
