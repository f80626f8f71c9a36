#pragma once
// The sound system as the shell uses it. Every failure comes back as false with the message
// that the shell shows in its error box.
#include <string>

#include "music/play_status.h"

class Music {
public:
    virtual ~Music() = default;

    // Brings the sound output up (falls back to silent, clock-paced play when no device opens).
    virtual bool init(std::string& error) = 0;
    virtual bool loadModule(const std::string& path, std::string& error) = 0;
    // Starts the loaded module looping from song position 0, or from where cue() left it.
    virtual bool play(std::string& error) = 0;
    // For a show seen from later on: plays the song silently and at once on the calling thread,
    // from its start up to this many seconds (each call goes further; poll() shows what was
    // heard). play() then goes on from there.
    virtual bool cue(double seconds, std::string& error) = 0;
    // The play status heard so far, as one snapshot (sync value and count belong together).
    virtual bool poll(PlayStatus& status, std::string& error) = 0;
    // Stops and frees whatever was started; safe to call at any stage, and more than once.
    virtual void shutdown() = 0;
};
