#include "forge/music/parts.h"
#include "forge/music/sync_schedule.h"
#include "forge/music/synth.h"

namespace forge {
namespace {

// Drums play their sample at its own rate: XM middle C.
constexpr int kUnpitched = kMidiMiddleC;

void hit(SongWriter& song, int row, int track, InstrumentId ins, int volume, const OrderPlan& plan) {
    song.note(row, track, kUnpitched, ins, scaledVolume(volume, plan));
}

// One bar of the groove, rows relative to the bar's first row.
void bar(SongWriter& song, int start, int barIndex, const OrderPlan& plan) {
    const bool lastBar = barIndex == kBarsPerPattern - 1;
    switch (plan.drums) {
        case DrumStyle::none:
            break;
        case DrumStyle::hats:
            for (int r = 2; r < kRowsPerBar; r += 4) hit(song, start + r, kHatTrack, kClosedHat, 40, plan);
            for (int r = 0; r < kRowsPerBar; r += 4) hit(song, start + r, kHatTrack, kClosedHat, 18, plan);
            break;
        case DrumStyle::light:
            hit(song, start, kKickTrack, kKick, 52, plan);
            hit(song, start + 8, kKickTrack, kKick, 48, plan);
            if (barIndex % 2) hit(song, start + 10, kKickTrack, kKick, 36, plan);
            hit(song, start + 4, kSnareTrack, kClap, 36, plan);
            hit(song, start + 12, kSnareTrack, kClap, 40, plan);
            for (int r = 0; r < kRowsPerBar; r += 2)
                hit(song, start + r, kHatTrack, kClosedHat, r % 4 ? 40 : 22, plan);
            break;
        case DrumStyle::halfTime:
            hit(song, start, kKickTrack, kKick, 60, plan);
            hit(song, start + 6, kKickTrack, kKick, 44, plan);
            if (barIndex % 2) hit(song, start + 11, kKickTrack, kKick, 40, plan);
            hit(song, start + 8, kSnareTrack, kSnare, 56, plan);
            for (int r = 0; r < kRowsPerBar; ++r)
                hit(song, start + r, kHatTrack, kClosedHat, r % 2 ? 20 : 34, plan);
            if (lastBar) hit(song, start + 14, kHatTrack, kOpenHat, 36, plan);
            break;
        case DrumStyle::full:
        case DrumStyle::peak: {
            const bool peak = plan.drums == DrumStyle::peak;
            for (int r = 0; r < kRowsPerBar; r += kRowsPerBeat)
                hit(song, start + r, kKickTrack, kKick, 64, plan);
            if (peak && lastBar) hit(song, start + 14, kKickTrack, kKick, 40, plan);
            hit(song, start + 4, kSnareTrack, peak ? kClap : kSnare, 56, plan);
            hit(song, start + 12, kSnareTrack, kSnare, 58, plan);
            for (int r = 0; r < kRowsPerBar; ++r) {
                const bool offbeat = r % 4 == 2;
                if (offbeat && peak && r == 14 && barIndex % 2)
                    hit(song, start + r, kHatTrack, kOpenHat, 38, plan);
                else if (offbeat)
                    hit(song, start + r, kHatTrack, kClosedHat, 46, plan);
                else if (peak || r % 2 == 0)
                    hit(song, start + r, kHatTrack, kClosedHat, r % 2 ? 14 : 22, plan);
            }
            break;
        }
    }
}

// The pattern's last bar leads into the next section.
void fill(SongWriter& song, int patternStart, const OrderPlan& plan) {
    const int lastBar = patternStart + (kBarsPerPattern - 1) * kRowsPerBar;
    switch (plan.fill) {
        case Fill::none:
            break;
        case Fill::toms: {
            static constexpr int kToms[] = {57, 55, 52, 50, 48, 45};
            static constexpr int kRows[] = {8, 10, 11, 12, 14, 15};
            for (int i = 0; i < 6; ++i)
                song.note(lastBar + kRows[i], kPercTrack, kToms[i], kTom, scaledVolume(44 + 3 * i, plan));
            break;
        }
        case Fill::snareRoll:
            // Eighths, then sixteenths, growing.
            for (int r = 0; r < kRowsPerBar; r += (r < 8 ? 2 : 1))
                song.note(lastBar + r, kSnareTrack, kUnpitched, kSnare, scaledVolume(26 + r * 2, plan));
            break;
    }
}

} // namespace

void writeDrums(SongWriter& song, const Sheet& sheet) {
    for (size_t order = 0; order < sheet.size(); ++order) {
        const OrderPlan& plan = sheet[order];
        const int start = int(order) * kPatternRows;
        for (int b = 0; b < kBarsPerPattern; ++b) bar(song, start + b * kRowsPerBar, b, plan);
        fill(song, start, plan);
        if (plan.crash) song.note(start, kPercTrack, kUnpitched, kCrash, scaledVolume(50, plan));
        if (plan.riser)
            song.note(start + kPatternRows / 2, kFxTrack, kUnpitched, kRiser, scaledVolume(64, plan));
    }
}

} // namespace forge
