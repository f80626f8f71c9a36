#pragma once
// A sound device as the live music sees it: once resumed, it pulls the show's samples
// (interleaved 16-bit stereo at 48 kHz) from a thread of its own. The desktop's is
// platform/sdl/sdl_audio_output.h; tests plug in fakes.
#include <cstdint>
#include <functional>
#include <string>

class AudioOutput {
public:
    // Fills `frames` sample frames; called on the device's thread.
    using Pull = std::function<void(std::int16_t* samples, int frames)>;

    virtual ~AudioOutput() = default;

    // Opens the system's default device, paused; false with the reason. bufferFrames: how many
    // sample frames the device holds between a pull and the speaker.
    virtual bool open(Pull pull, int& bufferFrames, std::string& error) = 0;
    // Starts pulling.
    virtual void resume() = 0;
    // False once the open device has gone away (unplugged, or its driver failed).
    virtual bool working() = 0;
    // Closes the device; once this returns, no pull runs. Harmless when nothing is open.
    virtual void close() = 0;
};
