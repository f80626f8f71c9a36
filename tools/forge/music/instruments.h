// The soundtrack's instruments, all synthesised: drums from swept sines and shaped noise,
// bass, pads, plucks and leads from band-limited saw and pulse loops (one sample an octave so
// no note aliases), bells from decaying partials.
#pragma once

#include "forge/xm/xm_module.h"

#include <cstdint>
#include <vector>

namespace forge {

// Instrument numbers as the patterns use them (1-based, in the order of makeInstruments()).
enum InstrumentId : uint8_t {
    kKick = 1,
    kSnare,
    kClap,
    kClosedHat,
    kOpenHat,
    kCrash,
    kTom,
    kRiser,
    kBass,
    kPad,
    kStab,
    kPluck,
    kLead,
    kBell,
    kInstrumentEnd
};

std::vector<XmInstrument> makeInstruments();

} // namespace forge
