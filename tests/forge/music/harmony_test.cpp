// The written parts follow the chords: read back from the module, bass, pads, arpeggios and the
// lead's strong beats sound the chord of their bar.
#include "forge/module_probe.h"
#include "forge/music/arrangement.h"
#include "forge/music/harmony.h"
#include "forge/music/soundtrack.h"
#include "forge/music/sync_schedule.h"
#include "forge/test_files.h"

#include <gtest/gtest.h>

#include <map>

using namespace forge;

namespace {

// Channels as the soundtrack lays them out.
constexpr int kBassChannel = 4;
constexpr int kPadChannels[] = {5, 6, 7};
constexpr int kArpChannel = 8;
constexpr int kLeadChannel = 9;
constexpr int kStrongBeatRows = 8; // beats 1 and 3 of a bar

const std::map<std::string, int> kPitchClasses = {{"C-", 0}, {"C#", 1}, {"D-", 2},  {"D#", 3},
                                                  {"E-", 4}, {"F-", 5}, {"F#", 6},  {"G-", 7},
                                                  {"G#", 8}, {"A-", 9}, {"A#", 10}, {"B-", 11}};

// Pitch class of a formatted note ("A-4"), -1 for none or key off.
int pitchClassAt(openmpt::module& mod, int order, int row, int channel) {
    const std::string note = mod.format_pattern_row_channel_command(mod.get_order_pattern(order), row,
                                                                    channel, openmpt::module::command_note);
    auto it = kPitchClasses.find(note.substr(0, 2));
    return it == kPitchClasses.end() ? -1 : it->second;
}

bool inChord(const Chord& chord, int pitchClass) {
    for (int pc : chordPitchClasses(chord))
        if (pc == pitchClass) return true;
    return false;
}

} // namespace

TEST(SoundtrackHarmony, PartsSoundTheChordOfTheirBar) {
    auto loaded =
        forgetest::loadModule(forge_test::readFile(forge_test::kDataDir + "/" + kSoundtrackFileName));
    openmpt::module& mod = *loaded->module;
    const std::vector<OrderPlan> sheet = arrangement();
    ASSERT_EQ(int(sheet.size()), showOrderCount()) << "one plan per order position of the schedule";
    ASSERT_EQ(int(sheet.size()), mod.get_num_orders());
    int bassRoots = 0, leadNotes = 0;
    for (int order = 0; order < mod.get_num_orders(); ++order) {
        for (int row = 0; row < kPatternRows; ++row) {
            const Chord& chord = (*sheet[size_t(order)].chords)[size_t(row / kRowsPerBar)];
            const std::string where = "order " + std::to_string(order) + " row " + std::to_string(row);
            const int bass = pitchClassAt(mod, order, row, kBassChannel);
            if (row % kRowsPerBar == 0 && bass >= 0) {
                EXPECT_EQ(bass, chord.root) << where << ": the bass starts each bar on the root";
                ++bassRoots;
            }
            for (int channel : kPadChannels) {
                const int pad = pitchClassAt(mod, order, row, channel);
                if (pad >= 0) {
                    EXPECT_TRUE(inChord(chord, pad)) << where << " pad channel " << channel;
                }
            }
            const int arp = pitchClassAt(mod, order, row, kArpChannel);
            if (arp >= 0) {
                EXPECT_TRUE(inChord(chord, arp)) << where << " arpeggio";
            }
            const int lead = pitchClassAt(mod, order, row, kLeadChannel);
            if (row % kStrongBeatRows == 0 && lead >= 0) {
                EXPECT_TRUE(inChord(chord, lead)) << where << ": the lead's strong beats are chord tones";
                ++leadNotes;
            }
        }
    }
    EXPECT_GT(bassRoots, 100);
    EXPECT_GT(leadNotes, 100);
}

TEST(SoundtrackHarmony, VoicingsHoldTheChordAndMoveLittle) {
    const Chord aMinor{kA, ChordQuality::minor}, fMajor7{kF, ChordQuality::major7};
    const std::vector<int> first = voiceChord(aMinor, 3, 57, 76, {});
    ASSERT_EQ(first.size(), 3u);
    for (int m : first) {
        EXPECT_TRUE(chordContains(aMinor, m));
        EXPECT_GE(m, 57);
        EXPECT_LE(m, 76);
    }
    // A minor to F: A and C are shared and stay; only E moves, a semitone up to F.
    const std::vector<int> next = voiceChord({kF, ChordQuality::major}, 3, 57, 76, {60, 64, 69});
    EXPECT_EQ(next, (std::vector<int>{60, 65, 69}));
    // A seventh chord in three voices drops its root and keeps third, fifth and seventh.
    const std::vector<int> colour = voiceChord(fMajor7, 3, 57, 76, {60, 64, 69});
    ASSERT_EQ(colour.size(), 3u);
    for (int m : colour) EXPECT_NE(m % 12, int(kF));
    EXPECT_EQ(rootAtOrAbove(aMinor, 33), 33);
    EXPECT_EQ(rootAtOrAbove({kG, ChordQuality::major}, 33), 43);
    EXPECT_EQ(minorDegreeToMidi(0), 69);
    EXPECT_EQ(minorDegreeToMidi(7), 81);
    EXPECT_EQ(minorDegreeToMidi(-1), 67);
    EXPECT_EQ(minorDegreeToMidi(2), 72);
}
