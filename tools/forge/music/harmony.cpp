#include "forge/music/harmony.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace forge {
namespace {

constexpr int kOctave = 12;
constexpr int kTonicMidi = 69; // A4
constexpr std::array<int, 7> kMinorSteps = {0, 2, 3, 5, 7, 8, 10};

int pitchClass(int midi) {
    return ((midi % kOctave) + kOctave) % kOctave;
}

} // namespace

std::vector<int> chordPitchClasses(const Chord& chord) {
    std::vector<int> intervals;
    switch (chord.quality) {
        case ChordQuality::minor:
            intervals = {0, 3, 7};
            break;
        case ChordQuality::major:
            intervals = {0, 4, 7};
            break;
        case ChordQuality::minor7:
            intervals = {0, 3, 7, 10};
            break;
        case ChordQuality::major7:
            intervals = {0, 4, 7, 11};
            break;
    }
    std::vector<int> classes;
    for (int i : intervals) classes.push_back(pitchClass(chord.root + i));
    return classes;
}

bool chordContains(const Chord& chord, int midi) {
    const std::vector<int> classes = chordPitchClasses(chord);
    return std::find(classes.begin(), classes.end(), pitchClass(midi)) != classes.end();
}

int rootAtOrAbove(const Chord& chord, int floor) {
    return floor + pitchClass(chord.root - floor);
}

std::vector<int> voiceChord(const Chord& chord, int voices, int low, int high,
                            const std::vector<int>& previous) {
    // Candidates: every chord tone in range. Search all ascending combinations of `voices`
    // distinct pitch classes that hold the required tones, and pick the one nearest the
    // previous voicing (or the range's middle).
    const std::vector<int> classes = chordPitchClasses(chord);
    std::vector<int> candidates;
    for (int m = low; m <= high; ++m)
        if (chordContains(chord, m)) candidates.push_back(m);
    const int centre = (low + high) / 2;
    std::vector<int> best, current;
    long bestCost = LONG_MAX;
    auto cost = [&](const std::vector<int>& v) {
        long c = 0;
        for (size_t i = 0; i < v.size(); ++i)
            c += std::abs(v[i] - (i < previous.size() ? previous[i] : centre));
        return c;
    };
    // Tones every voicing must hold: root, third and fifth; a seventh chord in three voices
    // leaves out its root instead (the bass plays it) to keep its colour.
    std::vector<int> required(classes.begin(),
                              classes.begin() + std::min<long>(voices, long(classes.size())));
    if (classes.size() == 4 && voices == 3) required = {classes[1], classes[2], classes[3]};
    auto covers = [&](const std::vector<int>& v) {
        for (int wanted : required)
            if (std::none_of(v.begin(), v.end(), [&](int m) { return pitchClass(m) == wanted; }))
                return false;
        return true;
    };
    auto search = [&](auto&& self, size_t from) -> void {
        if (current.size() == size_t(voices)) {
            if (!covers(current)) return;
            const long c = cost(current);
            if (c < bestCost) {
                bestCost = c;
                best = current;
            }
            return;
        }
        for (size_t i = from; i < candidates.size(); ++i) {
            if (std::any_of(current.begin(), current.end(),
                            [&](int m) { return pitchClass(m) == pitchClass(candidates[i]); }))
                continue;
            current.push_back(candidates[i]);
            self(self, i + 1);
            current.pop_back();
        }
    };
    search(search, 0);
    return best;
}

int minorDegreeToMidi(int degree) {
    const int octave = degree >= 0 ? degree / 7 : -((-degree + 6) / 7);
    const int step = degree - octave * 7;
    return kTonicMidi + octave * kOctave + kMinorSteps[size_t(step)];
}

} // namespace forge
