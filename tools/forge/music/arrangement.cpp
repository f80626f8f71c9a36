#include "forge/music/arrangement.h"

namespace forge {
namespace {

using D = DrumStyle;
using F = Fill;
using B = BassStyle;
using P = PadStyle;
using A = ArpStyle;
using M = Phrase;

constexpr const Progression* kMain = &kMainProgression;
constexpr const Progression* kBreak = &kBreakProgression;
constexpr const Progression* kTurn = &kTurnProgression;
constexpr const Progression* kOutro = &kOutroProgression;
constexpr Progression kTonicHeld = {{{kA, ChordQuality::minor},
                                     {kA, ChordQuality::minor},
                                     {kA, ChordQuality::minor},
                                     {kA, ChordQuality::minor}}};
constexpr const Progression* kTail = &kTonicHeld;

} // namespace

std::vector<OrderPlan> arrangement() {
    // clang-format off
    //  chords  drums        fill          crash  riser  bass      pad          arp           lead           oct bell           dyn
    std::vector<OrderPlan> sheet = {
        // opening picture: pads and a bell
        {kMain,  D::none,     F::none,      false, false, B::none,  P::sustain,  A::none,       M::none,       0, M::opening,    70},
        {kMain,  D::none,     F::none,      false, true,  B::hold,  P::sustain,  A::eighths,    M::none,       0, M::opening,    75},
        // credits: the build
        {kMain,  D::hats,     F::none,      false, false, B::hold,  P::sustain,  A::eighths,    M::none,       0, M::none,       80},
        {kMain,  D::hats,     F::toms,      false, false, B::pulse, P::sustain,  A::eighths,    M::mainCall,  -1, M::none,       80},
        {kMain,  D::light,    F::none,      true,  false, B::pulse, P::sustain,  A::eighths,    M::mainCall,   0, M::none,       85},
        {kMain,  D::light,    F::none,      false, false, B::pulse, P::sustain,  A::eighths,    M::mainAnswer, 0, M::none,       85},
        {kTurn,  D::light,    F::none,      false, false, B::pulse, P::sustain,  A::eighths,    M::turn,       0, M::none,       85},
        {kMain,  D::light,    F::toms,      false, false, B::pulse, P::sustain,  A::sixteenths, M::mainAnswer, 0, M::none,       85},
        {kMain,  D::full,     F::none,      true,  false, B::drive, P::sustain,  A::sixteenths, M::mainCall,   0, M::none,       90},
        {kMain,  D::full,     F::none,      false, false, B::drive, P::sustain,  A::sixteenths, M::mainAnswer, 0, M::none,       90},
        {kTurn,  D::full,     F::none,      false, false, B::drive, P::sustain,  A::sixteenths, M::turn,       0, M::none,       90},
        {kMain,  D::full,     F::snareRoll, false, true,  B::drive, P::sustain,  A::sixteenths, M::mainAnswer, 0, M::none,       90},
        // first zoom: energy
        {kMain,  D::full,     F::none,      true,  false, B::drive, P::sustain,  A::sixteenths, M::mainCall,   0, M::none,      100},
        {kMain,  D::full,     F::toms,      false, false, B::drive, P::sustain,  A::sixteenths, M::mainAnswer, 0, M::none,      100},
        // the warps: a breakdown, building again under the fade
        {kBreak, D::none,     F::none,      true,  false, B::hold,  P::sustain,  A::eighths,    M::none,       0, M::breakdown,  80},
        {kBreak, D::hats,     F::none,      false, false, B::hold,  P::sustain,  A::eighths,    M::none,       0, M::breakdown,  80},
        {kBreak, D::halfTime, F::none,      false, false, B::pulse, P::sustain,  A::eighths,    M::breakdown,  0, M::none,       85},
        {kBreak, D::halfTime, F::toms,      false, true,  B::pulse, P::sustain,  A::sixteenths, M::breakdown,  0, M::breakdown,  85},
        {kTurn,  D::light,    F::snareRoll, false, true,  B::pulse, P::sustain,  A::sixteenths, M::turn,       0, M::none,       90},
        // second zoom and the tunnel: energy
        {kMain,  D::full,     F::none,      true,  false, B::drive, P::sustain,  A::sixteenths, M::mainCall,   0, M::none,       95},
        {kMain,  D::full,     F::toms,      false, false, B::drive, P::sustain,  A::sixteenths, M::mainAnswer, 0, M::none,       95},
        {kMain,  D::peak,     F::none,      true,  false, B::drive, P::sustain,  A::sixteenths, M::mainCall,   0, M::none,      100},
        {kTurn,  D::peak,     F::snareRoll, false, true,  B::drive, P::sustain,  A::sixteenths, M::turn,       0, M::none,      100},
        // rippling surface: chord stabs on every label change
        {kMain,  D::halfTime, F::none,      true,  false, B::pulse, P::stabs,    A::none,       M::none,       0, M::opening,    90},
        {kMain,  D::halfTime, F::snareRoll, false, true,  B::pulse, P::stabs,    A::none,       M::none,       0, M::opening,    90},
        // gold scene, metaballs and the double tunnel: the peak, the theme doubled by the bell
        {kMain,  D::peak,     F::none,      true,  false, B::drive, P::sustain,  A::sixteenths, M::mainCall,   0, M::mainCall,  100},
        {kMain,  D::peak,     F::none,      false, false, B::drive, P::sustain,  A::sixteenths, M::mainAnswer, 0, M::mainAnswer,100},
        {kTurn,  D::peak,     F::toms,      false, false, B::drive, P::sustain,  A::sixteenths, M::turn,       0, M::none,      100},
        {kMain,  D::peak,     F::none,      true,  false, B::drive, P::sustain,  A::sixteenths, M::peakCall,   0, M::none,      100},
        {kMain,  D::peak,     F::toms,      false, false, B::drive, P::sustain,  A::sixteenths, M::peakAnswer, 0, M::none,      100},
        {kMain,  D::peak,     F::none,      true,  false, B::drive, P::sustain,  A::sixteenths, M::peakCall,   0, M::peakCall,  100},
        {kMain,  D::peak,     F::snareRoll, false, false, B::drive, P::sustain,  A::sixteenths, M::mainAnswer, 0, M::mainAnswer,100},
        // closing picture: the outro, then the last chord rings under the end marker
        {kOutro, D::none,     F::none,      true,  false, B::hold,  P::sustain,  A::eighths,    M::outro,      0, M::none,       80},
        {kTail,  D::none,     F::none,      false, false, B::hold,  P::sustain,  A::none,       M::none,       0, M::none,       70},
    };
    // clang-format on
    return sheet;
}

} // namespace forge
