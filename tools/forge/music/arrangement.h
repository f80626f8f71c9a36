// The arrangement sheet: for every order position of the song, which chords sound and how
// each part plays them. The sections follow the show: a quiet opening, a build through the
// credits, energy for the zooms and the tunnel, a breakdown under the warps, a peak for the
// 3D scenes and an outro under the closing picture.
#pragma once

#include "forge/music/harmony.h"

#include <vector>

namespace forge {

enum class DrumStyle { none, hats, light, halfTime, full, peak };
enum class Fill { none, toms, snareRoll };
enum class BassStyle { none, hold, pulse, drive };
enum class PadStyle { none, sustain, stabs };
enum class ArpStyle { none, eighths, sixteenths };
enum class Phrase { none, opening, mainCall, mainAnswer, peakCall, peakAnswer, turn, breakdown, outro };

struct OrderPlan {
    const Progression* chords;
    DrumStyle drums;
    Fill fill;  // in the pattern's last bar, leading into the next section
    bool crash; // a cymbal on the first beat
    bool riser; // a noise sweep over the second half
    BassStyle bass;
    PadStyle pad;
    ArpStyle arp;
    Phrase lead;
    int leadOctave; // added to the phrase, in octaves
    Phrase bell;    // the lead's own phrase: doubled an octave above it
    int dynamics;   // percent of each part's full volume
};

std::vector<OrderPlan> arrangement();

} // namespace forge
