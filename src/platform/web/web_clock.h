#pragma once
// The page's clock: the browser's performance counter in microseconds. A page cannot sleep; it
// gives the browser back its turn, and gets its own again at the next animation frame, so any
// sleep lasts until then.
#include "platform/tick_clock.h"

TickClock& pageClock();
