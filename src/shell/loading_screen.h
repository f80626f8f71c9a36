#pragma once
// The still screen shown while the effects load, and the progress bar that grows after each.
class Console;

// Row and first column of the progress bar's blocks.
inline constexpr int kProgressRow = 10;
inline constexpr int kProgressStart = 20;

// Creates the objects every effect shares (picture cache, font, logo) before any effect loads.
void createSharedObjects();

// Draws the loading screen into backSurface (the dimmed title card at half size in the middle, the
// logo added at the lower left) without presenting it.
void renderLoadingScreen();
// renderLoadingScreen, then presents.
void drawLoadingScreen(Console& console);

// Draws one block of the bar at column *x of rows row..row+3, moves *x on, and presents.
void drawProgress(Console& console, int* x, int row);
