#pragma once
// The show's command line. Every option may be left out: a plain start asks the start-up
// question and plays from the beginning, as the show always did.
#include <cstdio>
#include <string>

#include "platform/sharp_scale.h"
#include "shell/show.h"

struct ShowOptions {
    DisplayChoice display = DisplayChoice::Ask;
    int startSync = -1;         // start where this sync value first sounds (-1: not asked)
    double startSeconds = -1.0; // or at this many seconds of music (-1: not asked)
    Scaler scaler = Scaler::Sharp;
    int stepsPerSecond = kShowStepsPerSecond; // 0: as fast as the display allows
    bool mute = false;
};

inline constexpr const char* kShowProgramName = "halcyonvectrum";

// Reads the command line. Returns CommandLine::kGoOn when the show should run; otherwise the exit
// code, its text already printed: 0 after --help or --version, 2 after a usage error (a one-line
// error naming the option, then the usage line).
int parseShowOptions(int argc, const char* const* argv, ShowOptions& options, std::FILE* out = stdout,
                     std::FILE* err = stderr);

// Where the show starts, in seconds of music, from --start-sync or --start-time and the module's
// own sync schedule (0 without either). A start the music never reaches is a usage error: returns
// 2 after printing it. A module that cannot be read is left to the show, which reports it in its
// box. Otherwise returns CommandLine::kGoOn.
int findStartSeconds(const ShowOptions& options, const std::string& modulePath, double& seconds,
                     std::FILE* err = stderr);
