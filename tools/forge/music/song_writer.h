// Writes notes into the soundtrack's patterns by song row (order position x 64 + row) and
// track, one pattern per order position, so parts can be written across pattern boundaries.
#pragma once

#include "forge/music/instruments.h"
#include "forge/xm/xm_module.h"

namespace forge {

// The module's channels, one role each.
enum Track : int {
    kKickTrack,
    kSnareTrack,
    kHatTrack,
    kPercTrack, // toms and cymbals
    kBassTrack,
    kPadTrack, // three voices: kPadTrack .. kPadTrack + 2
    kArpTrack = kPadTrack + 3,
    kLeadTrack,
    kEchoTrack, // the lead again, later and softer
    kBellTrack,
    kFxTrack,
    kSyncTrack,
    kTrackCount
};
constexpr int kPadVoices = 3;

class SongWriter {
public:
    // Adds one 64-row pattern per order position to the module.
    SongWriter(XmModule& module, int orders);

    int rows() const { return songRows; }
    // Plays a MIDI note; `length` > 0 releases it (key off) that many rows later unless
    // another note stands there.
    void note(int songRow, int track, int midi, InstrumentId instrument, int volume, int length = 0);
    void keyOff(int songRow, int track);
    void effect(int songRow, int track, uint8_t effect, uint8_t param);
    const XmCell& at(int songRow, int track) const;

private:
    XmCell* cell(int songRow, int track);

    XmModule& module;
    int songRows;
};

} // namespace forge
