#pragma once
// What SDL needs to hear before its first subsystem starts.

// Tells SDL that the programs keep their own main (no SDL_main wrapper), and on Windows registers
// the window class the show's windows belong to. Safe to call more than once.
void prepareSdl();
