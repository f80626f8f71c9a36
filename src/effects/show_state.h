#pragma once
// The show's process-wide state: written by the shell's start-up and frame loop, read by effects.
#include <atomic>

class Surface;
class Effect;
class ImageCache;
class BitmapFont;

// The one 320x200 off-screen surface every effect locks, draws and unlocks.
extern Surface* backSurface;
// The effect whose render() the frame loop calls; null until the first recognised sync value.
extern Effect* currentEffect;

// The show clock in hundredths of a second since the music started.
extern float showTime;
// Number of sync events since the music started. It comes from the same play-status snapshot as
// syncValue, so within one frame the count and the value always belong together.
extern std::atomic<int> syncCount;
// The play status of the current frame: last sync value, song position, pattern and row.
extern int syncValue;
extern int musicPosition;
extern int musicPattern;
extern int musicRow;

extern ImageCache* imageCache;
extern BitmapFont* font;

// The clock is summed in double precision (a float sum of thousands of small deltas per second
// drifts within minutes) and stored into showTime each frame. An effect restarts the clock with
// resetShowTime() (writing showTime = 0 directly is noticed too).
void advanceShowTime(double hundredths);
void resetShowTime();
