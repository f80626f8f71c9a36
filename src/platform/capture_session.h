#pragma once
// Capture mode's output: every presented frame (PNG files and/or a y4m video) and the music (a wav
// file), on a virtual clock of exactly fps frames per second. Deterministic: the same show and the
// same options write the same bytes.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "platform/window.h"

struct CaptureOptions {
    int fps = 60;
    double seconds = 0.0; // stop after this long; 0 or less: until the show ends
    std::string pngDir;   // one PNG per kept frame, named frame000000.png by frame number
    int every = 1;        // write only every N-th frame as a PNG
    std::string y4mPath;  // every frame, as a y4m video
    std::string wavPath;
};

class CaptureSession {
public:
    static constexpr int kSampleRate = 48000;
    static constexpr int kChannels = 2;

    explicit CaptureSession(CaptureOptions options);
    ~CaptureSession();
    CaptureSession(const CaptureSession&) = delete;
    CaptureSession& operator=(const CaptureSession&) = delete;

    // Creates the output files; false with a reason when one cannot be created.
    bool open(std::string& error);
    // Finishes the files (the wav header's sizes); false with the first error of the run.
    bool close(std::string& error);

    // Sample frames of music still owed to the current video frame (0 once written).
    std::size_t audioFramesDue() const;
    void writeAudio(const std::int16_t* samples, std::size_t frames);

    // Takes one presented frame (frames past the time limit are dropped). A frame that got no
    // music gets silence, so sound and picture stay in step.
    void present(const std::uint32_t* pixels, int width, int height, int pitch);

    // True once the time limit is reached or writing failed: the show should end.
    bool finished() const;
    long framesPresented() const { return frame; }

private:
    std::size_t samplesForFrame(long index) const;
    void fail(const std::string& message);
    void writeY4mFrame(const std::uint32_t* pixels, int width, int height, int pitch);

    CaptureOptions options;
    long frameLimit = -1;
    long frame = 0;
    bool audioWritten = false;
    std::FILE* y4m = nullptr;
    std::FILE* wav = nullptr;
    std::uint64_t wavBytes = 0;
    bool y4mHeaderWritten = false;
    std::string firstError;
};

// The headless window of capture mode: frames go to the session, and once it is finished the
// window asks to close (the same orderly path as closing a real window).
std::unique_ptr<Window> createCaptureWindow(CaptureSession& session);
