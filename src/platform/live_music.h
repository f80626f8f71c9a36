#pragma once
// The show's music played live. With a sound device, the device pulls the samples from its own
// thread and each row's snapshot is published when its samples reach the speaker (the device's
// buffer later). Without one (none found, or muted), the music is rendered on the frame loop's
// thread at each poll, as far as the clock has run, and heard at once.
//
// A device that goes away mid-show (unplugged headphones) is closed, whether or not its thread
// still pulls: the music goes on by the clock, with one warning line, so syncs and the end still
// come on time. Every few seconds the default device is asked for again; once one opens, the sound
// resumes from where the music has got to.
#include <cstdio>
#include <memory>

#include "music/music.h"

class AudioOutput;
class TickClock;

// A null output plays silently from the start, without a warning (the show was asked to be mute).
// Warnings go to `warnings`.
std::unique_ptr<Music> createLiveMusic(std::unique_ptr<AudioOutput> output, TickClock& clock,
                                       std::FILE* warnings = stderr);

// How often a lost device is asked for again, and how long a device may pull nothing before it
// counts as lost whatever it says of itself.
inline constexpr double kAudioReopenSeconds = 3.0;
inline constexpr double kAudioStallSeconds = 3.0;
