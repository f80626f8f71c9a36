#pragma once
// The number of the show's icon resource: its .rc file names the icon by it, and SDL is told to
// give the show's window class that icon. (Plain #define: windres reads this file too.)
#define IDI_MAIN 101
