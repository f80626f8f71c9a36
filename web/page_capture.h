#pragma once
// The page's capture mode: the show on the virtual clock, exactly as halcyonvectrum-capture plays
// it, with one line per frame handed to the page in the capture program's frame-log format
// (number, music frame, sync value and count, pixel checksum, effect). Now and then a frame is
// shown in the canvas, which also gives the browser its turn.

// argv as the page passes it: --capture [--fps N] [--seconds S] [--start-sync V | --start-time S].
// Returns the exit code, as the capture program would.
int runPageCapture(int argc, const char* const* argv);
