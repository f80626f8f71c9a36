#pragma once
// The show from the start-up question to the end of the frame loop.
#include <functional>
#include <memory>
#include <string>

#include "shell/effect_registry.h"

class Dialogs;
class Music;
class Window;

struct ShowPlatform {
    Dialogs& dialogs;
    Music& music;
    // Creates the main window (full screen unless windowed); throws Error("could not create window").
    std::function<std::unique_ptr<Window>(bool windowed)> createMainWindow;
    // 0: the real clock; otherwise every frame lasts exactly this many seconds (capture mode).
    double fixedFrameSeconds = 0.0;
    std::string modulePath = "data/halcyver.xm";
};

inline constexpr const char* kQuestionTitle = "halcyonvectrum by zelka";
inline constexpr const char* kQuestionText = "Do you want to run halcyonvectrum in fullscreen mode?";
inline constexpr const char* kMusicErrorTitle = "MIDAS Error";

// Runs the show and returns the process's exit code: 0 after an orderly end (the end marker,
// Escape or closing the window), 1 when the user cancels the question or something fails (after
// the failure's box).
int runShow(ShowPlatform& platform, const EffectRegistry& registry);
