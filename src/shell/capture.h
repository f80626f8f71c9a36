#pragma once
// The show rendered headless on a virtual clock into files (PNG frames, y4m video, wav sound).
#include <string>

#include "platform/capture_session.h"
#include "shell/effect_registry.h"

// Runs the show into the session's files. Without a time limit the capture stops at the end
// marker, or after the song's length when the module has no end marker. Returns the exit code;
// errors (also failed writes) are printed on standard error.
int runCapture(CaptureOptions options, const EffectRegistry& registry,
               const std::string& modulePath = "data/halcyver.xm");
