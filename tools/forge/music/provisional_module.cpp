#include "forge/music/provisional_module.h"

#include "forge/music/sync_schedule.h"
#include "forge/music/synth.h"

namespace forge {
namespace {

enum Channel {
    kKickChannel,
    kSnareChannel,
    kHatChannel,
    kBassChannel,
    kBlipChannel,
    kSyncChannel,
    kChannels
};
enum Instrument : uint8_t { kKick = 1, kSnare, kHat, kBass };

XmInstrument oneShot(const char* name, XmSample sample) {
    XmInstrument ins;
    ins.name = name;
    ins.samples.push_back(std::move(sample));
    return ins;
}

XmInstrument kick() {
    Signal s = sineSweep(0.35, 160, 45, 0.12);
    exponentialDecay(s, 0.07, 0.02);
    fadeOut(s, 0.02);
    return oneShot("kick", makeSample("kick", s));
}

XmInstrument snare() {
    Signal s = whiteNoise(0.25, 7);
    bandpass(s, 1800, 0.7);
    normalise(s, 0.8f);
    mixInto(s, sineSweep(0.25, 240, 180, 0.05), 0.4f);
    exponentialDecay(s, 0.04);
    fadeOut(s, 0.01);
    return oneShot("snare", makeSample("snare", s));
}

XmInstrument hat() {
    Signal s = whiteNoise(0.08, 11);
    highpass(s, 7000);
    normalise(s, 0.9f);
    exponentialDecay(s, 0.015);
    fadeOut(s, 0.005);
    return oneShot("hat", makeSample("hat", s));
}

XmInstrument bass() {
    // A loop of 2 whole cycles of a soft saw at 110 Hz (A2), band-limited for the bass range.
    constexpr int kCycles = 2;
    const double hz = 110.0;
    const int frames = int(kCycles * kSynthRate / hz + 0.5);
    Signal s = harmonicLoop(frames, kCycles, sawHarmonics(24), 3000);
    normalise(s, 0.7f);
    XmInstrument ins = oneShot("bass", makeSample("bass", s, kCycles * kSynthRate / frames));
    setLoop(ins.samples[0], 0, uint32_t(frames));
    ins.volumeEnvelope.points = {{0, 64}, {4, 48}, {20, 30}, {40, 0}};
    return ins;
}

// Bass roots per section, in MIDI notes: one a bar, so each part of the show sounds different.
int bassRoot(int order, int bar) {
    static constexpr int kRoots[] = {45, 41, 48, 43}; // A, F, C, G
    return kRoots[(order + bar) % 4] - (order % 2 ? 0 : 12) + 12;
}

} // namespace

XmModule makeProvisionalModule() {
    XmModule m;
    m.name = "halcyver (sketch)";
    m.channels = kChannels;
    m.speed = kSongSpeed;
    m.bpm = kSongBpm;
    m.instruments = {kick(), snare(), hat(), bass()};

    const int orders = showOrderCount();
    for (int order = 0; order < orders; ++order) {
        const int p = m.addPattern(kPatternRows);
        m.orders.push_back(uint8_t(p));
        XmPattern& pattern = m.patterns[size_t(p)];
        auto cell = [&](int row, int channel) -> XmCell& { return pattern.at(row, channel, m.channels); };
        for (int row = 0; row < kPatternRows; row += kRowsPerBeat) {
            cell(row, kKickChannel) = {xmNoteFromMidi(kMidiMiddleC), kKick, 0, 0, 0};
            cell(row + 2, kHatChannel) = {xmNoteFromMidi(kMidiMiddleC), kHat, xmVolume(40), 0, 0};
            if (row % (2 * kRowsPerBeat))
                cell(row, kSnareChannel) = {xmNoteFromMidi(kMidiMiddleC), kSnare, 0, 0, 0};
        }
        for (int bar = 0; bar < kBarsPerPattern; ++bar)
            for (int step = 0; step < kRowsPerBar; step += 2)
                cell(bar * kRowsPerBar + step, kBassChannel) = {
                    xmNoteFromMidi(bassRoot(order, bar) + (step == 6 || step == 14 ? 12 : 0)), kBass, 0, 0,
                    0};
    }
    // Each sync command sits in its own channel so it never competes with a musical effect.
    for (const SyncEvent& e : showSyncSchedule()) {
        XmPattern& pattern = m.patterns[m.orders[size_t(e.order)]];
        pattern.at(e.row, kSyncChannel, m.channels) = {0, 0, 0, kXmEffectSync, e.value};
        // A high blip marks every sync so the timeline can be heard.
        pattern.at(e.row, kBlipChannel, m.channels) = {xmNoteFromMidi(81), kBass, xmVolume(24), 0, 0};
    }
    return m;
}

} // namespace forge
