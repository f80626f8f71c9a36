#include "forge/music/song_writer.h"

#include "forge/music/sync_schedule.h"
#include "forge/music/synth.h"

namespace forge {

SongWriter::SongWriter(XmModule& module, int orders) : module(module), songRows(orders * kPatternRows) {
    module.channels = kTrackCount;
    for (int i = 0; i < orders; ++i) module.orders.push_back(uint8_t(module.addPattern(kPatternRows)));
}

XmCell* SongWriter::cell(int songRow, int track) {
    if (songRow < 0 || songRow >= songRows || track < 0 || track >= kTrackCount) return nullptr;
    XmPattern& p = module.patterns[module.orders[size_t(songRow / kPatternRows)]];
    return &p.at(songRow % kPatternRows, track, module.channels);
}

const XmCell& SongWriter::at(int songRow, int track) const {
    const XmPattern& p = module.patterns[module.orders[size_t(songRow / kPatternRows)]];
    return p.at(songRow % kPatternRows, track, module.channels);
}

void SongWriter::note(int songRow, int track, int midi, InstrumentId instrument, int volume, int length) {
    if (XmCell* c = cell(songRow, track)) {
        c->note = xmNoteFromMidi(midi);
        c->instrument = instrument;
        c->volume = xmVolume(volume);
    }
    if (length > 0) keyOff(songRow + length, track);
}

void SongWriter::keyOff(int songRow, int track) {
    XmCell* c = cell(songRow, track);
    if (c && c->note == 0) c->note = kXmKeyOff;
}

void SongWriter::effect(int songRow, int track, uint8_t effect, uint8_t param) {
    if (XmCell* c = cell(songRow, track)) {
        c->effect = effect;
        c->param = param;
    }
}

} // namespace forge
