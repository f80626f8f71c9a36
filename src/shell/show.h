#pragma once
// The show from the start-up question to the end of the frame loop.
#include <functional>
#include <memory>
#include <string>

#include "shell/effect_registry.h"

class Dialogs;
class Music;
class TickClock;
class Window;

// The show's per-frame steps a second: the rate its effects were tuned for, whatever the display.
inline constexpr int kShowStepsPerSecond = 60;

// The music, and with it every sync command, beside the program.
inline constexpr const char* kShowModulePath = "data/halcyver.xm";

// How the start-up question is answered: by the user, or already by the command line.
enum class DisplayChoice { Ask, Window, FullScreen };

struct ShowPlatform {
    Dialogs& dialogs;
    Music& music;
    // Creates the main window (full screen unless windowed); throws Error("could not create window").
    std::function<std::unique_ptr<Window>(bool windowed)> createMainWindow;
    // 0: the real clock; otherwise every frame lasts exactly this many seconds (capture mode).
    double fixedFrameSeconds = 0.0;
    std::string modulePath = kShowModulePath;

    // The rest is for the real clock only.
    DisplayChoice display = DisplayChoice::Ask;
    // The clock the show runs and paces on; null: the standard library's steady clock.
    TickClock* clock = nullptr;
    // At most this many frames a second; 0: as many as the display lets through.
    int stepsPerSecond = kShowStepsPerSecond;
    // Where in the music the show starts. Everything before runs at once and silently, frame by
    // frame as a capture would (a few of its frames shown as it goes by), so the picture arrives
    // there in the state the whole show would have brought it to; the music plays on from there.
    double startSeconds = 0.0;
};

inline constexpr const char* kQuestionTitle = "halcyonvectrum by zelka";
inline constexpr const char* kQuestionText = "Do you want to run halcyonvectrum in fullscreen mode?";
inline constexpr const char* kMusicErrorTitle = "MIDAS Error";

// Runs the show and returns the process's exit code: 0 after an orderly end (the end marker,
// Escape or closing the window), 1 when the user cancels the question or something fails (after
// the failure's box).
int runShow(ShowPlatform& platform, const EffectRegistry& registry);
