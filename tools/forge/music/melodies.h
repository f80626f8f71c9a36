// The soundtrack's tunes, written out note by note: each phrase spans one pattern (four bars)
// over the progression it was written for, with the chord tones on the strong beats.
#pragma once

#include "forge/music/arrangement.h"

#include <vector>

namespace forge {

struct MelodyNote {
    int row;    // within the pattern
    int length; // rows until released
    int degree; // A natural minor, 0 = A4
};

std::vector<MelodyNote> phraseNotes(Phrase phrase);

} // namespace forge
