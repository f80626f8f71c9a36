#include "forge/music/composition.h"

#include "forge/music/instruments.h"
#include "forge/music/parts.h"
#include "forge/music/sync_schedule.h"

#include <algorithm>

namespace forge {

int scaledVolume(int volume, const OrderPlan& plan) {
    return std::clamp(volume * plan.dynamics / 100, 0, kXmMaxVolume);
}

const Chord& chordAt(const Sheet& sheet, int songRow) {
    const OrderPlan& plan = sheet[size_t(songRow / kPatternRows)];
    return (*plan.chords)[size_t(songRow % kPatternRows / kRowsPerBar)];
}

XmModule composeSoundtrack() {
    XmModule module;
    module.name = "halcyver";
    module.speed = kSongSpeed;
    module.bpm = kSongBpm;
    module.instruments = makeInstruments();
    const Sheet sheet = arrangement();
    SongWriter song(module, int(sheet.size()));
    writeDrums(song, sheet);
    writeBass(song, sheet);
    writePads(song, sheet);
    writeArpeggios(song, sheet);
    writeMelodies(song, sheet);
    // Each sync command has a channel of its own, so no musical effect can displace it.
    for (const SyncEvent& e : showSyncSchedule())
        song.effect(e.order * kPatternRows + e.row, kSyncTrack, kXmEffectSync, e.value);
    return module;
}

} // namespace forge
