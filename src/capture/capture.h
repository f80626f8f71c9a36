#pragma once
// The show rendered headless on a virtual clock into files (PNG frames, y4m or mp4 video, wav
// sound, a contact sheet of the whole show, a frame log), with its progress on standard error.
#include <string>

#include "capture/capture_session.h"
#include "shell/effect_registry.h"

struct ShowCaptureOptions {
    CaptureOptions session;
    std::string contactSheetPath; // one labelled frame per second of the show, JPEG or PNG by ending
    std::string logPath;          // one line per written frame (see frame_log.h)
    bool progress = false;        // the progress bar on standard error
    bool summary = true;          // a line per file written on standard output, at the end
};

// Runs the show into the files. Without a time limit the capture stops at the end marker, or
// after the song's length when the module has no end marker. A start that the show never
// reaches and a file that cannot be written are found before the first frame. Files are written
// under temporary names and get their own only when everything succeeded; a failure leaves none
// behind. A stop signal (stop_request.h) ends the capture with the frames written so far, the
// files finished, and the code 128 + the signal. Returns the exit code; errors are printed on
// standard error.
int runCapture(ShowCaptureOptions options, const EffectRegistry& registry,
               const std::string& modulePath = "data/halcyver.xm");
int runCapture(CaptureOptions options, const EffectRegistry& registry,
               const std::string& modulePath = "data/halcyver.xm");
