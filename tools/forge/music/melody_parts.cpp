#include "forge/music/melodies.h"
#include "forge/music/parts.h"
#include "forge/music/sync_schedule.h"

namespace forge {
namespace {

constexpr int kEchoDelay = 3; // a dotted eighth
constexpr int kEchoPercent = 45;
constexpr uint8_t kEchoPanning = 0xc0; // right of centre; the lead stays in the middle
constexpr int kOctave = 12;

} // namespace

void writeMelodies(SongWriter& song, const Sheet& sheet) {
    for (size_t order = 0; order < sheet.size(); ++order) {
        const OrderPlan& plan = sheet[order];
        const int start = int(order) * kPatternRows;
        for (const MelodyNote& n : phraseNotes(plan.lead)) {
            const int midi = minorDegreeToMidi(n.degree) + plan.leadOctave * kOctave;
            const int volume = scaledVolume(64, plan);
            song.note(start + n.row, kLeadTrack, midi, kLead, volume, n.length);
            song.note(start + n.row + kEchoDelay, kEchoTrack, midi, kLead, volume * kEchoPercent / 100,
                      n.length);
            song.effect(start + n.row + kEchoDelay, kEchoTrack, kXmEffectPanning, kEchoPanning);
        }
        const int bellOctave = plan.bell == plan.lead ? plan.leadOctave + 1 : 0;
        for (const MelodyNote& n : phraseNotes(plan.bell))
            song.note(start + n.row, kBellTrack, minorDegreeToMidi(n.degree) + bellOctave * kOctave, kBell,
                      scaledVolume(56, plan));
    }
}

} // namespace forge
