// An in-memory extended module (XM): what the forge composes and the XM encoder writes out.
// Fields mirror the file format; values are stored as the file holds them, so the encoder
// only validates and packs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace forge {

// Limits of the XM format (and of the trackers that must load our files).
constexpr int kXmMaxChannels = 32;
constexpr int kXmMaxPatterns = 256;
constexpr int kXmMaxOrders = 256;
constexpr int kXmMaxRows = 256;
constexpr int kXmDefaultRows = 64;
constexpr int kXmMaxInstruments = 128;
constexpr int kXmMaxSamplesPerInstrument = 16;
constexpr int kXmMaxEnvelopePoints = 12;
constexpr int kXmEnvelopeMax = 64;
constexpr int kXmNoteCount = 96; // C-0 .. B-7
constexpr int kXmKeyOff = 97;
constexpr int kXmMaxVolume = 64;

// Effect column commands by their letter: 0-9 then A=10 ... Z=35.
constexpr uint8_t xmEffect(char letter) {
    return letter >= '0' && letter <= '9' ? uint8_t(letter - '0') : uint8_t(letter - 'A' + 10);
}
constexpr uint8_t kXmEffectArpeggio = xmEffect('0');
constexpr uint8_t kXmEffectPortaUp = xmEffect('1');
constexpr uint8_t kXmEffectPortaDown = xmEffect('2');
constexpr uint8_t kXmEffectTonePorta = xmEffect('3');
constexpr uint8_t kXmEffectVibrato = xmEffect('4');
constexpr uint8_t kXmEffectVolumeSlide = xmEffect('A');
constexpr uint8_t kXmEffectPositionJump = xmEffect('B');
constexpr uint8_t kXmEffectSetVolume = xmEffect('C');
constexpr uint8_t kXmEffectPatternBreak = xmEffect('D');
constexpr uint8_t kXmEffectExtended = xmEffect('E');
constexpr uint8_t kXmEffectSpeed = xmEffect('F');
constexpr uint8_t kXmEffectGlobalVolume = xmEffect('G');
constexpr uint8_t kXmEffectKeyOff = xmEffect('K');
constexpr uint8_t kXmEffectPanning = xmEffect('8');
// The show's sync command: the parameter is the sync value, the player keeps it silent.
constexpr uint8_t kXmEffectSync = xmEffect('W');
constexpr uint8_t kXmMaxEffect = xmEffect('Z');

// Volume column: 0 = empty, kXmVolumeSet + v (v = 0..64) sets the volume.
constexpr uint8_t kXmVolumeSet = 0x10;
constexpr uint8_t xmVolume(int v) {
    return uint8_t(kXmVolumeSet + (v < 0 ? 0 : v > 64 ? 64 : v));
}

struct XmCell {
    uint8_t note = 0;       // 0 = none, 1..96 = C-0..B-7, 97 = key off
    uint8_t instrument = 0; // 0 = none, else 1-based
    uint8_t volume = 0;     // volume column byte
    uint8_t effect = 0;     // effect command (see xmEffect)
    uint8_t param = 0;      // effect parameter

    bool empty() const { return !note && !instrument && !volume && !effect && !param; }
};

struct XmPattern {
    int rows = kXmDefaultRows;
    std::vector<XmCell> cells; // rows x channels, row-major; resized by XmModule::addPattern

    XmCell& at(int row, int channel, int channels) { return cells[size_t(row) * channels + channel]; }
    const XmCell& at(int row, int channel, int channels) const {
        return cells[size_t(row) * channels + channel];
    }
};

struct XmEnvelopePoint {
    uint16_t frame = 0; // ticks from the note's start, increasing
    uint16_t value = 0; // 0..64
};

struct XmEnvelope {
    std::vector<XmEnvelopePoint> points; // empty = envelope off
    bool sustain = false;
    uint8_t sustainPoint = 0;
    bool loop = false;
    uint8_t loopStart = 0;
    uint8_t loopEnd = 0;
};

enum class XmLoop : uint8_t { none = 0, forward = 1, pingPong = 2 };

struct XmSample {
    std::string name;
    bool sixteenBit = true;
    std::vector<int16_t> frames; // 8-bit samples keep values -128..127 here
    XmLoop loop = XmLoop::none;
    uint32_t loopStart = 0;  // in frames
    uint32_t loopLength = 0; // in frames
    uint8_t volume = kXmMaxVolume;
    int8_t finetune = 0;     // -128..127, 1/128 semitone
    uint8_t panning = 128;   // 0 = left, 255 = right
    int8_t relativeNote = 0; // semitones added to the played note
};

struct XmInstrument {
    std::string name;
    std::vector<XmSample> samples;
    std::vector<uint8_t> noteSamples = std::vector<uint8_t>(kXmNoteCount, 0); // per note: sample index
    XmEnvelope volumeEnvelope;
    XmEnvelope panningEnvelope;
    uint8_t vibratoType = 0, vibratoSweep = 0, vibratoDepth = 0, vibratoRate = 0;
    uint16_t fadeout = 0; // volume fade per tick after key off
};

struct XmModule {
    std::string name;
    std::string trackerName = "halcyon-forge";
    int channels = 8;
    int restartPosition = 0;
    bool linearFrequencies = true;
    int speed = 6; // ticks per row
    int bpm = 125; // tempo
    std::vector<uint8_t> orders;
    std::vector<XmPattern> patterns;
    std::vector<XmInstrument> instruments;

    // Appends an empty pattern of the module's channel count and returns its number.
    int addPattern(int rows = kXmDefaultRows);
};

} // namespace forge
