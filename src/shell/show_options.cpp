#include "shell/show_options.h"

#include <optional>

#include "core/command_line.h"
#include "music/module_player.h"
#include "music/song_schedule.h"

namespace {

constexpr int kMaxSyncValue = 255;
constexpr double kMaxStartSeconds = 24 * 3600.0;
constexpr int kMaxStepsPerSecond = 1000;

// The table that parses the options into `options` and writes --help.
CommandLine showCommandLine(ShowOptions& options, bool& window, bool& fullscreen) {
    CommandLine cli(kShowProgramName, "",
                    "Plays the show with its music, in a window or full screen. Data is read from data/ "
                    "beside the program.");
    cli.flag("--window", "play in a window, without asking", window)
        .flag("--fullscreen", "play full screen, without asking", fullscreen)
        .integer("--start-sync", "V", "start where the music first sends sync value V", 1, kMaxSyncValue,
                 options.startSync)
        .number("--start-time", "S", "start at S seconds of music", 0.0, false, kMaxStartSeconds,
                options.startSeconds)
        .choice<Scaler>("--scaler",
                        "how the picture is enlarged: whole pixels first, then smoothly to 4:3\n"
                        "(sharp, the default), nearest pixel, or smoothly",
                        {{"sharp", Scaler::Sharp}, {"nearest", Scaler::Nearest}, {"smooth", Scaler::Smooth}},
                        options.scaler)
        .integer("--fps", "N", "frames a second (default 60; 0: as many as the display allows)", 0,
                 kMaxStepsPerSecond, options.stepsPerSecond)
        .flag("--mute", "play without sound (the music still drives the show)", options.mute)
        .epilog("Alt+Enter or F11 switches between full screen and the window; Escape ends the show.\n"
                "Without a display, halcyonvectrum-capture plays the show into files.");
    return cli;
}

} // namespace

int parseShowOptions(int argc, const char* const* argv, ShowOptions& options, std::FILE* out,
                     std::FILE* err) {
    bool window = false, fullscreen = false;
    CommandLine cli = showCommandLine(options, window, fullscreen);
    const int code = cli.parse(argc, argv, out, err);
    if (code != CommandLine::kGoOn) return code;
    if (window && fullscreen) return cli.usageError("--window and --fullscreen exclude each other", err);
    if (cli.given("--start-sync") && cli.given("--start-time"))
        return cli.usageError("--start-sync and --start-time exclude each other", err);
    options.display = window       ? DisplayChoice::Window
                      : fullscreen ? DisplayChoice::FullScreen
                                   : DisplayChoice::Ask;
    return CommandLine::kGoOn;
}

int findStartSeconds(const ShowOptions& options, const std::string& modulePath, double& seconds,
                     std::FILE* err) {
    seconds = 0.0;
    if (options.startSync < 0 && options.startSeconds < 0.0) return CommandLine::kGoOn;
    ModulePlayer probe;
    std::string error;
    if (!probe.load(modulePath, error)) return CommandLine::kGoOn;
    const SongSchedule schedule = readSongSchedule(probe);

    ShowOptions scratch;
    bool window = false, fullscreen = false;
    const CommandLine cli = showCommandLine(scratch, window, fullscreen);
    char endText[32];
    std::snprintf(endText, sizeof endText, "%.1f", schedule.endSeconds);
    if (options.startSync >= 0) {
        const std::string option = "--start-sync " + std::to_string(options.startSync);
        const std::optional<double> at = schedule.firstSync(options.startSync);
        if (!at)
            return cli.usageError(
                option + ": the music has no sync value " + std::to_string(options.startSync), err);
        if (*at >= schedule.endSeconds)
            return cli.usageError(option + ": the show ends before it, at " + endText + " seconds of music",
                                  err);
        seconds = *at;
        return CommandLine::kGoOn;
    }
    if (options.startSeconds >= schedule.endSeconds) {
        char option[48];
        std::snprintf(option, sizeof option, "--start-time %g", options.startSeconds);
        return cli.usageError(std::string(option) + ": the show ends at " + endText + " seconds of music",
                              err);
    }
    seconds = options.startSeconds;
    return CommandLine::kGoOn;
}
