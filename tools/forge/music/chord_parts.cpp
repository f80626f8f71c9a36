#include "forge/music/parts.h"
#include "forge/music/sync_schedule.h"

#include <array>

namespace forge {
namespace {

constexpr int kPadLow = 57, kPadHigh = 76;   // A3 .. E5
constexpr int kStabLow = 60, kStabHigh = 79; // C4 .. G5
constexpr int kArpLow = 64, kArpHigh = 79;   // E4 .. G5
constexpr int kStabLength = 3;
constexpr int kStabEvery = 2 * kRowsPerBeat; // in step with the rippling surface's labels

} // namespace

void writePads(SongWriter& song, const Sheet& sheet) {
    std::vector<int> voicing;
    std::array<bool, kPadVoices> sounding{};
    for (int row = 0; row < song.rows(); row += kRowsPerBar) {
        const OrderPlan& plan = sheet[size_t(row / kPatternRows)];
        const Chord& chord = chordAt(sheet, row);
        switch (plan.pad) {
            case PadStyle::none:
                for (int v = 0; v < kPadVoices; ++v) song.keyOff(row, kPadTrack + v);
                sounding.fill(false);
                break;
            case PadStyle::sustain: {
                const std::vector<int> next = voiceChord(chord, kPadVoices, kPadLow, kPadHigh, voicing);
                for (int v = 0; v < kPadVoices; ++v) {
                    // A voice that keeps its note holds it instead of striking it again.
                    if (sounding[size_t(v)] && size_t(v) < voicing.size() &&
                        voicing[size_t(v)] == next[size_t(v)])
                        continue;
                    song.note(row, kPadTrack + v, next[size_t(v)], kPad, scaledVolume(52, plan));
                    sounding[size_t(v)] = true;
                }
                voicing = next;
                break;
            }
            case PadStyle::stabs: {
                const std::vector<int> notes = voiceChord(chord, kPadVoices, kStabLow, kStabHigh, voicing);
                for (int r = 0; r < kRowsPerBar; r += kStabEvery)
                    for (int v = 0; v < kPadVoices; ++v)
                        song.note(row + r, kPadTrack + v, notes[size_t(v)], kStab,
                                  scaledVolume(r ? 52 : 60, plan), kStabLength);
                voicing = notes;
                sounding.fill(false);
                break;
            }
        }
    }
}

void writeArpeggios(SongWriter& song, const Sheet& sheet) {
    // Up and down through the chord and its octave; six steps against the bar's sixteen
    // keep the figure turning over the beat.
    static constexpr int kFigure[] = {0, 1, 2, 3, 2, 1};
    std::vector<int> voicing;
    int step = 0;
    for (int row = 0; row < song.rows(); row += kRowsPerBar) {
        const OrderPlan& plan = sheet[size_t(row / kPatternRows)];
        if (plan.arp == ArpStyle::none) {
            step = 0;
            continue;
        }
        voicing = voiceChord(chordAt(sheet, row), 3, kArpLow, kArpHigh, voicing);
        std::vector<int> tones = voicing;
        tones.push_back(voicing.front() + 12);
        const int every = plan.arp == ArpStyle::eighths ? 2 : 1;
        for (int r = 0; r < kRowsPerBar; r += every) {
            const int volume = scaledVolume(r % 4 == 0 ? 52 : 40, plan);
            song.note(row + r, kArpTrack, tones[size_t(kFigure[step % 6])], kPluck, volume);
            ++step;
        }
    }
}

} // namespace forge
