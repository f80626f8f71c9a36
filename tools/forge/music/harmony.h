// The harmonic language of the soundtrack: A minor, its chords and the progressions the
// sections use, and how chords become pitches for bass, pads, arpeggios and melodies.
#pragma once

#include <array>
#include <vector>

namespace forge {

enum class ChordQuality { minor, major, minor7, major7 };

struct Chord {
    int root; // pitch class, 0 = C
    ChordQuality quality;
};

// Pitch classes of the chord, root first.
std::vector<int> chordPitchClasses(const Chord& chord);
bool chordContains(const Chord& chord, int midi);

// One chord a bar, four bars a pattern.
using Progression = std::array<Chord, 4>;

enum PitchClass { kC = 0, kD = 2, kE = 4, kF = 5, kG = 7, kA = 9, kB = 11 };

// i VI III VII: the main progression.
constexpr Progression kMainProgression = {{{kA, ChordQuality::minor},
                                           {kF, ChordQuality::major},
                                           {kC, ChordQuality::major},
                                           {kG, ChordQuality::major}}};
// VI7 VII v7 i: the breakdown, softer colours.
constexpr Progression kBreakProgression = {{{kF, ChordQuality::major7},
                                            {kG, ChordQuality::major},
                                            {kE, ChordQuality::minor7},
                                            {kA, ChordQuality::minor}}};
// iv i VI V: the turnaround, its E major pulling back to A minor.
constexpr Progression kTurnProgression = {{{kD, ChordQuality::minor},
                                           {kA, ChordQuality::minor},
                                           {kF, ChordQuality::major},
                                           {kE, ChordQuality::major}}};
// VI VII i i: the close.
constexpr Progression kOutroProgression = {{{kF, ChordQuality::major},
                                            {kG, ChordQuality::major},
                                            {kA, ChordQuality::minor},
                                            {kA, ChordQuality::minor}}};

// The lowest MIDI note of the chord's root at or above `floor`.
int rootAtOrAbove(const Chord& chord, int floor);

// A close voicing of `voices` chord tones within [low, high], moving as little as possible
// from `previous` (empty: start around the middle of the range).
std::vector<int> voiceChord(const Chord& chord, int voices, int low, int high,
                            const std::vector<int>& previous);

// Natural minor on A: degree 0 = A4 (MIDI 69), 7 = A5, -7 = A3.
int minorDegreeToMidi(int degree);

} // namespace forge
