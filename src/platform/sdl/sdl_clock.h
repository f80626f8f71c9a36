#pragma once
// SDL's clock: the performance counter, with SDL's millisecond sleep (which SDL makes fine-grained
// where the system's is coarse).
#include "platform/tick_clock.h"

TickClock& sdlClock();
