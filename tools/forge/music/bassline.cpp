#include "forge/music/parts.h"
#include "forge/music/sync_schedule.h"

#include <array>

namespace forge {
namespace {

constexpr int kBassFloor = 33; // A1: roots sit between A1 and G#2
constexpr int kOctave = 12;
constexpr std::array<int, 7> kScale = {kA, kB, kC, kD, kE, kF, kG};

bool inScale(int midi) {
    const int pc = midi % kOctave;
    for (int s : kScale)
        if (s == pc) return true;
    return false;
}

// The scale note next to `target` on the side we come from: a step up or down into it.
int approach(int from, int target) {
    const int direction = target >= from ? -1 : 1;
    int m = target + direction;
    while (!inScale(m)) m += direction;
    return m;
}

} // namespace

void writeBass(SongWriter& song, const Sheet& sheet) {
    for (int row = 0; row < song.rows(); row += kRowsPerBar) {
        const OrderPlan& plan = sheet[size_t(row / kPatternRows)];
        const int root = rootAtOrAbove(chordAt(sheet, row), kBassFloor);
        const bool lastBarOfSong = row + kRowsPerBar >= song.rows();
        const int next = lastBarOfSong ? root : rootAtOrAbove(chordAt(sheet, row + kRowsPerBar), kBassFloor);
        const int volume = scaledVolume(64, plan);
        switch (plan.bass) {
            case BassStyle::none:
                song.keyOff(row, kBassTrack);
                break;
            case BassStyle::hold:
                song.note(row, kBassTrack, root, kBass, volume, kRowsPerBar);
                break;
            case BassStyle::pulse:
            case BassStyle::drive:
                for (int r = 0; r < kRowsPerBar; r += 2) {
                    int midi = root;
                    if (plan.bass == BassStyle::drive && r % 4 == 2) midi += kOctave;
                    if (r == kRowsPerBar - 2 && next != root) midi = approach(root, next);
                    song.note(row + r, kBassTrack, midi, kBass, r % 4 ? volume - 8 : volume, 1);
                }
                break;
        }
    }
}

} // namespace forge
