#pragma once
// The system's default sound device through SDL's audio, for the live music.
#include <memory>

#include "platform/audio_output.h"

// SDL's audio starts on each open (afresh after the first) and stops with the output.
std::unique_ptr<AudioOutput> createSdlAudioOutput();
