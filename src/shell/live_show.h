#pragma once
// The show played live, as the desktop and the web page both start it: its music through the given
// sound output, on the given clock, in windows from the given factory.
#include <functional>
#include <memory>

#include "shell/show_options.h"

class AudioOutput;
class Dialogs;
class TickClock;
class Window;

// Runs the show and returns its exit code. The sound output is made only when the show is not
// muted; a null one plays the music silently.
int runLiveShow(const ShowOptions& options, double startSeconds, Dialogs& dialogs, TickClock& clock,
                std::unique_ptr<AudioOutput> (*createAudioOutput)(),
                std::function<std::unique_ptr<Window>(bool windowed)> createMainWindow);
