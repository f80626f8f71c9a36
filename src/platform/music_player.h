#pragma once
// The show's music over libopenmpt, in one of two modes:
// - live: rendered on SDL's audio thread, each row's snapshot published when its samples reach
//   the speaker (the device's buffered latency later); with no device, a silent thread paced by
//   the clock renders instead;
// - capture: rendered on the calling thread, exactly one video frame's worth of samples per poll.
#include <memory>

#include "platform/music.h"

class CaptureSession;

std::unique_ptr<Music> createLiveMusic();
std::unique_ptr<Music> createCaptureMusic(CaptureSession& session);
