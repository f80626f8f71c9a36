#pragma once
// The show's music played live over libopenmpt and SDL's audio: rendered on SDL's audio thread,
// each row's snapshot published when its samples reach the speaker (the device's buffered latency
// later). With no device, a silent thread paced by the clock renders instead.
#include <memory>

#include "music/music.h"

std::unique_ptr<Music> createLiveMusic();
