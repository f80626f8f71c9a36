#pragma once
// The sound every part of the show renders, plays and writes: interleaved 16-bit stereo at 48 kHz.

inline constexpr int kAudioSampleRate = 48000;
inline constexpr int kAudioChannels = 2;
