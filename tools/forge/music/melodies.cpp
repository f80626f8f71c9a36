#include "forge/music/melodies.h"

namespace forge {
namespace {

// Scale degrees of A natural minor, around A4.
enum Degree { G4 = -1, A4 = 0, B4, C5, D5, E5, F5, G5, A5, B5, C6, D6, E6 };

// One bar a line: {row, length, degree}.
// clang-format off

// Am F C G. The call rises to A5 over the first two bars; the answer falls back to D.
const std::vector<MelodyNote> kMainCall = {
    {0, 6, E5},  {6, 2, D5},  {8, 4, C5},  {12, 4, E5},
    {16, 8, A5}, {24, 4, F5}, {28, 4, E5},
    {32, 6, G5}, {38, 2, E5}, {40, 8, C5},
    {48, 4, D5}, {52, 4, B4}, {56, 8, D5},
};

// Am F C G. The reply: starts where the call peaked, runs up to C6, and leads home to E.
const std::vector<MelodyNote> kMainAnswer = {
    {0, 3, A5},  {3, 3, C6},  {6, 2, B5},  {8, 4, A5},  {12, 2, G5}, {14, 2, A5},
    {16, 6, C6}, {22, 2, A5}, {24, 8, F5},
    {32, 6, G5}, {38, 2, A5}, {40, 4, G5}, {44, 4, E5},
    {48, 6, D5}, {54, 2, E5}, {56, 4, D5}, {60, 4, B4},
};

// Am F C G, for the peak: a syncopated figure around C6, higher than the main call.
const std::vector<MelodyNote> kPeakCall = {
    {0, 3, C6},  {3, 3, B5},  {6, 2, A5},  {8, 6, E5},  {14, 2, A5},
    {16, 3, C6}, {19, 3, A5}, {22, 2, C6}, {24, 6, A5}, {30, 2, G5},
    {32, 3, G5}, {35, 3, C6}, {38, 2, B5}, {40, 6, G5}, {46, 2, E5},
    {48, 4, B5}, {52, 4, D6}, {56, 8, B5},
};

// Am F C G: the peak's reply steps down through each chord, leaving E to lead home.
const std::vector<MelodyNote> kPeakAnswer = {
    {0, 6, A5},  {6, 2, G5},  {8, 4, E5},  {12, 4, C5},
    {16, 6, F5}, {22, 2, E5}, {24, 4, C5}, {28, 4, A4},
    {32, 6, E5}, {38, 2, D5}, {40, 4, C5}, {44, 4, G4},
    {48, 8, B4}, {56, 4, D5}, {60, 4, E5},
};

// Dm Am F E: a falling line that lands on the E major chord's fifth.
const std::vector<MelodyNote> kTurn = {
    {0, 8, F5},  {8, 4, D5},  {12, 4, E5},
    {16, 8, C5}, {24, 8, A4},
    {32, 6, A4}, {38, 2, C5}, {40, 8, F5},
    {48, 8, E5}, {56, 8, B4},
};

// Fmaj7 G Em7 Am: long notes for the breakdown, the major seventh first.
const std::vector<MelodyNote> kBreakdown = {
    {0, 12, E5},  {12, 4, C5},
    {16, 12, D5}, {28, 4, B4},
    {32, 8, G5},  {40, 8, E5},
    {48, 8, C5},  {56, 8, A4},
};

// Am F C G: a few slow bell notes, one chord tone at a time.
const std::vector<MelodyNote> kOpening = {
    {0, 16, E5},
    {16, 16, A4},
    {32, 12, G4}, {44, 4, C5},
    {48, 8, B4},  {56, 8, D5},
};

// F G Am Am: the main call's peak, slowed down, coming to rest on A.
const std::vector<MelodyNote> kOutro = {
    {0, 8, A5},  {8, 8, F5},
    {16, 8, G5}, {24, 8, D5},
    {32, 16, E5},
    {48, 16, A4},
};

// clang-format on

} // namespace

std::vector<MelodyNote> phraseNotes(Phrase phrase) {
    switch (phrase) {
        case Phrase::none:
            return {};
        case Phrase::opening:
            return kOpening;
        case Phrase::mainCall:
            return kMainCall;
        case Phrase::mainAnswer:
            return kMainAnswer;
        case Phrase::peakCall:
            return kPeakCall;
        case Phrase::peakAnswer:
            return kPeakAnswer;
        case Phrase::turn:
            return kTurn;
        case Phrase::breakdown:
            return kBreakdown;
        case Phrase::outro:
            return kOutro;
    }
    return {};
}

} // namespace forge
