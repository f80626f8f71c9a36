#include "capture/capture.h"

#include <chrono>
#include <cstdio>
#include <optional>

#include "capture/capture_music.h"
#include "capture/capture_progress.h"
#include "capture/capture_window.h"
#include "capture/frame_log.h"
#include "capture/output_file.h"
#include "capture/show_contact_sheet.h"
#include "capture/stop_request.h"
#include "effects/show_state.h"
#include "music/module_player.h"
#include "music/song_schedule.h"
#include "platform/dialogs.h"
#include "resources/bitmap_font.h"
#include "shell/show.h"
#include "shell/timeline.h"

namespace {

constexpr const char* kProgramName = "halcyonvectrum-capture";
// Exit codes after a signal, as the shells report them.
constexpr int kSignalExitBase = 128;

// What the module says about the capture before it runs.
struct SongPlan {
    bool loaded = false;
    double endSeconds = 0.0; // where the show ends: the end marker, or the song's end
    bool endMarker = false;
    bool startSyncFound = false; // heard no later than the end marker
    bool startSyncAnywhere = false;
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
            plan.startSyncAnywhere = true;
            // It must sound no later than the end marker: the show ends there.
            if (plan.endMarker && *at > plan.endSeconds) return plan;
            plan.startSyncFound = true;
            plan.startSeconds = *at;
        }
    }
    return plan;
}

std::string secondsText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", seconds);
    return text;
}

// Why the output would never begin, or empty when it does.
std::string startProblem(const CaptureOptions& options, const SongPlan& plan) {
    if (options.startSync >= 0 && !plan.startSyncFound) {
        const std::string value = std::to_string(options.startSync);
        return plan.startSyncAnywhere
                   ? "--start-sync " + value + ": the music sends it only after its end marker"
                   : "--start-sync " + value + ": the music has no sync value " + value;
    }
    if (options.startSeconds >= 0.0) {
        // The first frame at or after the start, against the last frame the show draws.
        const long first = static_cast<long>(options.startSeconds * options.fps + 0.5);
        const long last = plan.endMarker ? static_cast<long>(plan.endSeconds * options.fps)
                                         : static_cast<long>(plan.endSeconds * options.fps + 0.5) - 1;
        if (first > last) {
            char text[64];
            std::snprintf(text, sizeof text, "%g", options.startSeconds);
            return std::string("--start-time ") + text + ": the show ends at " +
                   secondsText(plan.endSeconds) + " seconds of music";
        }
    }
    return {};
}

std::string clockLabel(long musicFrame, int fps) {
    if (musicFrame < 0) return "loading";
    const long seconds = musicFrame / fps;
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", seconds / 60, seconds % 60);
    return text;
}

// "1 frame", "2 frames".
std::string count(long n, const char* thing) {
    return std::to_string(n) + " " + thing + (n == 1 ? "" : "s");
}

bool report(const std::string& error) {
    std::fprintf(stderr, "%s: %s\n", kProgramName, error.c_str());
    return false;
}

int failed(const std::string& error) {
    report(error);
    return 1;
}

bool writesNothing(const ShowCaptureOptions& o) {
    const CaptureOptions& s = o.session;
    return s.mp4Path.empty() && s.pngDir.empty() && s.y4mPath.empty() && s.wavPath.empty() &&
           o.contactSheetPath.empty() && o.logPath.empty();
}

// One line per file written, counting what went into each.
void printSummary(const ShowCaptureOptions& options, const CaptureSession& session, long logLines,
                  int sheetCells, double elapsed) {
    const CaptureOptions& o = options.session;
    const long frames = session.framesWritten();
    const std::string length =
        count(frames, "frame") + " (" + secondsText(double(frames) / o.fps) + " seconds)";
    const auto line = [](const std::string& text) { std::printf("%s: %s\n", kProgramName, text.c_str()); };
    if (!o.mp4Path.empty()) line(o.mp4Path + ": " + length + " with sound");
    if (!o.y4mPath.empty()) line(o.y4mPath + ": " + length);
    if (!o.wavPath.empty())
        line(o.wavPath + ": " + secondsText(double(frames) / o.fps) + " seconds of sound");
    if (!o.pngDir.empty())
        line(o.pngDir + ": " + count(session.pngFramesWritten(), "PNG file") +
             (o.every > 1
                  ? " (one frame in " + std::to_string(o.every) + " of " + std::to_string(frames) + ")"
                  : ""));
    if (!options.logPath.empty()) line(options.logPath + ": " + count(logLines, "line"));
    if (!options.contactSheetPath.empty()) line(options.contactSheetPath + ": " + count(sheetCells, "frame"));
    if (writesNothing(options)) {
        char speed[64];
        std::snprintf(speed, sizeof speed, " in %.2f s (%.0f frames a second)", elapsed,
                      elapsed > 0.0 ? double(frames) / elapsed : 0.0);
        line(length + " captured" + speed + ", nothing written");
    }
}

} // namespace

