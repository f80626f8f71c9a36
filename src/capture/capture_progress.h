#pragma once
// The capture's progress on standard error: a bar over the show's length, the music time, the
// capture's speed in frames per second and the effect on screen. On a terminal the line is
// redrawn in place a few times a second; otherwise one line is printed per ten seconds of music.
#include <chrono>
#include <cstdio>
#include <string>

#include "capture/capture_session.h"

class CaptureProgress {
public:
    // `totalSeconds`: the music time at which the capture is expected to end (0: unknown).
    CaptureProgress(std::FILE* out, double totalSeconds, int fps);

    // `effect`: the name of the effect on screen, or null when none is.
    void update(const CapturedFrame& frame, const char* effect);
    // Ends the redrawn line.
    void finish();

    // The progress line for a frame; `framesPerSecond` is the capture's measured speed.
    static std::string line(double musicSeconds, double totalSeconds, double framesPerSecond,
                            const char* effect, bool written);

private:
    using Clock = std::chrono::steady_clock;
    void draw(Clock::time_point now);

    std::FILE* out;
    double totalSeconds;
    int fps;
    bool terminal;
    bool drawn = false;
    Clock::time_point lastDraw;
    long lastDrawFrame = 0;
    long lastMusicFrame = -1;
    double speed = 0.0;
    // The latest frame seen, for the closing line.
    CapturedFrame latest{};
    const char* latestEffect = nullptr;
    bool pending = false;
};
