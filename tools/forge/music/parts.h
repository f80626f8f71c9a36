// The parts of the soundtrack, each written over the whole song from the arrangement sheet.
#pragma once

#include "forge/music/arrangement.h"
#include "forge/music/song_writer.h"

#include <vector>

namespace forge {

using Sheet = std::vector<OrderPlan>;

// Kick, snare, hats, fills, cymbals and risers.
void writeDrums(SongWriter& song, const Sheet& sheet);
// The bass: the chord roots, with approach notes into the next bar.
void writeBass(SongWriter& song, const Sheet& sheet);
// Sustained pad chords (voice-led) or short stabs.
void writePads(SongWriter& song, const Sheet& sheet);
void writeArpeggios(SongWriter& song, const Sheet& sheet);
// Lead (with its echo) and bell phrases.
void writeMelodies(SongWriter& song, const Sheet& sheet);

// Shared by the parts.
int scaledVolume(int volume, const OrderPlan& plan);
const Chord& chordAt(const Sheet& sheet, int songRow);

} // namespace forge