int runCapture(CaptureOptions options, const EffectRegistry& registry, const std::string& modulePath) {
    ShowCaptureOptions show;
    show.session = std::move(options);
    return runCapture(std::move(show), registry, modulePath);
}

int runCapture(ShowCaptureOptions options, const EffectRegistry& registry, const std::string& modulePath) {
    CaptureOptions& sessionOptions = options.session;
    StillFormat sheetFormat = StillFormat::Jpeg;
    const bool wantSheet = !options.contactSheetPath.empty();
    if (wantSheet && !stillFormatFor(options.contactSheetPath, sheetFormat))
        return failed("--contact-sheet " + options.contactSheetPath + ": " + kStillEndings);

    // Everything that can be known before the first frame is checked before it.
    const SongPlan plan = planSong(sessionOptions, modulePath);
    if (plan.loaded) {
        if (const std::string problem = startProblem(sessionOptions, plan); !problem.empty())
            return failed(problem);
        // A module that never sends its end marker would otherwise be captured for ever.
        if (!plan.endMarker) {
            sessionOptions.songSeconds = plan.endSeconds;
            std::fprintf(stderr, "%s: the module has no end marker; capturing %.1f seconds of music\n",
                         kProgramName, plan.endSeconds);
        }
    }
    if (writesNothing(options))
        std::fprintf(stderr,
                     "%s: no output asked for (--mp4, --png, --y4m, --wav, --contact-sheet, --log): "
                     "nothing will be written, the capture is only timed\n",
                     kProgramName);

    std::string error;
    FrameLog log;
    if (!options.logPath.empty() && !log.open(options.logPath, error)) return failed(error);
    OutputFile sheetFile;
    if (wantSheet && !sheetFile.create(options.contactSheetPath, error)) return failed(error);
    CaptureSession session(sessionOptions);
    if (!session.open(error)) return failed(error);

    double progressEnd = plan.endSeconds;
    if (sessionOptions.seconds > 0.0 && plan.startSeconds + sessionOptions.seconds < progressEnd)
        progressEnd = plan.startSeconds + sessionOptions.seconds;
    CaptureProgress progress(stderr, progressEnd, session.fps());
    ShowContactSheet sheet;
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

    const auto begin = std::chrono::steady_clock::now();
    ConsoleDialogs dialogs;
    std::unique_ptr<Music> music = createCaptureMusic(session);
    ShowPlatform platform{dialogs, *music, [&session](bool) { return createCaptureWindow(session); },
                          1.0 / sessionOptions.fps, modulePath};
    const int code = runShow(platform, registry);
    if (options.progress) progress.finish();
    const int signal = session.stoppedBySignal() ? stopSignal() : 0;

    // Finished files under their temporary names first; their own names only once all are.
    bool ok = code == 0;
    if (ok && !session.outputBegan()) {
        // Stopped before the output began: nothing to keep, and nothing went wrong.
        if (!signal) ok = report("the show ended before the output began");
        session.discard();
        log.discard();
        sheetFile.discard();
        return signal ? kSignalExitBase + signal : ok ? 0 : 1;
    }
    if (ok) ok = session.close(error) || report(error);
    if (ok) ok = log.close(error) || report(error);
    if (ok && wantSheet) {
        const BitmapFont noGlyphs;
        ok = sheet.write(sheetFile.writingPath(), sheetFormat, font ? *font : noGlyphs, error) ||
             report("could not write " + options.contactSheetPath + ": " + error);
    }
    if (ok) ok = (session.commit(error) && log.commit(error) && sheetFile.commit(error)) || report(error);
    if (!ok) {
        session.discard();
        log.discard();
        sheetFile.discard();
        return signal ? kSignalExitBase + signal : code != 0 ? code : 1;
    }
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    if (options.summary) printSummary(options, session, log.lines(), sheet.cells(), elapsed);
    if (signal) {
        report(std::string(signal == SIGINT ? "interrupted" : "stopped by a signal") + " after " +
               count(session.framesWritten(), "frame") + "; the files hold what was written");
        return kSignalExitBase + signal;
    }
    return code;
}
