#pragma once
// Ctrl-C and SIGTERM during a capture. The handler only notes the signal, as a handler can do
// nothing else safely; the capture session looks at the note once per frame and ends the show as
// its end marker would, so the files are finished with the frames written so far. A second
// signal ends the program at once.
#include <csignal>

// Installs the handlers for SIGINT and SIGTERM (the program's edge does this).
void watchStopSignals();
// Restores the systems' default handling and forgets a noted signal.
void unwatchStopSignals();
// The signal that asked the capture to stop, or 0.
int stopSignal();
